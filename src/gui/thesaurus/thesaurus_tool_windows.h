#pragma once

#include "core/thesaurus/thesaurus_tools.h"
#include "gui/shell/tool_window.h"

#include <optional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace lexaloom {

// The Clean up symbols window: three ticks, OK and Cancel.
class CleanUpSymbolsWindow final : public ToolWindow {
    Q_OBJECT

public:
    CleanUpSymbolsWindow(Ui &ui, const CleanUpOptions &current, const QString &programFolder, QWidget *parent);

    CleanUpOptions options() const;

private:
    QCheckBox *m_dashBars = nullptr;
    QCheckBox *m_bars = nullptr;
    QCheckBox *m_brackets = nullptr;
};

// Shows the window; nothing when cancelled.
std::optional<CleanUpOptions> AskCleanUpOptionsWindow(Ui &ui, const CleanUpOptions &current,
                                                      const QString &programFolder, QWidget *parent);

// Show/Merge Duplicates: the rows found by the session, their preview and the buttons.
class ThesaurusDuplicatesWindow final : public ToolWindow {
    Q_OBJECT

public:
    ThesaurusDuplicatesWindow(ThesaurusDuplicatesSession &session, Ui &ui, const QString &programFolder,
                              QWidget *parent);

    // True once Merge changed the thesaurus.
    bool merged() const { return m_merged; }

private:
    void fillRows();
    void showPreview();
    int currentRow() const;
    void mergeRows();

    ThesaurusDuplicatesSession &m_session;
    ProgressBarPanel m_progressSide;
    PanelUi m_panelUi;
    QTreeWidget *m_rows = nullptr;
    QLabel *m_found = nullptr;
    QPlainTextEdit *m_preview = nullptr;
    QPushButton *m_display = nullptr;
    QPushButton *m_merge = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_close = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    bool m_merged = false;
};

} // namespace lexaloom
