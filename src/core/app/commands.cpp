#include "core/app/commands.h"

namespace lexaloom {

namespace {

MenuItemSpec item(const char *caption, CommandId id, CommandKind kind = CommandKind::Wrapped)
{
    MenuItemSpec s;
    s.caption = QString::fromUtf8(caption);
    s.id = id;
    s.kind = kind;
    return s;
}

MenuItemSpec submenu(const char *caption, QList<MenuItemSpec> items)
{
    MenuItemSpec s;
    s.caption = QString::fromUtf8(caption);
    s.submenu = std::move(items);
    return s;
}

QList<MenuItemSpec> numberedItems(CommandId id, CommandKind kind, CommandId clearId, CommandKind clearKind)
{
    QList<MenuItemSpec> items;
    for (int n = 1; n <= 10; ++n) {
        MenuItemSpec s;
        s.caption = QString::number(n) + QLatin1Char(':');
        s.id = id;
        s.kind = kind;
        s.index = n - 1;
        items.append(s);
    }
    items.append(item("Clear", clearId, clearKind));
    return items;
}

} // namespace

TabButtonKind TabButtonKindOf(DocumentKind tab, TabAction action)
{
    using A = TabAction;
    using B = TabButtonKind;
    const bool listCommand = action == A::Add || action == A::Edit || action == A::Delete || action == A::Erase ||
                             action == A::Sort || action == A::Find || action == A::Goto;
    const bool undoRedo = action == A::Undo || action == A::Redo;
    const bool listEnds = action == A::ListBottom || action == A::ListTop;
    const bool paneButton = action == A::PaneClear || action == A::PaneBottom || action == A::PaneTop;
    const bool xmlButton = action == A::XmlCancel || action == A::XmlOk || action == A::XmlEdit;
    switch (tab) {
    case DocumentKind::Dictionary:
        return listCommand || undoRedo || listEnds || paneButton ? B::Operation : B::Absent;
    case DocumentKind::Thesaurus:
    case DocumentKind::Autocorrect:
        return listCommand || undoRedo || listEnds ? B::Operation : B::Absent;
    case DocumentKind::Hyphenation:
        if (undoRedo)
            return B::AlwaysDisabled;
        return action == A::Hyphenate || action == A::Update || action == A::Find || action == A::Goto || listEnds ||
                       paneButton
                   ? B::Operation
                   : B::Absent;
    case DocumentKind::AutoText:
    case DocumentKind::LanguageTool:
        // Shown read-only: the list buttons are there but act on nothing, and the
        // XML pane cannot be edited.
        if (listCommand)
            return B::NoAction;
        if (listEnds)
            return tab == DocumentKind::LanguageTool ? B::NoAction : B::AlwaysDisabled;
        if (undoRedo || paneButton || xmlButton)
            return B::AlwaysDisabled;
        return B::Absent;
    }
    return B::Absent;
}

QList<MenuSpec> MainMenuBar(const QString &posLanguage)
{
    using K = CommandKind;
    using C = CommandId;
    QList<MenuSpec> menus;

    menus.append({QStringLiteral("&File"), false, DocumentKind::Dictionary,
                  {item("&Open...\tCtrl+O", C::Open), item("&Save\tCtrl+S", C::Save),
                   item("Save &As...\tShift+Ctrl+S", C::SaveAs),
                   item("Open Extension .xpi/.oxt...", C::OpenExtension, K::Unwrapped),
                   item("Save Extension .xpi/.oxt", C::SaveExtension, K::AlwaysDisabled),
                   item("Save Extension As .xpi/.oxt...", C::SaveExtensionAs, K::AlwaysDisabled),
                   item("Import Profile...", C::ImportProfile, K::Unwrapped),
                   item("Export Profile As...", C::ExportProfile, K::Unwrapped),
                   submenu("Recent Files", numberedItems(C::RecentFile, K::Wrapped, C::RecentClear, K::Unwrapped)),
                   submenu("Recent Extensions .xpi/.oxt",
                           numberedItems(C::RecentExtension, K::NoAction, C::RecentExtensionClear, K::NoAction)),
                   item("&Exit\tCtrl+Q", C::Exit, K::Unwrapped)}});

    menus.append({QStringLiteral("&Dictionary Tools"), true, DocumentKind::Dictionary,
                  {item("AFF Validate", C::AffValidate),
                   item("Bulk Import", C::DictionaryBulkImport, K::Unwrapped),
                   item("Import places/people names adding possessives", C::ImportNamesPossessives, K::Unwrapped),
                   item("GB to AU/CA/NZ/ZA: -ize/-ise (Orvel - GB)", C::GbVariants, K::Unwrapped),
                   item("GB primary to -ize/-ise script (Orvel - GB)", C::GbPrimaryIzeScript, K::NotCoded),
                   submenu("Extract wordlist",
                           {item("All .txt", C::ExtractAllTxt), item("All .csv", C::ExtractAllCsv),
                            item("Compounds .txt", C::ExtractCompoundsTxt),
                            item("Compounds .txt (LanguageTool)", C::ExtractCompoundsLanguageTool)}),
                   item("Count wordlist", C::CountWordlist),
                   item("Show/Merge/Delete duplicates .DIC", C::DictionaryDuplicates, K::Unwrapped),
                   item("Show/Delete duplicates wordlist", C::WordlistDuplicates),
                   item("Statistics", C::Statistics),
                   item("Sort flags && remove their duplicates .DIC", C::SortFlags),
                   item("Sort tags .AFF", C::SortAffTags),
                   item("UnPFX .DIC", C::UnPfx, K::NotCoded),
                   item("Crunch words with flags (Orvel - GB)", C::CrunchWords, K::Unwrapped),
                   item("Fix invalid spaces", C::DictionaryFixSpaces),
                   item("Convert to UTF-8", C::ConvertToUtf8)}});

    menus.append({QStringLiteral("&Thesaurus Tools"), true, DocumentKind::Thesaurus,
                  {item("Thesaurus Validate", C::ThesaurusValidate, K::NotCoded),
                   item("Bulk Import", C::ThesaurusBulkImport, K::Unwrapped),
                   submenu("Extract synonyms",
                           {item("All .txt", C::ExtractSynonymsTxt), item("All .txt (Book)", C::ExtractSynonymsBook)}),
                   item("Clean up symbols", C::ThesaurusCleanSymbols, K::Unwrapped),
                   item("Show/Merge duplicates", C::ThesaurusDuplicates, K::Unwrapped),
                   submenu("Combine/Sort/Deduplicate simple meanings",
                           {item("Combine (one item per line)", C::CombineMeanings, K::Unwrapped),
                            item("Deduplicate (one item per line)", C::DeduplicateMeanings, K::Unwrapped),
                            item("Sort (one item per line)", C::SortMeanings, K::Unwrapped)}),
                   item("Sort on numbers", C::SortOnNumbers),
                   item("Preview Thesaurus", C::PreviewThesaurus, K::NotCoded),
                   item("Fix invalid spaces", C::ThesaurusFixSpaces)}});

    menus.append({QStringLiteral("&Hyphenation Tools"), true, DocumentKind::Hyphenation,
                  {item("HYP Validate", C::HypValidate, K::NotCoded),
                   item("Fix invalid spaces", C::HyphenationFixSpaces, K::NotCoded)}});

    menus.append({QStringLiteral("&Autocorrect Tools"), true, DocumentKind::Autocorrect,
                  {item("AC Validate", C::AcValidate),
                   item("Bulk Import", C::AutocorrectBulkImport, K::Unwrapped),
                   submenu("Extract Autocorrects", {item("All .txt", C::ExtractAutocorrectsTxt)}),
                   item("Clean up hex symbols (Hex to Emoji)", C::CleanHexSymbols, K::Unwrapped),
                   item("Show/Delete/XDelete duplicates", C::AutocorrectDuplicates, K::Unwrapped),
                   item("Fix invalid spaces", C::AutocorrectFixSpaces)}});

    menus.append({QStringLiteral("&AutoText Tools"), true, DocumentKind::AutoText,
                  {item("AutoText Validate", C::AutoTextValidate, K::NotCoded),
                   item("Fix invalid spaces", C::AutoTextFixSpaces, K::NotCoded)}});

    MenuItemSpec posAdded = item("", C::ExtractPosAdded);
    posAdded.caption = QStringLiteral("POS added.txt (") + posLanguage + QLatin1Char(')');
    MenuItemSpec posSpelling = item("", C::ExtractPosSpelling);
    posSpelling.caption = QStringLiteral("POS spelling.txt (") + posLanguage + QLatin1Char(')');
    menus.append({QStringLiteral("&LanguageTool Tools"), true, DocumentKind::LanguageTool,
                  {item("(Un)Crunch POS", C::UncrunchPos, K::NotCoded),
                   item("Wikipedia/Tatoeba rules testing", C::RulesTesting, K::NotCoded),
                   item("Bulk Import Multiwords", C::BulkImportMultiwords, K::Unwrapped),
                   submenu("Extract", {posAdded, posSpelling}),
                   item("POS settings", C::PosSettings, K::Unwrapped),
                   item("Rules Structure .txt", C::RulesStructure),
                   item("Rules Structure .txt (no line numbers)", C::RulesStructureNoLineNumbers)}});

    menus.append({QStringLiteral("&Language/Task-specific Tools"), false, DocumentKind::Dictionary,
                  {item("Sort small wordlist (very slow)", C::SortSmallWordlist, K::Unwrapped),
                   submenu("Sort bot Eggdrop (very slow)",
                           {item("Sort alphabetically", C::SortBotAlphabetically, K::NoAction),
                            item("Sort by date", C::SortBotByDate, K::NoAction)}),
                   item("Convert XML tags to accents wordlist (very slow)", C::ConvertXmlTags, K::Unwrapped),
                   item("Words missing in Master Wordlist", C::MissingInMasterWordlist, K::Unwrapped),
                   item("Delete Duplicates small wordlist (very slow)", C::DeleteDuplicatesSmallWordlist,
                        K::Unwrapped)}});

    menus.append({QStringLiteral("&Extension Tools"), false, DocumentKind::Dictionary,
                  {item(".xpi/.oxt Properties", C::ExtensionProperties, K::NotCoded)}});

    menus.append({QStringLiteral("&Prefs"), false, DocumentKind::Dictionary,
                  {item("Preferences", C::Preferences, K::Unwrapped)}});

    menus.append({QStringLiteral("&Help"), false, DocumentKind::Dictionary,
                  {item("Check for Updates", C::CheckForUpdates, K::Unwrapped),
                   item("HTML Help\tF1", C::HtmlHelp, K::Unwrapped),
                   item("About Qt", C::AboutToolkit, K::Unwrapped),
                   item("About", C::About, K::Unwrapped)}});
    return menus;
}

} // namespace lexaloom
