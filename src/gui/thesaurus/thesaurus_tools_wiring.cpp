#include "gui/thesaurus/thesaurus_tools_wiring.h"

#include <memory>

#include "core/app/workbench.h"
#include "core/thesaurus/thesaurus_tools.h"
#include "gui/shell/main_window.h"
#include "gui/shell/paged_list_view.h"
#include "gui/thesaurus/thesaurus_tool_windows.h"

namespace lexaloom {

void WireThesaurusTools(MainWindow &window, Workbench &workbench, Ui &ui)
{
    constexpr DocumentKind kind = DocumentKind::Thesaurus;
    CommandDispatcher &d = window.dispatcher();
    // Looked up at each use: a layout rebuild replaces the list.
    const auto list = [&window] { return window.pagedList(kind); };
    ThesaurusDocument &doc = workbench.thesaurus;

    // `scroll`: where the list goes afterwards; nothing keeps its place.
    const auto redraw = [&window, list](std::optional<qint64> scroll = std::nullopt) {
        if (scroll)
            list()->setScrollPosition(*scroll);
        window.refreshListPage(kind);
        window.refreshFileInfo(kind);
    };
    // The menu items that manage the main window themselves still disable it meanwhile.
    const auto asCommand = [&d](const std::function<void()> &work) {
        d.beginCommand();
        work();
        d.refreshCommandStates();
    };

    d.setOperation(CommandId::ExtractSynonymsTxt,
                   [&doc, &workbench, &ui](int) { ExtractSynonyms(doc, workbench.settings, ui, false); });
    d.setOperation(CommandId::ExtractSynonymsBook,
                   [&doc, &workbench, &ui](int) { ExtractSynonyms(doc, workbench.settings, ui, true); });

    // The ticks last from one use to the next while the program runs.
    auto remembered = std::make_shared<CleanUpOptions>();
    d.setOperation(
        CommandId::ThesaurusCleanSymbols, [&window, &doc, &workbench, &ui, redraw, asCommand, remembered](int) {
            asCommand([&] {
                const CleanUpResult result =
                    CleanUpSymbols(doc, workbench.settings, ui, *remembered, [&](const CleanUpOptions &current) {
                        return AskCleanUpOptionsWindow(ui, current, workbench.programFolder(), &window);
                    });
                if (result.nullEntry >= 0)
                    redraw(result.nullEntry);
                else if (result.changed)
                    redraw();
            });
        });

    d.setOperation(CommandId::ThesaurusDuplicates, [&window, &doc, &workbench, &ui, redraw, asCommand](int) {
        asCommand([&] {
            // Display and the double click focus an entry of the list behind the window.
            struct ListHost final : ThesaurusDuplicatesHost {
                std::function<void(qint64)> show;
                void showEntry(qint64 index) override { show(index); }
            } host;
            host.show = [&doc, redraw](qint64 index) {
                doc.selectedIndex = index;
                redraw(index);
            };
            ThesaurusDuplicatesSession session(doc, workbench.settings, ui, host);
            if (!session.start())
                return;
            ThesaurusDuplicatesWindow duplicates(session, ui, workbench.programFolder(), &window);
            duplicates.exec();
            if (duplicates.merged())
                redraw(0);
        });
    });

    d.setOperation(CommandId::CombineMeanings, [&doc, &workbench, &ui, redraw, asCommand](int) {
        asCommand([&] {
            if (CombineSimple(doc, workbench.settings, ui))
                redraw(0);
        });
    });
    for (const auto &[id, sort] :
         {std::pair{CommandId::DeduplicateMeanings, false}, std::pair{CommandId::SortMeanings, true}}) {
        d.setOperation(id, [&doc, &workbench, &ui, redraw, asCommand, sort = sort](int) {
            asCommand([&] {
                SortOrDeduplicateMeanings(doc, workbench.settings, ui, sort);
                redraw(); // an abort keeps what changed so far
            });
        });
    }
    d.setOperation(CommandId::SortOnNumbers, [&doc, &workbench, &ui, redraw](int) {
        if (SortOnNumbers(doc, workbench.settings, ui))
            redraw(0);
    });
    d.setOperation(CommandId::ThesaurusFixSpaces, [&doc, &workbench, &ui, redraw](int) {
        FixThesaurusSpaces(doc, workbench.settings, ui);
        redraw();
    });
}

} // namespace lexaloom
