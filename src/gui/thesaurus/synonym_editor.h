#pragma once

#include "core/thesaurus/thesaurus_editing.h"
#include "gui/shell/tool_window.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace lexaloom {

class Ui;

// "Add a synonym" / "Edit a synonym": the head word and its meaning lines. Modal; the
// checks and the entry it makes live in thesaurus_editing.
class SynonymEditor final : public ToolWindow {
    Q_OBJECT

public:
    SynonymEditor(Ui &ui, SynonymEditorMode mode, const SynonymEditorTexts &initial, const QString &programFolder,
                  QWidget *parent = nullptr);

    SynonymEditorTexts texts() const;

    QLineEdit *wordField() const { return m_word; }
    QPlainTextEdit *meaningsEditor() const { return m_meanings; }
    QLabel *meaningCounter() const { return m_counter; }
    QLabel *meaningBar() const { return m_bar; }
    QPushButton *okButton() const { return m_ok; }
    // True while the grey usage example shows.
    bool showsUsageExample() const;

    // Runs OK's checks; the window stays open on the first failure.
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshCounters();
    void refreshWordColour();
    void refreshUsageExample();

    QLineEdit *m_word = nullptr;
    QPlainTextEdit *m_meanings = nullptr;
    QLabel *m_counter = nullptr;
    QLabel *m_bar = nullptr;
    QPushButton *m_ok = nullptr;
    QTimer *m_counterTimer = nullptr;
};

} // namespace lexaloom
