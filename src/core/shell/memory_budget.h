#pragma once

#include <QtGlobal>

namespace lexaloom {

// The bytes one run of a tool or a reader may hold for what it builds: half the
// physical memory, and no more than half of what the process may map (its
// address-space and data limits); 4 GB when neither is known. Tools that would build
// more than this stop with a message instead of failing an allocation.
qint64 MemoryBudget();

// `requested` when it is positive (a test's small budget), else MemoryBudget().
qint64 MemoryBudgetOr(qint64 requested);

} // namespace lexaloom
