#include "core/dictionary_tools/aff_panel.h"

#include "core/shell/long_task.h"

#include <algorithm>

namespace lexaloom {

namespace AffPanelText {
QString noLines()
{
    return QStringLiteral("No lines found.");
}
QString noLineSelected()
{
    return QStringLiteral("No line selected.");
}
QString noCheckedLines()
{
    return QStringLiteral("No selected lines found.");
}
QString reallyDeleteChecked()
{
    return QStringLiteral("Really delete selected lines?");
}
QString reallyDeleteLine()
{
    return QStringLiteral("Really delete line?");
}
QString reallyDeleteAll()
{
    return QStringLiteral("Really delete all lines?");
}
} // namespace AffPanelText

namespace {

QString selectedPrefix()
{
    return QStringLiteral("Selected:");
}

} // namespace

bool AffPanel::hasSelectedRow() const
{
    return m_state.selectedRow >= 0 && m_state.selectedRow < m_state.lines.size();
}

void AffPanel::setSelectedRow(qsizetype row)
{
    m_state.selectedRow = (row >= 0 && row < m_state.lines.size()) ? row : -1;
}

void AffPanel::reset(QList<AffPanelLine> lines)
{
    m_state.lines = std::move(lines);
    m_state.selectedRow = -1;
    m_undo.reset();
    m_redo.reset();
    m_modified = false;
    recount();
    updateSelectionText(true);
}

void AffPanel::setColour(qsizetype row, quint32 colour)
{
    if (row >= 0 && row < m_state.lines.size())
        m_state.lines[row].colour = colour;
}

void AffPanel::resetColours()
{
    for (AffPanelLine &line : m_state.lines)
        line.colour = AffLineColour::normal;
}

void AffPanel::setChecked(qsizetype row, bool checked)
{
    if (row < 0 || row >= m_state.lines.size() || m_state.lines[row].checked == checked)
        return;
    m_state.lines[row].checked = checked;
    m_checkedCount += checked ? 1 : -1;
    updateSelectionText(true);
}

void AffPanel::setAllChecked(bool checked)
{
    for (AffPanelLine &line : m_state.lines)
        line.checked = checked;
    m_checkedCount = checked ? m_state.lines.size() : 0;
    updateSelectionText(false);
}

void AffPanel::invertChecks()
{
    for (AffPanelLine &line : m_state.lines)
        line.checked = !line.checked;
    m_checkedCount = m_state.lines.size() - m_checkedCount;
    updateSelectionText(false);
}

void AffPanel::pushUndo()
{
    m_undo = m_state;
    m_redo.reset();
    m_modified = true;
}

void AffPanel::undo()
{
    if (!m_undo)
        return;
    m_redo = std::move(m_state);
    m_state = std::move(*m_undo);
    m_undo.reset();
    recount();
    updateSelectionText(true);
}

void AffPanel::redo()
{
    if (!m_redo)
        return;
    // Redo is itself undoable: the current panel becomes the undo copy first.
    State next = std::move(*m_redo);
    m_redo.reset();
    m_undo = std::move(m_state);
    m_state = std::move(next);
    m_modified = true;
    recount();
    updateSelectionText(true);
}

void AffPanel::insertLine(qsizetype row, const QString &text)
{
    row = std::clamp<qsizetype>(row, 0, m_state.lines.size());
    m_state.lines.insert(row, AffPanelLine{text});
    m_state.selectedRow = row;
    updateSelectionText(true);
}

void AffPanel::setText(qsizetype row, const QString &text)
{
    if (row >= 0 && row < m_state.lines.size())
        m_state.lines[row].text = text;
}

void AffPanel::removeLine(qsizetype row)
{
    if (row < 0 || row >= m_state.lines.size())
        return;
    m_state.lines.removeAt(row);
    recount();
    clampSelection();
    updateSelectionText(true);
}

qsizetype AffPanel::removeCheckedLines()
{
    const qsizetype removed = m_state.lines.removeIf([](const AffPanelLine &line) { return line.checked; });
    recount();
    clampSelection();
    updateSelectionText(true);
    return removed;
}

void AffPanel::clear()
{
    m_state.lines.clear();
    m_state.selectedRow = -1;
    m_checkedCount = 0;
    updateSelectionText(true);
}

QString AffPanel::joinedText() const
{
    qsizetype size = 0;
    for (const AffPanelLine &line : m_state.lines)
        size += line.text.size() + 1;
    QString text;
    text.reserve(size);
    for (const AffPanelLine &line : m_state.lines) {
        text += line.text;
        text += QLatin1Char('\n');
    }
    return text;
}

void AffPanel::recount()
{
    m_checkedCount = std::count_if(m_state.lines.cbegin(), m_state.lines.cend(),
                                   [](const AffPanelLine &line) { return line.checked; });
}

void AffPanel::updateSelectionText(bool withTotal)
{
    if (m_checkedCount == 0)
        m_selectionText = selectedPrefix() + QStringLiteral("None");
    else if (m_checkedCount == m_state.lines.size())
        m_selectionText = selectedPrefix() + QStringLiteral("All");
    else if (withTotal)
        m_selectionText = selectedPrefix() + QString::number(m_checkedCount) + QLatin1Char('/') +
                          QString::number(m_state.lines.size());
    else
        m_selectionText = selectedPrefix() + QString::number(m_checkedCount);
}

void AffPanel::clampSelection()
{
    if (m_state.lines.isEmpty())
        m_state.selectedRow = -1;
    else if (m_state.selectedRow >= m_state.lines.size())
        m_state.selectedRow = m_state.lines.size() - 1;
}

bool AffPanelHasLines(const AffPanel &panel, Ui &ui)
{
    if (!panel.isEmpty())
        return true;
    ui.showMessage(LongTask::warningTitle(), AffPanelText::noLines(), MessageIcon::Warning);
    return false;
}

bool AffPanelHasSelectedRow(const AffPanel &panel, Ui &ui)
{
    if (!AffPanelHasLines(panel, ui))
        return false;
    if (panel.hasSelectedRow())
        return true;
    ui.showMessage(LongTask::warningTitle(), AffPanelText::noLineSelected(), MessageIcon::Warning);
    return false;
}

bool InsertAffLine(AffPanel &panel, Ui &ui, AffLineInsert where)
{
    if (!AffPanelHasSelectedRow(panel, ui))
        return false;
    const qsizetype row = panel.selectedRow();
    const QString text = where == AffLineInsert::CloneBelow ? panel.line(row).text : QString();
    panel.pushUndo();
    panel.insertLine(where == AffLineInsert::Above ? row : row + 1, text);
    return true;
}

bool EditAffLine(AffPanel &panel, qsizetype row, const QString &newText)
{
    if (row < 0 || row >= panel.count() || panel.line(row).text == newText)
        return false;
    panel.pushUndo();
    panel.setText(row, newText);
    return true;
}

bool CheckAllAffLines(AffPanel &panel, Ui &ui, bool checked)
{
    if (!AffPanelHasLines(panel, ui))
        return false;
    panel.setAllChecked(checked);
    return false;
}

bool InvertAffLineChecks(AffPanel &panel, Ui &ui)
{
    if (!AffPanelHasLines(panel, ui))
        return false;
    panel.invertChecks();
    return false;
}

bool DeleteCheckedAffLines(AffPanel &panel, Ui &ui)
{
    if (!AffPanelHasLines(panel, ui))
        return false;
    if (panel.checkedCount() == 0) {
        ui.showMessage(LongTask::warningTitle(), AffPanelText::noCheckedLines(), MessageIcon::Warning);
        return false;
    }
    if (!ui.askYesNo(LongTask::warningTitle(), AffPanelText::reallyDeleteChecked(), MessageIcon::Question))
        return false;
    panel.pushUndo();
    panel.removeCheckedLines();
    return true;
}

bool DeleteSelectedAffLine(AffPanel &panel, Ui &ui)
{
    if (!AffPanelHasSelectedRow(panel, ui))
        return false;
    if (!ui.askYesNo(LongTask::warningTitle(), AffPanelText::reallyDeleteLine(), MessageIcon::Question))
        return false;
    panel.pushUndo();
    panel.removeLine(panel.selectedRow());
    return true;
}

bool ClearAffPanel(AffPanel &panel, Ui &ui)
{
    if (!AffPanelHasLines(panel, ui))
        return false;
    if (!ui.askYesNo(LongTask::warningTitle(), AffPanelText::reallyDeleteAll(), MessageIcon::Information))
        return false;
    panel.pushUndo();
    panel.clear();
    return true;
}

QList<AffPanelLine> SplitAffLines(const QString &text)
{
    QList<AffPanelLine> lines;
    if (text.isEmpty())
        return lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        lines.append(AffPanelLine{text.mid(start, end - start)});
        start = end + 1;
    }
    return lines;
}

} // namespace lexaloom
