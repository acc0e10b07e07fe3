#include "core/shell/memory_budget.h"

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace lexaloom {

qint64 MemoryBudget()
{
    qint64 budget = 0;
#ifdef Q_OS_UNIX
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        budget = qint64(pages) * qint64(pageSize) / 2;
    for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        struct rlimit limit {};
        if (getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
            const qint64 half = qint64(limit.rlim_cur / 2);
            budget = budget > 0 ? std::min(budget, half) : half;
        }
    }
#endif
    return budget > 0 ? budget : qint64(4) << 30;
}

qint64 MemoryBudgetOr(qint64 requested)
{
    return requested > 0 ? requested : MemoryBudget();
}

} // namespace lexaloom
