#pragma once

#include <QString>

#include <array>

namespace lexaloom {

// The six resource kinds in tab order.
enum class DocumentKind { Dictionary = 0, Thesaurus, Hyphenation, Autocorrect, AutoText, LanguageTool };

inline constexpr int documentKindCount = 6;

inline constexpr std::array<DocumentKind, documentKindCount> allDocumentKinds{
    DocumentKind::Dictionary,  DocumentKind::Thesaurus, DocumentKind::Hyphenation,
    DocumentKind::Autocorrect, DocumentKind::AutoText,  DocumentKind::LanguageTool};

// How the fields of an entry are laid out; it decides what Find searches and how the
// list colours its columns.
enum class EntryLayout {
    WordAndTags,         // "word/flags\ntags": the tags are the extra information
    HeadAndMeanings,     // "head|n\nmeaning 1\n...": the n meaning lines are
    IncorrectAndCorrect, // "incorrect\ncorrect": the correct part is
};

// What sets the kinds apart where the shell treats them alike.
struct DocumentKindFacts {
    QString name{};           // "Dictionary", as the changed-files question lists it
    QString tabCaption{};     // "Dictionary (*.dic + *.aff)"
    QString counterCaption{}; // "# Words:"
    // File-dialog filters; empty where the kind is not opened or saved that way.
    QString openFilter{};
    QString saveFilter{};
    // Shown only: no changed flag, nothing to save, no undo.
    bool readOnly = false;
    // The tab shows the entries in a paged list with ticks, Find and Go to. The
    // Hyphenation tab's list shows the dictionary's entries.
    bool pagedList = false;
    EntryLayout layout = EntryLayout::WordAndTags;
    QString findNoun{};  // "No " + findNoun + " found."
    QString findTitle{}; // the Find window's title
    QString gotoNoun{};  // the Go to title's and empty message's noun
    // Find's result pop-up ("Edit", "Delete") and the Delete key.
    bool findOffersEditDelete = false;
};

const DocumentKindFacts &KindFacts(DocumentKind kind);

} // namespace lexaloom
