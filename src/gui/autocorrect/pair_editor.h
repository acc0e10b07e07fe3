#pragma once

#include "core/autocorrect/autocorrect_editing.h"
#include "gui/shell/tool_window.h"

class QLineEdit;
class QPushButton;
class QToolButton;

namespace lexaloom {

class Ui;

// The window in which one autocorrect pair is added or edited: the incorrect and the
// correct field, the toggle that swaps them, OK and Cancel. Modal; the checks are
// PairEditorModel's.
class PairEditor final : public ToolWindow {
    Q_OBJECT

public:
    PairEditor(Ui &ui, PairEditorMode mode, const PairTexts &initial, const QString &programFolder,
               QWidget *parent = nullptr);

    // The pair after OK.
    const PairTexts &texts() const { return m_model.texts(); }

    // The parts tests drive.
    QLineEdit *incorrectField() const { return m_incorrect; }
    QLineEdit *correctField() const { return m_correct; }
    QToolButton *toggleButton() const { return m_toggle; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    void accept() override;

private:
    void showField(QLineEdit *field, const QColor &textColour);

    PairEditorModel m_model;
    QLineEdit *m_incorrect = nullptr;
    QLineEdit *m_correct = nullptr;
    QToolButton *m_toggle = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace lexaloom
