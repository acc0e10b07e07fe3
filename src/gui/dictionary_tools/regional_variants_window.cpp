#include "gui/dictionary_tools/regional_variants_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "core/app/workbench.h"
#include "core/shell/manual_url.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

void RegionalVariantsWindow::Open(QWidget *parent, Workbench &workbench, Ui &ui, Hooks hooks)
{
    RegionalVariantsWindow window(parent, workbench, ui, std::move(hooks));
    window.exec();
}

RegionalVariantsWindow::RegionalVariantsWindow(QWidget *parent, Workbench &workbench, Ui &ui, Hooks hooks)
    : ToolWindow(ui, parent)
    , m_hooks(std::move(hooks))
    , m_panelUi(ui, m_panel)
    , m_session(workbench.dictionary, workbench.regional, workbench.gbSpecificText, workbench.programFolder(),
                workbench.settings, ui, *this, m_hooks.openDuplicates)
{
    setWindowTitle(regionalTexts::windowTitle);
    setManualAnchor(workbench.programFolder(), manualAnchors::regionalVariants);
    resize(1014, 620);
    buildWidgets();
    m_exceptions->setPlainText(m_session.exceptionsText);
    m_gbSpecific->setPlainText(m_session.gbSpecificText);
    showLog();
}

QPushButton *RegionalVariantsWindow::button(const QString &objectName) const
{
    for (QPushButton *b : m_buttons) {
        if (b->objectName() == objectName)
            return b;
    }
    return nullptr;
}

void RegionalVariantsWindow::refreshDictionary()
{
    if (m_hooks.refreshDictionary)
        m_hooks.refreshDictionary();
}

void RegionalVariantsWindow::buildWidgets()
{
    const auto add = [this](const QString &caption, const QString &name, auto action) {
        QPushButton *b = makeButton(caption, name);
        connect(b, &QPushButton::clicked, this, action);
        m_buttons << b;
        return b;
    };
    const auto heading = [this](const QString &text) {
        auto *label = new QLabel(text, this);
        label->setStyleSheet(palette::textColourStyle(palette::blue) + QStringLiteral(" font-weight: bold;"));
        return label;
    };
    m_exceptions = new QPlainTextEdit(this);
    m_exceptions->setObjectName(QStringLiteral("exceptions"));
    m_gbSpecific = new QPlainTextEdit(this);
    m_gbSpecific->setObjectName(QStringLiteral("gbSpecific"));
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("log"));
    m_log->setReadOnly(true);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_barLabel = new QLabel(this);
    m_panel.attach(m_bar, m_barLabel);

    QPushButton *merge = add(QStringLiteral("Merge GB .dic"), QStringLiteral("merge"),
                             [this] { run([this] { m_session.mergeGbDictionary(m_panelUi); }, true); });
    QPushButton *dupes = add(QStringLiteral("Remove dupes"), QStringLiteral("dupes"),
                             [this] { run([this] { m_session.removeDuplicates(); }, false); });
    QPushButton *ize = add(QStringLiteral("Remove -ize"), QStringLiteral("ize"),
                           [this] { run([this] { m_session.RemoveIzeIse(IzeMode::Ize, m_panelUi); }, true); });
    QPushButton *ise = add(QStringLiteral("Remove -ise"), QStringLiteral("ise"),
                           [this] { run([this] { m_session.RemoveIzeIse(IzeMode::Ise, m_panelUi); }, true); });
    QPushButton *clearExceptions =
        add(clearCaption(), QStringLiteral("clearExceptions"), [this] { m_exceptions->clear(); });
    QPushButton *saveExceptions = add(QStringLiteral("Save"), QStringLiteral("saveExceptions"), [this] {
        takeEditorTexts();
        m_session.saveExceptions();
    });
    QPushButton *gbOnly = add(QStringLiteral("Remove GB only"), QStringLiteral("gbOnly"),
                              [this] { run([this] { m_session.removeGbSpecific(m_panelUi); }, true); });
    QPushButton *clearGb = add(clearCaption(), QStringLiteral("clearGbSpecific"), [this] { m_gbSpecific->clear(); });
    QPushButton *saveGb = add(QStringLiteral("Save"), QStringLiteral("saveGbSpecific"), [this] {
        takeEditorTexts();
        m_session.saveGbSpecific();
    });
    QPushButton *ok = add(okCaption(), QStringLiteral("ok"), [this] { accept(); });
    QPushButton *cancel = add(cancelCaption(), QStringLiteral("cancel"), [this] { reject(); });
    const PaneButtons pane = makePaneButtons(QStringLiteral("log"), m_log, [this] {
        m_session.clearLog();
        showLog();
    });

    auto *left = new QGridLayout;
    int row = 0;
    left->addWidget(heading(regionalTexts::step1), row++, 0, 1, 3);
    left->addWidget(merge, row++, 0);
    left->addWidget(heading(regionalTexts::step2), row++, 0, 1, 3);
    left->addWidget(dupes, row++, 0);
    left->addWidget(heading(regionalTexts::step3), row++, 0, 1, 3);
    left->addWidget(ize, row, 0);
    left->addWidget(ise, row++, 1);
    left->addWidget(new QLabel(QStringLiteral("Exceptions:"), this), row++, 0);
    left->addWidget(m_exceptions, row++, 0, 1, 3);
    left->addWidget(clearExceptions, row, 0);
    left->addWidget(saveExceptions, row++, 1);
    left->addWidget(heading(regionalTexts::step4), row++, 0, 1, 3);
    left->addWidget(gbOnly, row++, 0);
    left->addWidget(m_gbSpecific, row++, 0, 1, 3);
    left->addWidget(clearGb, row, 0);
    left->addWidget(saveGb, row++, 1);
    left->addWidget(heading(regionalTexts::step5), row++, 0, 1, 3);

    auto *paneButtons = new QHBoxLayout;
    paneButtons->addWidget(pane.clear);
    paneButtons->addWidget(pane.bottom);
    paneButtons->addWidget(pane.top);
    paneButtons->addStretch(1);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_bar, 1);
    progress->addWidget(m_barLabel);
    auto *closeButtons = new QHBoxLayout;
    closeButtons->addStretch(1);
    closeButtons->addWidget(ok);
    closeButtons->addWidget(cancel);
    auto *right = new QVBoxLayout;
    right->addWidget(m_log, 1);
    right->addLayout(paneButtons);
    right->addLayout(progress);
    right->addLayout(closeButtons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);
}

void RegionalVariantsWindow::takeEditorTexts()
{
    m_session.exceptionsText = m_exceptions->toPlainText();
    m_session.gbSpecificText = m_gbSpecific->toPlainText();
}

void RegionalVariantsWindow::showLog()
{
    m_log->setPlainText(m_session.log());
    m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
}

void RegionalVariantsWindow::run(const std::function<void()> &step, bool task)
{
    takeEditorTexts();
    for (QPushButton *b : m_buttons)
        b->setEnabled(false);
    if (task)
        runTask(m_panelUi, step);
    else
        step();
    for (QPushButton *b : m_buttons)
        b->setEnabled(true);
    showLog();
}

void RegionalVariantsWindow::accept()
{
    if (isTaskRunning())
        return;
    takeEditorTexts();
    m_session.accept();
    ToolWindow::accept();
}

void RegionalVariantsWindow::reject()
{
    if (isTaskRunning()) {
        ToolWindow::reject();
        return;
    }
    m_session.reject();
    ToolWindow::reject();
}

} // namespace lexaloom
