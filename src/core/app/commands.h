#pragma once

#include "core/shell/document_kind.h"
#include "core/shell/shared_texts.h"

#include <QList>
#include <QString>

#include <cstddef>

namespace lexaloom {

// Every command of the menu bar, the tab buttons and the shortcuts.
enum class CommandId {
    None,
    // File
    Open, Save, SaveAs, OpenExtension, SaveExtension, SaveExtensionAs, ImportProfile, ExportProfile,
    RecentFile, // with an index 0..9
    RecentClear,
    RecentExtension, // with an index 0..9; no action
    RecentExtensionClear,
    Exit,
    // Dictionary Tools
    AffValidate, DictionaryBulkImport, ImportNamesPossessives, GbVariants, GbPrimaryIzeScript,
    ExtractAllTxt, ExtractAllCsv, ExtractCompoundsTxt, ExtractCompoundsLanguageTool, CountWordlist,
    DictionaryDuplicates, WordlistDuplicates, Statistics, SortFlags, SortAffTags, UnPfx, CrunchWords,
    DictionaryFixSpaces, ConvertToUtf8,
    // Thesaurus Tools
    ThesaurusValidate, ThesaurusBulkImport, ExtractSynonymsTxt, ExtractSynonymsBook, ThesaurusCleanSymbols,
    ThesaurusDuplicates, CombineMeanings, DeduplicateMeanings, SortMeanings, SortOnNumbers, PreviewThesaurus,
    ThesaurusFixSpaces,
    // Hyphenation Tools
    HypValidate, HyphenationFixSpaces,
    // Autocorrect Tools
    AcValidate, AutocorrectBulkImport, ExtractAutocorrectsTxt, CleanHexSymbols, AutocorrectDuplicates,
    AutocorrectFixSpaces,
    // AutoText Tools
    AutoTextValidate, AutoTextFixSpaces,
    // LanguageTool Tools
    UncrunchPos, RulesTesting, BulkImportMultiwords, ExtractPosAdded, ExtractPosSpelling, PosSettings,
    RulesStructure, RulesStructureNoLineNumbers,
    // Language/Task-specific Tools
    SortSmallWordlist, SortBotAlphabetically, SortBotByDate, ConvertXmlTags, MissingInMasterWordlist,
    DeleteDuplicatesSmallWordlist,
    // Extension Tools, Prefs, Help
    ExtensionProperties, Preferences, CheckForUpdates, HtmlHelp, AboutToolkit, About,
};

// The buttons of the tabs.
enum class TabAction {
    Add,
    Edit,
    Delete,
    Erase,
    Sort,
    Find,
    Goto,
    Undo,
    Redo,
    // Image buttons under the list.
    ListBottom,
    ListTop,
    // Image buttons under the .aff, hyphenation or XML pane.
    PaneClear,
    PaneBottom,
    PaneTop,
    // Hyphenation tab.
    Hyphenate,
    Update,
    // Under the XML pane of the AutoText and LanguageTool tabs.
    XmlCancel,
    XmlOk,
    XmlEdit,
};

inline constexpr size_t tabActionCount = static_cast<size_t>(TabAction::XmlEdit) + 1;

// What a tab's button is by the tab-controls table.
enum class TabButtonKind {
    Operation, // runs its operation; "Not coded yet." while the operation is not built
    NoAction,  // enabled, does nothing
    AlwaysDisabled,
    Absent, // the tab has no such button
};

TabButtonKind TabButtonKindOf(DocumentKind tab, TabAction action);

// How the dispatcher treats a menu item.
enum class CommandKind {
    Wrapped,      // BeginCommand, the operation, RefreshCommandStates
    Unwrapped,    // manages the main window itself (tool windows, profile, exit, help)
    NotCoded,     // shows "Not coded yet."
    NoAction,     // enabled, does nothing
    AlwaysDisabled,
};

struct MenuItemSpec {
    QString caption; // "\t" separates the shortcut text
    CommandId id = CommandId::None;
    CommandKind kind = CommandKind::Wrapped;
    int index = 0; // for the numbered recent-file items
    QList<MenuItemSpec> submenu; // non-empty for a submenu
    bool separatorBefore = false;
};

struct MenuSpec {
    QString title;
    // Tool menus are enabled only on their own tab; the others always.
    bool hasTab = false;
    DocumentKind tab = DocumentKind::Dictionary;
    QList<MenuItemSpec> items;
};

// The whole menu bar in order. `posLanguage` is the POS language named in the
// LanguageTool extract items, fixed when the menu is built.
QList<MenuSpec> MainMenuBar(const QString &posLanguage);

inline QString NotCodedYetText()
{
    return sharedTexts::notCodedYet;
}

} // namespace lexaloom
