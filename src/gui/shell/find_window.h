#pragma once

#include "core/shell/find.h"
#include "core/shell/panel_ui.h"
#include "gui/shell/tool_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeView;

namespace lexaloom {

class FindResultsModel;
class Workbench;

// The Find window of the Dictionary, Hyphenation, Thesaurus and Autocorrect tabs.
// The search and the result actions live in FindSession; this is their widgets.
class FindWindow final : public ToolWindow {
    Q_OBJECT

public:
    FindWindow(Workbench &workbench, Ui &ui, FindTarget target, FindActions actions, QWidget *parent = nullptr);
    ~FindWindow() override;

    // Ctrl+F and the tab's "Find" button: the window, modal over `parent`, unless the
    // kind has no Find or nothing to search ("No … found.").
    static void Open(QWidget *parent, Workbench &workbench, Ui &ui, DocumentKind kind, FindActions actions);

    const FindSession &session() const { return m_session; }
    QLineEdit *searchField() const { return m_searchField; }
    QPushButton *findButton() const { return m_findButton; }
    QPushButton *displayButton() const { return m_displayButton; }
    QTreeView *resultList() const { return m_results; }
    QLabel *foundLabel() const { return m_foundLabel; }
    QCheckBox *leftMatchBox() const { return m_leftMatch; }

    // The pop-up's items, on the selected result row.
    void editSelected();
    void deleteSelected();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void startSearch();
    void refreshResults();
    void displaySelected();
    void showPopup(const QPoint &position);
    void updateSearchFieldColour();
    void updateDisplayButton();
    void setControlsEnabled(bool enabled);
    qsizetype selectedRow() const;

    FindSession m_session;
    FindActions m_actions;
    ProgressBarPanel m_progressPanel;
    PanelUi m_panelUi;
    FindResultsModel *m_model = nullptr;

    QLineEdit *m_searchField = nullptr;
    QPushButton *m_findButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QCheckBox *m_leftMatch = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_matchExtra = nullptr;
    QTreeView *m_results = nullptr;
    QPushButton *m_displayButton = nullptr;
    QLabel *m_foundLabel = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_progressLabel = nullptr;
};

} // namespace lexaloom
