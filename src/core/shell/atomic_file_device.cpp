#include "core/shell/atomic_file_device.h"

#include "core/shell/atomic_write.h"

namespace lexaloom {

AtomicFileDevice::AtomicFileDevice(AtomicFileWriter &file)
    : m_file(file)
{
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 AtomicFileDevice::writeData(const char *data, qint64 size)
{
    if (m_file.write(QByteArrayView(data, size)))
        return size;
    setErrorString(m_file.errorString());
    return -1;
}

} // namespace lexaloom
