#pragma once

#include "core/dictionary_tools/statistics.h"
#include "core/dictionary_tools/statistics_session.h"
#include "core/shell/panel_ui.h"
#include "gui/shell/tool_window.h"

#include <QImage>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTreeWidget;

namespace lexaloom {

class CriterionEntriesModel;
class Ui;
class Workbench;

// Dictionary Tools > "Statistics": counts the dictionary's forms and, unless that
// was refused or aborted, opens the window modally.
void OpenStatisticsWindow(QWidget *parent, Workbench &workbench, Ui &ui);

// The pie chart as the window shows it: a square image with the disc of the eight
// word rows on white, black where the slices leave room, and the note when the
// rows pass 100 %.
QImage RenderStatisticsPie(const StatisticsPie &pie);

class StatisticsPieWidget final : public QWidget {
public:
    StatisticsPieWidget(const StatisticsPie &pie, QWidget *parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

// "Show Statistics": the word and letter lists with their percentages, the pie
// chart, the reference value and "Export". The session does the work.
class StatisticsWindow final : public ToolWindow {
    Q_OBJECT

public:
    StatisticsWindow(QWidget *parent, Workbench &workbench, Ui &ui, StatisticsRun run);
    ~StatisticsWindow() override;

    StatisticsSession &session() { return m_session; }
    // The selected row of the word list, -1 for none.
    int selectedWordRow() const;
    void selectWordRow(int row);
    // "Show" (and a double click) on the selected row.
    void showCriterionEntries();
    // "Extract" and "Extract with Flags" on the selected row.
    void extract(bool mark);

private:
    void buildWidgets();
    void connectActions();
    void showFields();
    void showWordMenu(const QPoint &position);

    Workbench &m_workbench;
    ProgressBarPanel m_progressPanel;
    PanelUi m_panelUi;
    StatisticsSession m_session;

    QTreeWidget *m_words = nullptr;
    QTreeWidget *m_lettersLeft = nullptr;
    QTreeWidget *m_lettersRight = nullptr;
    StatisticsPieWidget *m_pie = nullptr;
    QLineEdit *m_total = nullptr;
    QLineEdit *m_reference = nullptr;
    QLineEdit *m_newWords = nullptr;
    QLineEdit *m_lastRemember = nullptr;
    QPushButton *m_copyTotal = nullptr;
    QPushButton *m_copyToReference = nullptr;
    QPushButton *m_remember = nullptr;
    QPushButton *m_forget = nullptr;
    QPushButton *m_copyNewWords = nullptr;
    QPushButton *m_copyNewNumber = nullptr;
    QPushButton *m_copyLastRemember = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_close = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_hint = nullptr;
};

// "Show words based on selected criteria: ...": the entries behind one word row,
// with the preview of the selected entry's forms of that row.
class CriterionEntriesWindow final : public ToolWindow {
    Q_OBJECT

public:
    CriterionEntriesWindow(QWidget *parent, StatisticsSession &session, Ui &ui, int row);
    ~CriterionEntriesWindow() override;

    // Fills the list; called once the window is shown.
    void fill();
    qsizetype matchCount() const { return qsizetype(m_found.size()); }
    void selectMatch(qsizetype match);
    QString previewText() const;

private:
    void extract(bool mark);

    StatisticsSession &m_session;
    int m_row;
    ProgressBarPanel m_progressPanel;
    PanelUi m_panelUi;
    std::vector<qint64> m_found;
    CriterionEntriesModel *m_model = nullptr;
    QTableView *m_matches = nullptr;
    QPlainTextEdit *m_preview = nullptr;
    QPushButton *m_extract = nullptr;
    QPushButton *m_extractFlags = nullptr;
    QPushButton *m_close = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_hint = nullptr;
};

} // namespace lexaloom
