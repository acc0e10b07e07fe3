#include "gui/dictionary_tools/crunch_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/workbench.h"
#include "core/shell/manual_url.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

bool CrunchWindow::Open(QWidget *parent, Workbench &workbench, Ui &ui)
{
    if (!CrunchSession::canOpen(workbench.dictionary, ui))
        return false;
    CrunchWindow window(parent, workbench, ui);
    window.exec();
    return window.m_session.undoRecorded();
}

CrunchWindow::CrunchWindow(QWidget *parent, Workbench &workbench, Ui &ui)
    : ToolWindow(ui, parent)
    , m_workbench(workbench)
    , m_panelUi(ui, m_panel)
    , m_session(workbench.dictionary, workbench.affixTable, workbench.settings, workbench.crunch)
{
    setWindowTitle(crunchTexts::windowTitle);
    setManualAnchor(workbench.programFolder(), manualAnchors::crunch);
    resize(1065, 475);
    buildWidgets();
    showChoices();
    showDisplay();
}

void CrunchWindow::buildWidgets()
{
    auto *frame = new QGroupBox(crunchTexts::rulesFrame, this);
    auto *grid = new QGridLayout(frame);
    for (int r = 0; r < crunchRuleCount; ++r) {
        auto *box = new QCheckBox(CrunchRules()[size_t(r)].caption, frame);
        box->setObjectName(QStringLiteral("rule%1").arg(r + 1));
        m_rules[size_t(r)] = box;
        grid->addWidget(box, r < 14 ? r : r - 14, r < 14 ? 0 : 1);
        connect(box, &QCheckBox::toggled, this, [this, r](bool on) {
            m_session.choices().on[size_t(r)] = on;
            showChoices();
        });
        m_controls << box;
    }
    QPushButton *all = makeButton(QStringLiteral("All"));
    QPushButton *none = makeButton(QStringLiteral("None"));
    grid->addWidget(all, 15, 1);
    grid->addWidget(none, 16, 1);
    for (QPushButton *button : {all, none}) {
        const bool on = button == all;
        connect(button, &QPushButton::clicked, this, [this, on] {
            m_session.choices().on.fill(on);
            showChoices();
        });
        m_controls << button;
    }

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("crunchList"));
    m_list->setHeaderLabels({QStringLiteral("Line #"), QStringLiteral("Words"), QStringLiteral("Characters match")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_found = new QLabel(this);
    m_status = new QLabel(crunchTexts::processingIdle, this);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_bar->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: %1; }").arg(palette::blue.name()));
    m_panel.attach(m_bar, m_status);
    m_elapsed = new QLabel(this);
    m_hint = new QLabel(this);

    m_level = new QSlider(Qt::Horizontal, this);
    m_level->setRange(CrunchChoices::minLevel, CrunchChoices::maxLevel);
    m_level->setPageStep(1);
    m_level->setFixedWidth(120);
    m_levelCaption = new QLabel(this);
    connect(m_level, &QSlider::valueChanged, this, [this](int level) {
        m_session.choices().matchLevel = level;
        showChoices();
    });
    m_controls << m_level;
    m_usedCount = new QLabel(this);
    m_used = new QLineEdit(this);
    m_used->setReadOnly(true);
    m_process = makeButton(QStringLiteral("Process"));
    QPushButton *close = makeButton(closeCaption());
    connect(m_process, &QPushButton::clicked, this, &CrunchWindow::process);
    connect(close, &QPushButton::clicked, this, &CrunchWindow::reject);
    m_controls << m_process << close;

    auto *status = new QHBoxLayout;
    status->addWidget(m_found);
    status->addWidget(m_status, 1);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_bar, 1);
    progress->addWidget(m_elapsed);
    progress->addWidget(m_hint);
    auto *right = new QVBoxLayout;
    right->addWidget(m_list, 1);
    right->addLayout(status);
    right->addLayout(progress);
    auto *top = new QHBoxLayout;
    top->addWidget(frame);
    top->addLayout(right, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(crunchTexts::matchLabel, this));
    bottom->addWidget(m_level);
    bottom->addWidget(m_levelCaption);
    bottom->addSpacing(20);
    bottom->addWidget(new QLabel(crunchTexts::usedLabel, this));
    bottom->addWidget(m_usedCount);
    bottom->addWidget(m_used, 1);
    bottom->addWidget(m_process);
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
}

void CrunchWindow::showChoices()
{
    const CrunchChoices &choices = m_session.choices();
    for (int r = 0; r < crunchRuleCount; ++r) {
        const QSignalBlocker block(m_rules[size_t(r)]);
        m_rules[size_t(r)]->setChecked(choices.on[size_t(r)]);
    }
    {
        const QSignalBlocker block(m_level);
        m_level->setValue(choices.matchLevel);
    }
    m_levelCaption->setText(CrunchChoices::levelCaption(choices.matchLevel));
    m_usedCount->setText(choices.usedCount());
    m_used->setText(choices.usedFlags());
}

void CrunchWindow::showDisplay()
{
    const CrunchDisplay &display = m_session.display();
    m_found->setText(display.found);
    m_elapsed->setText(display.elapsed);
    m_hint->setText(display.hint);
}

void CrunchWindow::setControlsEnabled(bool enabled)
{
    for (QWidget *control : m_controls)
        control->setEnabled(enabled);
}

void CrunchWindow::process()
{
    m_list->clear();
    setControlsEnabled(false);
    m_hint->setText(crunchTexts::abortHint);
    runTask(m_panelUi, [this] { m_session.process(m_panelUi, [this] { showDisplay(); }); });
    QList<QTreeWidgetItem *> items;
    for (const CrunchRow &row : m_session.rows()) {
        auto *item = new QTreeWidgetItem({QString::number(row.line), row.words, QString::number(row.matched)});
        item->setBackground(0, palette::panelGrey);
        items << item;
    }
    m_list->addTopLevelItems(items);
    showDisplay();
    setControlsEnabled(true);
}

} // namespace lexaloom
