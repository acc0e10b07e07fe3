#include "shell/command_wiring.h"

#include "app/workbench.h"
#include "dictionary/dictionary_editing_wiring.h"
#include "dictionary/wordlist_extraction_wiring.h"
#include "shell/document_wiring.h"
#include "shell/main_window.h"

namespace lexaloom {

namespace {

// ---- Stubs: empty operations until their features are wired in -------------------

void stubLoadDocument(DocumentKind, const QString &)
{
}
void stubSaveDocument(DocumentKind, bool, bool)
{
}
void stubMenuOperation(CommandId, int)
{
}
void stubTabOperation(DocumentKind, TabAction)
{
}

// Menu commands whose features live elsewhere (Open, Save and Save As go through the
// load and save stubs; Exit, HTML Help and About Qt are the window's own).
constexpr CommandId stubbedMenuCommands[] = {
    // File
    CommandId::OpenExtension,
    // Dictionary Tools
    CommandId::DictionaryBulkImport,
    CommandId::ImportNamesPossessives,
    CommandId::GbVariants,
    CommandId::DictionaryDuplicates,
    CommandId::WordlistDuplicates,
    CommandId::Statistics,
    CommandId::SortFlags,
    CommandId::SortAffTags,
    CommandId::CrunchWords,
    CommandId::DictionaryFixSpaces,
    // Thesaurus Tools
    CommandId::ThesaurusBulkImport,
    CommandId::ExtractSynonymsTxt,
    CommandId::ExtractSynonymsBook,
    CommandId::ThesaurusCleanSymbols,
    CommandId::ThesaurusDuplicates,
    CommandId::CombineMeanings,
    CommandId::DeduplicateMeanings,
    CommandId::SortMeanings,
    CommandId::SortOnNumbers,
    CommandId::ThesaurusFixSpaces,
    // Autocorrect Tools
    CommandId::AcValidate,
    CommandId::AutocorrectBulkImport,
    CommandId::ExtractAutocorrectsTxt,
    CommandId::CleanHexSymbols,
    CommandId::AutocorrectDuplicates,
    CommandId::AutocorrectFixSpaces,
    // LanguageTool Tools
    CommandId::BulkImportMultiwords,
    CommandId::ExtractPosAdded,
    CommandId::ExtractPosSpelling,
    CommandId::PosSettings,
    CommandId::RulesStructure,
    CommandId::RulesStructureNoLineNumbers,
    // Language/Task-specific Tools
    CommandId::SortSmallWordlist,
    CommandId::ConvertXmlTags,
    CommandId::MissingInMasterWordlist,
    CommandId::DeleteDuplicatesSmallWordlist,
    // Prefs, Help
    CommandId::Preferences,
    CommandId::CheckForUpdates,
    CommandId::About,
};

// The buttons of the tabs, all stubbed for now (the read-only tabs' list buttons
// have no action by design and are not listed).
constexpr TabAction listButtons[] = {TabAction::Add,  TabAction::Edit,       TabAction::Delete, TabAction::Erase,
                                     TabAction::Sort, TabAction::Find,       TabAction::Goto,   TabAction::Undo,
                                     TabAction::Redo, TabAction::ListBottom, TabAction::ListTop};
constexpr TabAction paneButtons[] = {TabAction::PaneClear, TabAction::PaneBottom, TabAction::PaneTop};

} // namespace

void WireCommands(MainWindow &window, Workbench &workbench, Ui &ui)
{
    CommandDispatcher &d = window.dispatcher();
    for (DocumentKind kind : allDocumentKinds) {
        d.setLoadOperation(kind, [kind](const QString &path) { stubLoadDocument(kind, path); });
        d.setSaveOperation(kind, [kind](bool current, bool ask) { stubSaveDocument(kind, current, ask); });
    }
    for (CommandId id : stubbedMenuCommands)
        d.setOperation(id, [id](int index) { stubMenuOperation(id, index); });

    const auto stubTab = [&d](DocumentKind kind, TabAction action) {
        d.setTabOperation(kind, action, [kind, action] { stubTabOperation(kind, action); });
    };
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Autocorrect}) {
        for (TabAction action : listButtons)
            stubTab(kind, action);
    }
    for (TabAction action : paneButtons) {
        stubTab(DocumentKind::Dictionary, action); // the .aff pane
        stubTab(DocumentKind::Hyphenation, action);
    }
    for (TabAction action : {TabAction::Hyphenate, TabAction::Update, TabAction::Find, TabAction::Goto,
                             TabAction::ListBottom, TabAction::ListTop})
        stubTab(DocumentKind::Hyphenation, action);

    WireDocumentCommands(window, workbench, ui);
    WireWordlistExtraction(window, workbench, ui);
    WireDictionaryEditing(window, workbench, ui);
}

} // namespace lexaloom
