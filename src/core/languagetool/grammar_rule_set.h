#pragma once

#include "shell/entry_store.h"

#include <QString>

namespace lexaloom {

// grammar.xml, read only: one entry per chunk of the outline.
struct GrammarRuleSet {
    EntryStore chunks;
    QString path;
};

} // namespace lexaloom
