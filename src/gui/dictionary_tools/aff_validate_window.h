#pragma once

#include <QDialog>

#include "dictionary_tools/aff_validate.h"
#include "dictionary_tools/aff_validate_session.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace lexaloom {

class AffPanelModel;
class Ui;
class Workbench;

// Dictionary Tools > "AFF Validate": rebuilds the AffixTable, opens the window modally
// and loads the .aff lines into its panel. True when "OK" changed the .aff text.
bool OpenAffValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui);

// The window itself: report area with its run controls on the left, the line panel on
// the right. All work is done by the AffValidateSession; this class only shows it.
class AffValidateWindow final : public QDialog, private AffValidateView {
    Q_OBJECT

public:
    AffValidateWindow(QWidget *parent, Workbench &workbench, Ui &ui);
    ~AffValidateWindow() override;

    // Loads the panel; called once the window is shown.
    void loadPanel();

    AffValidateSession &session() { return m_session; }

public slots:
    void reject() override;

private:
    // AffValidateView
    void appendReport(const QString &text) override;
    void setStatusLabel(const QString &text) override;
    void setPercentText(const QString &text) override;
    void setFoundText(const QString &text) override;
    void setProgressMaximum(AffStatusSide side, qint64 maximum) override;
    void setProgressValue(AffStatusSide side, qint64 value) override;
    void setElapsedText(AffStatusSide side, const QString &text) override;
    void setAbortHint(AffStatusSide side, const QString &text) override;
    void setBusy(bool busy) override;
    void lineColourChanged(qsizetype row) override;
    void processEvents() override;
    bool takeAbortRequest() override;

    void buildWidgets();
    void connectActions();
    // Redraws the panel and its labels after an action; a reset when lines changed.
    void syncPanel(bool linesChanged);
    void selectRow(qsizetype row);
    void showPanelMenu(const QPoint &position);
    void editSelectedLine();
    void gotoLine();
    void acceptLines();

    Workbench &m_workbench;
    Ui &m_ui;
    AffValidateSession m_session;
    AffPanelModel *m_model = nullptr;
    bool m_busy = false;
    bool m_abortRequested = false;

    QPlainTextEdit *m_report = nullptr;
    QPushButton *m_process = nullptr;
    QPushButton *m_reportClear = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_reportBottom = nullptr;
    QPushButton *m_reportTop = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_percent = nullptr;
    QProgressBar *m_reportProgress = nullptr;
    QLabel *m_reportElapsed = nullptr;
    QLabel *m_reportHint = nullptr;

    QTableView *m_table = nullptr;
    QLabel *m_found = nullptr;
    QLabel *m_modifiedMark = nullptr;
    QPushButton *m_panelClear = nullptr;
    QPushButton *m_panelBottom = nullptr;
    QPushButton *m_panelTop = nullptr;
    QProgressBar *m_panelProgress = nullptr;
    QLabel *m_panelElapsed = nullptr;
    QLabel *m_panelHint = nullptr;
    QLabel *m_selected = nullptr;
    QPushButton *m_undo = nullptr;
    QPushButton *m_redo = nullptr;
    QPushButton *m_goto = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace lexaloom
