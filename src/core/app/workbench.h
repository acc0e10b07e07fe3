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
#include "core/shell/document_slot.h"
#include "core/shell/find_memory.h"
#include "core/shell/list_document.h"
#include "core/shell/recent_files.h"
#include "core/shell/settings.h"
#include "core/thesaurus/thesaurus_document.h"

#include <QString>

#include <array>
#include <memory>

namespace lexaloom {

// Everything the program holds for its run: one document per kind, the settings
// and the shell's own state. The program owns exactly one; tests make their own.
class Workbench final {
public:
    explicit Workbench(QString programFolder = QString());

    // The folder beside the program, always ending in "/".
    const QString &programFolder() const { return m_programFolder; }
    QString settingsPath(const QString &relative) const { return m_programFolder + relative; }

    // Copies are whole workbenches: the slots of a copy act on its own documents.
    Workbench(const Workbench &other);
    Workbench &operator=(const Workbench &other) = default;
    ~Workbench();

    // The kind's document as File > Open, Save, Recent Files and the counters see it:
    // one slot per kind, in tab order.
    DocumentSlot &slot(DocumentKind kind) { return *m_slots.at(kind); }
    const DocumentSlot &slot(DocumentKind kind) const { return *m_slots.at(kind); }
    // Puts another slot in the kind's place (tests watch the shell through it) and
    // gives the old one back.
    std::unique_ptr<DocumentSlot> replaceSlot(DocumentKind kind, std::unique_ptr<DocumentSlot> slot);

    // The slot's answers, for the kind.
    bool isChanged(DocumentKind kind) const { return slot(kind).isChanged(); }
    bool isEmpty(DocumentKind kind) const { return slot(kind).isEmpty(); }
    bool hasUndoStep(DocumentKind kind) const;
    bool hasRedoStep(DocumentKind kind) const;
    ListDocument *listDocument(DocumentKind kind) { return slot(kind).listDocument(); }
    const ListDocument *listDocument(DocumentKind kind) const { return slot(kind).listDocument(); }
    using PagedListSource = DocumentSlot::PagedListSource;
    PagedListSource pagedListSource(DocumentKind kind) { return slot(kind).pagedListSource(); }
    const QString &documentPath(DocumentKind kind) const { return slot(kind).path(); }
    qint64 entryCount(DocumentKind kind) const { return slot(kind).entryCount(); }

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
    // The slots stay with their workbench: copying one copies the documents, not the
    // slots that point at them.
    class SlotTable final {
    public:
        SlotTable() = default;
        SlotTable(const SlotTable &) {}
        SlotTable &operator=(const SlotTable &) { return *this; }
        std::unique_ptr<DocumentSlot> &operator[](DocumentKind kind) { return m_slots[static_cast<size_t>(kind)]; }
        const std::unique_ptr<DocumentSlot> &at(DocumentKind kind) const { return m_slots[static_cast<size_t>(kind)]; }

    private:
        std::array<std::unique_ptr<DocumentSlot>, documentKindCount> m_slots;
    };

    void makeSlots();

    QString m_programFolder;
    SlotTable m_slots;
};

} // namespace lexaloom
