#include "core/autocorrect/autocorrect_editing.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/format.h"
#include "core/shell/list_document.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_folding.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

const ListEntryTexts pairTexts{autocorrectTexts::noWords, autocorrectTexts::noSelection,
                               pairEditorTexts::deleteQuestion};

bool isEmptyOrSpace(const QString &text)
{
    return text.isEmpty() || text == QLatin1String(" ");
}

} // namespace

PairTexts SplitPair(QStringView entry)
{
    const qsizetype lf = entry.indexOf(u'\n');
    if (lf < 0)
        return {entry.toString(), QString()};
    QStringView correct = entry.sliced(lf + 1);
    if (const qsizetype next = correct.indexOf(u'\n'); next >= 0)
        correct = correct.first(next);
    return {entry.first(lf).toString(), correct.toString()};
}

PairEditorModel::PairEditorModel(Ui &ui, PairEditorMode mode, PairTexts initial)
    : m_ui(ui)
    , m_mode(mode)
    , m_initial(initial)
    , m_texts(std::move(initial))
{
}

QString PairEditorModel::title() const
{
    return m_mode == PairEditorMode::Add ? pairEditorTexts::addTitle : pairEditorTexts::editTitle;
}

void PairEditorModel::toggle()
{
    std::swap(m_texts.incorrect, m_texts.correct);
}

bool PairEditorModel::hasInvalidSpaces(QStringView text)
{
    return !text.isEmpty() && (text.startsWith(u' ') || text.endsWith(u' ') || text.contains(QLatin1String("  ")));
}

std::optional<PairEditorModel::Field> PairEditorModel::accept()
{
    const auto refuse = [this](const QString &message, Field field) {
        m_ui.showMessage(LongTask::warningTitle(), message, MessageIcon::Warning);
        return std::optional(field);
    };
    if (isEmptyOrSpace(m_texts.incorrect))
        return refuse(pairEditorTexts::noIncorrect, Field::Incorrect);
    if (hasInvalidSpaces(m_texts.incorrect))
        return refuse(pairEditorTexts::incorrectSpaces, Field::Incorrect);
    if (isEmptyOrSpace(m_texts.correct))
        return refuse(pairEditorTexts::noCorrect, Field::Correct);
    if (hasInvalidSpaces(m_texts.correct))
        return refuse(pairEditorTexts::correctSpaces, Field::Correct);
    if (m_texts.incorrect == m_texts.correct)
        return refuse(pairEditorTexts::sameWords, Field::Incorrect);
    return std::nullopt;
}

bool OpenPairEditor(AutocorrectList &list, Ui &ui, PairEditorMode mode, const OpenPairWindow &openWindow)
{
    PairTexts initial;
    if (mode == PairEditorMode::Edit) {
        if (!CheckListSelection(list, ui, pairTexts))
            return false;
        initial = SplitPair(list.entries.view(list.selectedIndex));
    }
    const std::optional<PairTexts> chosen = openWindow(mode, initial);
    if (!chosen || *chosen == initial)
        return false;
    TakeUndoSnapshot(list);
    list.changed = true;
    const QString pair = chosen->incorrect + u'\n' + chosen->correct;
    if (mode == PairEditorMode::Add)
        list.entries.append(pair);
    else
        list.entries.replace(list.selectedIndex, pair);
    return true;
}

int DeletePair(AutocorrectList &list, Ui &ui, bool silentWithoutSelection)
{
    return DeleteListEntry(
        list, ui, pairTexts, [](QStringView entry) { return entry.toString().replace(u'\n', u' '); },
        silentWithoutSelection);
}

bool EraseAutocorrectList(AutocorrectList &list, Ui &ui)
{
    if (list.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), autocorrectTexts::noWords, MessageIcon::Warning);
        return false;
    }
    if (list.changed && !ui.askYesNo(LongTask::warningTitle(), autocorrectTexts::changedQuestion, MessageIcon::Warning))
        return false;
    if (!ui.askYesNo(LongTask::warningTitle(), pairEditorTexts::eraseQuestion, MessageIcon::Warning))
        return false;
    TakeEraseSnapshot(list);
    ui.setStatusText(pairEditorTexts::erasingStatus);
    list.entries.clear();
    list.path.clear();
    list.selectedIndex = -1;
    list.changed = false;
    ui.setStatusText(pairEditorTexts::ok);
    return true;
}

bool SortAutocorrectList(AutocorrectList &list, const MainSettings &settings, Ui &ui)
{
    if (list.entries.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), autocorrectTexts::noWords, MessageIcon::Warning);
        return false;
    }
    ui.setStatusText(pairEditorTexts::sortingStatus);
    const qint64 count = list.entries.size();
    LongTask task(ui, settings);
    task.begin(pairEditorTexts::sortingStatus, count);
    const auto found = [&](qint64 n) { return task.formatCount(n); };

    // The folded key of the whole pair: the line feed after a shorter incorrect word
    // sorts before any letter, so "ab" -> x comes before "abc" -> y.
    std::vector<QString> keys;
    keys.reserve(static_cast<size_t>(count));
    const bool folded = task.forEach(
        count, [&](qint64 i) { task.showProgress(pairEditorTexts::removingAccents + found(i + 1), i + 1); },
        [&](qint64 i) { keys.push_back(FoldAccents(list.entries.at(i))); }, {.pollAfterItem = true});
    if (!folded) {
        task.cancel();
        return false;
    }
    ui.setStatusText(pairEditorTexts::sorting + found(count));
    std::vector<qint64> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qint64 a, qint64 b) {
        return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });
    keys = {};

    EntryStore sorted;
    sorted.reserve(count, 0);
    const bool populated = task.forEach(
        count, [&](qint64 i) { task.showProgress(pairEditorTexts::populating + found(i + 1), i + 1); },
        [&](qint64 i) { sorted.append(list.entries.view(order[static_cast<size_t>(i)])); }, {.pollAfterItem = true});
    if (!populated) {
        task.cancel();
        return false;
    }
    // Only a finished sort touches the list, so an abort leaves nothing to undo.
    TakeUndoSnapshot(list, true);
    list.entries = std::move(sorted);
    list.selectedIndex = -1;
    list.changed = true;
    task.finish(pairEditorTexts::ok + task.elapsedText());
    return true;
}

} // namespace lexaloom
