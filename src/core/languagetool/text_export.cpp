#include "languagetool/text_export.h"

#include "shell/file_dialogs.h"
#include "shell/ui.h"

namespace lexaloom {

namespace {

constexpr qsizetype flushSize = 1 << 16;

void tellCannotWrite(Ui &ui, const QString &path, const QString &reason)
{
    ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, reason), MessageIcon::Error);
}

} // namespace

TextExportFile::TextExportFile(const QString &path)
    : m_file(path)
{
}

bool TextExportFile::open(Ui &ui)
{
    if (!m_file.open(QIODevice::WriteOnly)) {
        m_ok = false;
        tellCannotWrite(ui, m_file.fileName(), m_file.errorString());
        return false;
    }
    m_buffer.append("\xEF\xBB\xBF");
    return true;
}

void TextExportFile::write(QStringView text)
{
    if (!m_ok)
        return;
    m_buffer.append(text.toUtf8());
    if (m_buffer.size() >= flushSize)
        flush();
}

bool TextExportFile::flush()
{
    if (!m_ok || m_buffer.isEmpty())
        return m_ok;
    if (m_file.write(m_buffer) != m_buffer.size()) {
        m_ok = false;
        return false;
    }
    m_flushed += m_buffer.size();
    m_buffer.clear();
    return true;
}

bool TextExportFile::commit(Ui &ui)
{
    flush();
    if (!m_ok) {
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        tellCannotWrite(ui, m_file.fileName(), reason);
        return false;
    }
    if (!m_file.commit()) {
        m_ok = false;
        tellCannotWrite(ui, m_file.fileName(), m_file.errorString());
        return false;
    }
    return true;
}

} // namespace lexaloom
