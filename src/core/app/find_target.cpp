#include "core/app/find_target.h"

#include "core/app/workbench.h"

namespace lexaloom {

std::optional<FindTarget> FindTargetFor(Workbench &workbench, DocumentKind kind)
{
    const DocumentKindFacts &facts = KindFacts(kind);
    if (!facts.pagedList)
        return std::nullopt;
    const Workbench::PagedListSource list = workbench.pagedListSource(kind);
    return FindTarget{kind,           list.entries,    list.selectedIndex, facts.layout,
                      facts.findNoun, facts.findTitle, facts.gotoNoun,     facts.findOffersEditDelete};
}

} // namespace lexaloom
