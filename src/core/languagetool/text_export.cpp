#include "core/languagetool/text_export.h"

#include "core/shell/file_dialogs.h"
#include "core/shell/text_codec.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

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
    if (!m_file.open() || !m_file.write(utf8ByteOrderMark)) {
        m_ok = false;
        tellCannotWrite(ui, m_file.path(), m_file.errorString());
        return false;
    }
    return true;
}

void TextExportFile::write(QStringView text)
{
    if (m_ok && !m_file.write(EncodeLossless(text)))
        m_ok = false;
}

bool TextExportFile::commit(Ui &ui)
{
    if (!m_ok || !m_file.commit()) {
        m_ok = false;
        const QString reason = m_file.errorString();
        m_file.discard();
        tellCannotWrite(ui, m_file.path(), reason);
        return false;
    }
    return true;
}

} // namespace lexaloom
