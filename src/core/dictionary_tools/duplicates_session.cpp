#include "dictionary_tools/duplicates_session.h"

#include "dictionary/affix_table.h"
#include "dictionary/dictionary_document.h"
#include "shell/long_task.h"
#include "shell/manual_url.h"

namespace lexaloom {

DuplicatesSession::DuplicatesSession(DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings,
                                     DuplicateOptions &options, Ui &ui, DuplicatesHost *host, bool alreadyRecorded,
                                     qint64 scrollPosition)
    : m_dictionary(dictionary)
    , m_table(table)
    , m_settings(settings)
    , m_options(options)
    , m_ui(ui)
    , m_host(host)
    , m_scrollPosition(scrollPosition)
    , m_undoRecorded(alreadyRecorded)
    , m_log(introductionText())
{
}

QString DuplicatesSession::windowTitle()
{
    return QStringLiteral("Show/Merge/Delete duplicates .DIC");
}

QString DuplicatesSession::introductionText()
{
    return QStringLiteral("Show/Merge/Delete duplicates in .dic V2.6 - 2023-05-06\n"
                          "=========================================\n"
                          "This option will remove duplicates by\n"
                          "merging flags and deleting repeated words.\n"
                          "\n");
}

QString DuplicatesSession::manualAnchor()
{
    return manualAnchors::showDuplicates;
}

bool DuplicatesSession::prepare(const DictionaryDocument &dictionary, AffixTable &table, Ui &ui)
{
    if (dictionary.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), QStringLiteral("No dictionary words found."), MessageIcon::Warning);
        return false;
    }
    BuildAffixTable(table, dictionary.affText);
    return true;
}

} // namespace lexaloom
