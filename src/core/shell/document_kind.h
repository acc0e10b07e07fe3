#pragma once

#include <array>

namespace lexaloom {

// The six resource kinds in tab order.
enum class DocumentKind { Dictionary = 0, Thesaurus, Hyphenation, Autocorrect, AutoText, LanguageTool };

inline constexpr int documentKindCount = 6;

inline constexpr std::array<DocumentKind, documentKindCount> allDocumentKinds{
    DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Hyphenation,
    DocumentKind::Autocorrect, DocumentKind::AutoText, DocumentKind::LanguageTool};

} // namespace lexaloom
