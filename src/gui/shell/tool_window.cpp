#include "gui/shell/tool_window.h"

#include "core/shell/manual_url.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/goto_dialog.h"
#include "gui/shell/startup_gui.h"
#include "gui/shell/widget_ui.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextCursor>

#include <algorithm>
#include <limits>
#include <utility>

namespace lexaloom {

namespace {

int toInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

} // namespace

ProgressBarPanel::ProgressBarPanel(QProgressBar *bar, QLabel *label)
{
    attach(bar, label);
}

void ProgressBarPanel::attach(QProgressBar *bar, QLabel *label)
{
    m_bar = bar;
    m_label = label;
}

void ProgressBarPanel::setPanelText(const QString &text)
{
    if (m_label)
        m_label->setText(text);
}

void ProgressBarPanel::setPanelRange(qint64 minimum, qint64 maximum)
{
    if (m_bar)
        SetIdleSafeRange(*m_bar, toInt(minimum), toInt(maximum));
}

void ProgressBarPanel::setPanelValue(qint64 value)
{
    if (m_bar)
        m_bar->setValue(toInt(value));
}

ToolWindow::ToolWindow(Ui &ui, QWidget *parent)
    : QDialog(parent)
    , m_ui(ui)
{
    setModal(true);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] {
        if (m_manualFolder)
            m_ui.openUrl(ManualUrl(*m_manualFolder, m_manualAnchor));
    });
}

void ToolWindow::setManualAnchor(const QString &programFolder, const QString &anchor)
{
    m_manualFolder = programFolder;
    m_manualAnchor = anchor;
}

void ToolWindow::runTask(PanelUi &panelUi, const std::function<void()> &work)
{
    PanelUi *const outer = m_task;
    m_task = &panelUi;
    work();
    // Keys and clicks still queued were made while the task was on screen (its last
    // stretch, or the drawing of its results, polls no events): an Escape or the close
    // box meant for the task must not close the window with its results once it is
    // over. The window shows its finished state now rather than at the next turn of the
    // loop (a large result takes a while to draw); what was pressed until then is taken
    // here, while the task still counts as running, and dropped.
    repaint();
    QCoreApplication::processEvents();
    while (panelUi.takeAbortRequest()) {
    }
    m_task = outer;
}

void ToolWindow::reject()
{
    if (m_task) {
        m_task->requestAbort();
        return;
    }
    if (interruptWork())
        return;
    QDialog::reject();
}

void ToolWindow::closeEvent(QCloseEvent *event)
{
    // The close box during a task asks to abort it, as Escape does.
    if (m_task) {
        m_task->requestAbort();
        event->ignore();
        return;
    }
    if (interruptWork()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ToolWindow::openGoto(const QString &noun, qint64 count, QString &remembered, const std::function<void(qint64)> &go)
{
    GotoDialog::Open(this, m_ui, noun, count, remembered, go);
}

QPushButton *ToolWindow::makeButton(const QString &caption, const QString &objectName)
{
    auto *button = new QPushButton(caption, this);
    if (!objectName.isEmpty())
        button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QLabel *ToolWindow::makeLabel(const QString &text, const QString &objectName)
{
    auto *label = new QLabel(text, this);
    if (!objectName.isEmpty())
        label->setObjectName(objectName);
    return label;
}

PaneButtons ToolWindow::makePaneButtons(const QString &namePrefix, const std::function<void()> &clear,
                                        const std::function<void()> &bottom, const std::function<void()> &top)
{
    PaneButtons buttons;
    buttons.clear = makeButton(clearCaption(), namePrefix + QStringLiteral("Clear"));
    buttons.bottom = makeButton(goBottomCaption(), namePrefix + QStringLiteral("Bottom"));
    buttons.top = makeButton(goTopCaption(), namePrefix + QStringLiteral("Top"));
    connect(buttons.clear, &QPushButton::clicked, this, clear);
    connect(buttons.bottom, &QPushButton::clicked, this, bottom);
    connect(buttons.top, &QPushButton::clicked, this, top);
    return buttons;
}

PaneButtons ToolWindow::makePaneButtons(const QString &namePrefix, QPlainTextEdit *pane,
                                        const std::function<void()> &clear)
{
    return makePaneButtons(
        namePrefix, clear, [pane] { pane->moveCursor(QTextCursor::End); },
        [pane] { pane->moveCursor(QTextCursor::Start); });
}

void ToolWindow::showAsImageButtons(const PaneButtons &buttons)
{
    InitResources();
    const std::pair<QPushButton *, const char *> looks[] = {{buttons.clear, ":/images/clear.png"},
                                                            {buttons.bottom, ":/images/go_bottom.png"},
                                                            {buttons.top, ":/images/go_top.png"}};
    for (const auto &[button, image] : looks) {
        button->setToolTip(button->text());
        button->setText(QString());
        button->setIcon(QIcon(QString::fromLatin1(image)));
        button->setIconSize(QSize(32, 32));
        button->setFixedSize(44, 44);
    }
}

void ToolWindow::fitAndCentre(const QSize &wanted)
{
    QWidget *host = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *shownOn = host ? host->screen() : screen();
    const QRect available = shownOn ? shownOn->availableGeometry() : QRect(QPoint(), wanted);
    // Room for the frame and title bar the window manager adds.
    const QSize frame(16, 40);
    const QSize size = wanted.boundedTo(available.size() - frame).expandedTo(QSize(200, 150));
    resize(size);
    QRect placed(QPoint(), size + frame);
    placed.moveCenter(host ? host->frameGeometry().center() : available.center());
    const int x =
        std::clamp(placed.left(), available.left(), std::max(available.left(), available.right() + 1 - placed.width()));
    const int y =
        std::clamp(placed.top(), available.top(), std::max(available.top(), available.bottom() + 1 - placed.height()));
    move(x, y);
}

} // namespace lexaloom
