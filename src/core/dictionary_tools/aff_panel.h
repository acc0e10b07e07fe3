#pragma once

#include "core/shell/ui.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace lexaloom {

// Line colours as 0xRRGGBB; 0 is the normal text colour.
namespace AffLineColour {
inline constexpr quint32 normal = 0x000000;
inline constexpr quint32 red = 0xFF0000;
inline constexpr quint32 blue = 0x0000FF;
} // namespace AffLineColour

// One line of the .aff text in the AFF Validate line panel. The colour lives in the
// record, not only in the widget, so that it survives redraws, undo and redo.
struct AffPanelLine {
    QString text;
    quint32 colour = AffLineColour::normal;
    bool checked = false;

    bool operator==(const AffPanelLine &) const = default;
};

// The line panel of the AFF Validate window: the lines with their colours and ticks,
// the selected row (0-based, -1 for none), one level of undo and redo, the modified
// mark and the "Selected:" text. Rows are 0-based here; line numbers shown to the
// user are row + 1.
class AffPanel final {
public:
    AffPanel() = default;

    const QList<AffPanelLine> &lines() const { return m_state.lines; }
    const AffPanelLine &line(qsizetype row) const { return m_state.lines.at(row); }
    qsizetype count() const { return m_state.lines.size(); }
    bool isEmpty() const { return m_state.lines.isEmpty(); }
    qsizetype checkedCount() const { return m_checkedCount; }
    qsizetype selectedRow() const { return m_state.selectedRow; }
    bool hasSelectedRow() const;
    void setSelectedRow(qsizetype row);

    bool isModified() const { return m_modified; }
    bool canUndo() const { return m_undo.has_value(); }
    bool canRedo() const { return m_redo.has_value(); }
    // "Selected:None", "Selected:All", "Selected:3" or "Selected:3/10" after the last tick change.
    const QString &selectionText() const { return m_selectionText; }

    // Replaces everything (loading): no undo, no modified mark.
    void reset(QList<AffPanelLine> lines);

    // The run's colours; they are not edits of the panel.
    void setColour(qsizetype row, quint32 colour);
    void resetColours();

    // Ticks are not edits either: no undo snapshot.
    void setChecked(qsizetype row, bool checked);
    void setAllChecked(bool checked);
    void invertChecks();

    // Snapshot of the whole panel before a change; enables Undo, drops Redo.
    void pushUndo();
    void undo();
    void redo();

    // Line edits; the caller has taken the undo snapshot. Colours stay with their lines.
    void insertLine(qsizetype row, const QString &text);
    void setText(qsizetype row, const QString &text);
    void removeLine(qsizetype row);
    // Removes the ticked lines; the rest keep order and colour and become unticked.
    qsizetype removeCheckedLines();
    void clear();

    // Every line followed by "\n".
    QString joinedText() const;

private:
    struct State {
        QList<AffPanelLine> lines;
        qsizetype selectedRow = -1;
    };

    void recount();
    void updateSelectionText(bool withTotal);
    void clampSelection();

    State m_state;
    qsizetype m_checkedCount = 0;
    std::optional<State> m_undo;
    std::optional<State> m_redo;
    bool m_modified = false;
    QString m_selectionText;
};

// Where a new line goes relative to the selected row.
enum class AffLineInsert { Above, Below, CloneBelow };

// The pop-up and button actions of the panel with their warnings and questions.
// Each returns true when it changed the panel's lines.
bool AffPanelHasLines(const AffPanel &panel, Ui &ui);
// Lines present and a row selected; warns otherwise.
bool AffPanelHasSelectedRow(const AffPanel &panel, Ui &ui);
bool InsertAffLine(AffPanel &panel, Ui &ui, AffLineInsert where);
// The outcome of the edit dialog: a snapshot is taken only when the text changes.
bool EditAffLine(AffPanel &panel, qsizetype row, const QString &newText);
bool CheckAllAffLines(AffPanel &panel, Ui &ui, bool checked);
bool InvertAffLineChecks(AffPanel &panel, Ui &ui);
bool DeleteCheckedAffLines(AffPanel &panel, Ui &ui);
bool DeleteSelectedAffLine(AffPanel &panel, Ui &ui);
bool ClearAffPanel(AffPanel &panel, Ui &ui);

// Line ends made "\n" (CRLF and lone CR alike).

// The panel lines of a text: a final "\n" is added when missing, so a text that ends
// with one does not gain an empty last line.
QList<AffPanelLine> SplitAffLines(const QString &text);

namespace AffPanelText {
QString noLines();
QString noLineSelected();
QString noCheckedLines();
QString reallyDeleteChecked();
QString reallyDeleteLine();
QString reallyDeleteAll();
} // namespace AffPanelText

} // namespace lexaloom
