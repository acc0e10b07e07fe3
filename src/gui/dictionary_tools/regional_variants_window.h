#pragma once

#include "core/dictionary_tools/regional_variants.h"
#include "gui/shell/tool_window.h"

#include <functional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace lexaloom {

class Workbench;

// "GB to AU/CA/NZ/ZA (Orvel - GB)": the five steps on the left, the log on the right,
// over a RegionalVariantsSession. "OK" keeps the changes, "Cancel", Escape and the
// close box undo them.
class RegionalVariantsWindow final : public ToolWindow, private RegionalHost {
    Q_OBJECT

public:
    struct Hooks {
        std::function<void()> refreshDictionary;
        RegionalDuplicatesStep openDuplicates;
    };

    RegionalVariantsWindow(QWidget *parent, Workbench &workbench, Ui &ui, Hooks hooks);

    static void Open(QWidget *parent, Workbench &workbench, Ui &ui, Hooks hooks);

    RegionalVariantsSession &session() { return m_session; }
    QPlainTextEdit *logPane() const { return m_log; }
    QPlainTextEdit *exceptionsEditor() const { return m_exceptions; }
    QPlainTextEdit *gbSpecificEditor() const { return m_gbSpecific; }
    QPushButton *button(const QString &objectName) const;

    void accept() override;
    void reject() override;

private:
    void refreshDictionary() override;
    void buildWidgets();
    void run(const std::function<void()> &step, bool task);
    void showLog();
    void takeEditorTexts();

    Hooks m_hooks;
    ProgressBarPanel m_panel;
    PanelUi m_panelUi;
    RegionalVariantsSession m_session;
    QPlainTextEdit *m_log = nullptr;
    QPlainTextEdit *m_exceptions = nullptr;
    QPlainTextEdit *m_gbSpecific = nullptr;
    QProgressBar *m_bar = nullptr;
    QLabel *m_barLabel = nullptr;
    QList<QPushButton *> m_buttons;
    bool m_closing = false;
};

} // namespace lexaloom
