#pragma once

#include <optional>

#include "core/shell/document_kind.h"
#include "core/shell/find.h"

namespace lexaloom {

class Workbench;

// The list a Find or Go to works on for a tab: the Dictionary, Hyphenation,
// Thesaurus and Autocorrect tabs; nothing for the others.
std::optional<FindTarget> FindTargetFor(Workbench &workbench, DocumentKind kind);

} // namespace lexaloom
