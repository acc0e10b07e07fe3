#pragma once

#include "core/app/startup.h"
#include "core/app/window_settings.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary_tools/crunch.h"
#include "core/dictionary_tools/possessive_names.h"
#include "core/dictionary_tools/regional_variants.h"
#include "core/hyphenation/hyphenation_document.h"
#include "core/languagetool/grammar_rule_set.h"
#include "core/shell/document_kind.h"
#include "core/shell/find_memory.h"
#include "core/shell/list_document.h"
#include "core/shell/recent_files.h"
#include "core/shell/settings.h"
#include "core/thesaurus/thesaurus_document.h"

#include <QString>

namespace lexaloom {

// Everything the program holds for its run: one document per kind, the settings
// and the shell's own state. The program owns exactly one; tests make their own.
class Workbench final {
public:
    explicit Workbench(QString programFolder = QString());

    // The folder beside the program, always ending in "/".
    const QString &programFolder() const { return m_programFolder; }
    QString settingsPath(const QString &relative) const { return m_programFolder + relative; }

    // True when the kind carries a changed flag and it is set.
    bool isChanged(DocumentKind kind) const;
    // What File > Save would have nothing to write from.
    bool isEmpty(DocumentKind kind) const;
    bool hasUndoStep(DocumentKind kind) const;
    bool hasRedoStep(DocumentKind kind) const;

    // The editable list document of the kind; null for the kinds without one.
    ListDocument *listDocument(DocumentKind kind);
    const ListDocument *listDocument(DocumentKind kind) const;
    // The entries a kind's paged list shows and the focus within them: the Hyphenation
    // tab lists the dictionary's entries with a focus of its own. Both null for the
    // kinds without a paged list.
    struct PagedListSource {
        EntryStore *entries = nullptr;
        qint64 *selectedIndex = nullptr;
    };
    PagedListSource pagedListSource(DocumentKind kind);
    // The file the kind's document was loaded from or saved to; empty before that.
    const QString &documentPath(DocumentKind kind) const;
    // What the kind's counter counts.
    qint64 entryCount(DocumentKind kind) const;

    MainSettings settings;
    WindowSettings windowSettings;
    // True once the main settings file was loaded or the Preferences window's "OK" applied
    // its values; until then the Preferences window proposes first-start defaults.
    bool mainSettingsInForce = false;
    DocumentKind currentTab = DocumentKind::Dictionary;
    bool quitRequested = false;
    FindMemory findMemory;

    DictionaryDocument dictionary;
    // Decoded from dictionary.affText on demand; BuildAffixTable skips unchanged text.
    AffixTable affixTable;
    ThesaurusDocument thesaurus;
    HyphenationDocument hyphenation;
    AutocorrectList autocorrect;
    AutoTextList autotext;
    GrammarRuleSet grammar;

    RecentFiles recentFiles;
    // Flag legends found at start-up, sorted ignoring case.
    QList<AffAidEntry> affAidEntries;
    // "Possessives:" and "Remove:" of the possessive-names window, kept while the program runs.
    PossessiveSettings possessives;
    // "settings/gb_specific.txt" as read at start-up.
    QString gbSpecificText;
    // The regional-variants window's -ize/-ise exceptions and converted lists.
    RegionalMemory regional;
    // The crunch window's rule states and match level.
    CrunchChoices crunch;

private:
    QString m_programFolder;
};

} // namespace lexaloom
