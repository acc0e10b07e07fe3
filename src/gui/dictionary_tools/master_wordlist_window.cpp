#include "gui/dictionary_tools/master_wordlist_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/workbench.h"
#include "core/shell/manual_url.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

void MasterWordlistWindow::Open(QWidget *parent, Workbench &workbench, Ui &ui)
{
    MasterWordlistWindow window(parent, workbench, ui);
    window.exec();
}

MasterWordlistWindow::MasterWordlistWindow(QWidget *parent, Workbench &workbench, Ui &ui)
    : ToolWindow(ui, parent)
    , m_panelUi(ui, m_panel)
    , m_session(workbench.settings, ui)
{
    setWindowTitle(masterTexts::windowTitle);
    setManualAnchor(workbench.programFolder(), manualAnchors::masterWordlist);
    resize(1014, 550);
    buildWidgets();
    showRows();
    showDisplay();
}

QPushButton *MasterWordlistWindow::button(const QString &caption) const
{
    for (QPushButton *b : m_buttons) {
        if (b->text() == caption)
            return b;
    }
    return nullptr;
}

void MasterWordlistWindow::buildWidgets()
{
    const auto add = [this](const QString &caption, auto action) {
        QPushButton *b = makeButton(caption);
        connect(b, &QPushButton::clicked, this, action);
        m_buttons << b;
        return b;
    };
    QPushButton *selectMaster = add(QStringLiteral("Select Master"), [this] {
        if (m_session.addFile(true))
            showRows();
    });
    QPushButton *selectOthers = add(QStringLiteral("Select Others"), [this] {
        if (m_session.addFile(false))
            showRows();
    });
    QPushButton *processButton = add(QStringLiteral("Import && Process"), [this] { process(); });
    QPushButton *all = add(QStringLiteral("All"), [this] {
        m_session.tickAll(true);
        showRows();
    });
    QPushButton *none = add(QStringLiteral("None"), [this] {
        m_session.tickAll(false);
        showRows();
    });
    QPushButton *remove = add(QStringLiteral("Delete"), [this] {
        QTreeWidgetItem *current = m_list->currentItem();
        if (m_session.deleteTicked(current ? m_list->indexOfTopLevelItem(current) : -1))
            showRows();
    });
    QPushButton *capitals = add(QStringLiteral("UCase Save as"), [this] { m_session.save(true); });
    QPushButton *save = add(QStringLiteral("Save as"), [this] { m_session.save(false); });
    QPushButton *close = add(closeCaption(), [this] { reject(); });

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("fileList"));
    m_list->setHeaderLabels(
        {QStringLiteral("#"), QStringLiteral("Type"), QStringLiteral("File"), QStringLiteral("Filesize")});
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (!m_filling && column == 0)
            m_session.setTicked(m_list->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
    m_status = new QLabel(masterTexts::idleStatus, this);
    m_total = new QLabel(this);
    m_missing = new QLabel(this);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_panel.attach(m_bar, m_status);
    m_elapsed = new QLabel(this);
    m_hint = new QLabel(this);

    auto *top = new QHBoxLayout;
    top->addWidget(selectMaster);
    top->addWidget(selectOthers);
    top->addWidget(processButton);
    top->addStretch(1);
    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(all);
    listButtons->addWidget(none);
    listButtons->addWidget(remove);
    listButtons->addWidget(m_status, 1);
    auto *counters = new QHBoxLayout;
    counters->addWidget(m_total);
    counters->addSpacing(30);
    counters->addWidget(m_missing);
    counters->addStretch(1);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_bar, 1);
    progress->addWidget(m_elapsed);
    progress->addWidget(m_hint);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(capitals);
    bottom->addWidget(save);
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(listButtons);
    layout->addLayout(counters);
    layout->addLayout(progress);
    layout->addLayout(bottom);
}

void MasterWordlistWindow::showRows()
{
    m_filling = true;
    m_list->clear();
    int number = 0;
    for (const MasterWordlistSession::Row &row : m_session.rows()) {
        auto *item = new QTreeWidgetItem({QString::number(++number), MasterWordlistSession::typeText(row), row.path,
                                          MasterWordlistSession::sizeText(row)});
        item->setCheckState(0, row.ticked ? Qt::Checked : Qt::Unchecked);
        item->setBackground(0, palette::panelGrey);
        if (row.master)
            item->setBackground(1, palette::green);
        m_list->addTopLevelItem(item);
    }
    m_filling = false;
}

void MasterWordlistWindow::showDisplay()
{
    const MasterDisplay &display = m_session.display();
    m_total->setText(display.total);
    m_missing->setText(display.missing);
    m_elapsed->setText(display.elapsed);
    m_hint->setText(display.hint);
}

void MasterWordlistWindow::setControlsEnabled(bool enabled)
{
    for (QPushButton *b : m_buttons) {
        if (b->text() != closeCaption())
            b->setEnabled(enabled);
    }
    m_list->setEnabled(enabled);
}

void MasterWordlistWindow::process()
{
    setControlsEnabled(false);
    runTask(m_panelUi, [this] { m_session.process(m_panelUi, [this] { showDisplay(); }); });
    showDisplay();
    setControlsEnabled(true);
}

} // namespace lexaloom
