#include "core/shell/prefs_store.h"

#include "core/shell/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>

#include "core/shell/app_identity.h"
#include "core/shell/atomic_write.h"
#include "core/shell/settings.h"

namespace lexaloom {

PrefsWriter::PrefsWriter()
{
    writeLine(identity::settingsVersion);
}

void PrefsWriter::writeLine(const QString &text)
{
    QString clean = text;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_bytes.append(clean.toUtf8());
    m_bytes.append('\n');
}

void PrefsWriter::writeLong(qint32 value)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    m_bytes.append(buffer, sizeof buffer);
}

void PrefsWriter::writeQuad(qint64 value)
{
    char buffer[8];
    qToLittleEndian(value, buffer);
    m_bytes.append(buffer, sizeof buffer);
}

void PrefsWriter::writeByte(qint8 value)
{
    m_bytes.append(static_cast<char>(value));
}

PrefsReader::PrefsReader(QByteArray data)
    : m_data(std::move(data))
{
}

bool PrefsReader::readVersion()
{
    // Compared as bytes: a byte-order mark or another encoding is another version.
    return readLineBytes() == identity::settingsVersion.toUtf8();
}

QString PrefsReader::readLine()
{
    return QString::fromUtf8(readLineBytes());
}

QByteArray PrefsReader::readLineBytes()
{
    const qsizetype start = m_position;
    while (m_position < m_data.size() && m_data[m_position] != '\n' && m_data[m_position] != '\r')
        ++m_position;
    const QByteArray line = m_data.mid(start, m_position - start);
    if (m_position < m_data.size()) {
        if (m_data[m_position] == '\r' && m_position + 1 < m_data.size() && m_data[m_position + 1] == '\n')
            ++m_position;
        ++m_position;
    }
    return line;
}

QByteArray PrefsReader::takeBytes(qsizetype count)
{
    if (m_data.size() - m_position < count) {
        m_position = m_data.size();
        return {};
    }
    const QByteArray bytes = m_data.mid(m_position, count);
    m_position += count;
    return bytes;
}

qint32 PrefsReader::readLong()
{
    const QByteArray bytes = takeBytes(4);
    return bytes.isEmpty() ? 0 : qFromLittleEndian<qint32>(bytes.constData());
}

qint64 PrefsReader::readQuad()
{
    const QByteArray bytes = takeBytes(8);
    return bytes.isEmpty() ? 0 : qFromLittleEndian<qint64>(bytes.constData());
}

qint8 PrefsReader::readByte()
{
    const QByteArray bytes = takeBytes(1);
    return bytes.isEmpty() ? 0 : static_cast<qint8>(bytes[0]);
}

QByteArray EncodeMainSettings(const MainSettings &s)
{
    PrefsWriter w;
    w.writeLine(s.windowSize);
    w.writeLine(s.desktopSize);
    w.writeLine(s.maxWindowSize);
    w.writeLong(s.listPageRows);
    w.writeLong(s.rowPixelsPlus);
    w.writeLong(s.minLinesBetweenRules);
    w.writeLine(s.affAidLanguage);
    w.writeLine(s.thousandsSeparator);
    w.writeLong(s.colourPrimary);
    w.writeLong(s.colourSuffix);
    w.writeLong(s.colourPrefix);
    w.writeLong(s.colourBoth);
    w.writeLine(s.updateFrequency);
    w.writeQuad(s.lastUpdateCheck);
    w.writeLong(s.decodeWarnLimit);
    w.writeLine(s.listFontName);
    w.writeLine(s.listFontSize);
    w.writeLong(s.autocorrectLeftSpaces);
    w.writeLong(s.reserved);
    return w.bytes();
}

bool DecodeMainSettings(const QByteArray &data, MainSettings &settings)
{
    PrefsReader r(data);
    if (!r.readVersion())
        return false;
    MainSettings s;
    s.windowSize = r.readLine();
    s.desktopSize = r.readLine();
    s.maxWindowSize = r.readLine();
    s.listPageRows = r.readLong();
    s.rowPixelsPlus = r.readLong();
    s.minLinesBetweenRules = r.readLong();
    s.affAidLanguage = r.readLine();
    s.thousandsSeparator = r.readLine();
    s.colourPrimary = r.readLong();
    s.colourSuffix = r.readLong();
    s.colourPrefix = r.readLong();
    s.colourBoth = r.readLong();
    s.updateFrequency = r.readLine();
    s.lastUpdateCheck = r.readQuad();
    s.decodeWarnLimit = r.readLong();
    s.listFontName = r.readLine();
    s.listFontSize = r.readLine();
    s.autocorrectLeftSpaces = r.readLong();
    s.reserved = r.readLong();
    s.normalise();
    settings = s;
    return true;
}

bool EnsureSettingsFolder(const QString &programFolder)
{
    return QDir().mkpath(programFolder + settingsFiles::folder);
}

SettingsFile ReadSettingsFile(const QString &programFolder, const QString &relativePath)
{
    SettingsFile result;
    const QString path = programFolder + relativePath;
    // A settings save cut off at its last step is finished; nobody is asked at start-up.
    FinishInterruptedSaveQuietly(path);
    const QFileInfo info(path);
    if (!info.isFile())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    // Read what the file holds, up to the cap: asking for the cap itself makes Qt
    // allocate all of it for every small file.
    const qint64 size = file.size();
    result.data = size > 0 ? file.read(std::min<qint64>(size, maxSettingsFileBytes)) : QByteArray();
    result.state = result.data.isEmpty() ? SettingsFile::Empty : SettingsFile::Present;
    return result;
}

bool WriteSettingsFile(const QString &programFolder, const QString &relativePath, const QByteArray &bytes)
{
    if (!EnsureSettingsFolder(programFolder))
        return false;
    return WriteFileAtomically(programFolder + relativePath, bytes);
}

bool RemoveSettingsFile(const QString &programFolder, const QString &relativePath)
{
    const QString path = programFolder + relativePath;
    return !QFileInfo::exists(path) || QFile::remove(path);
}

} // namespace lexaloom
