#include "gui/shell/widget_ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/shell/file_dialogs.h"

namespace lexaloom {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void SetIdleSafeRange(QProgressBar &bar, int minimum, int maximum)
{
    // A bar whose range is empty draws itself as busy (full, or moving) whatever its
    // value; tasks that know no item count pass such a range, and their Finish must
    // still leave an empty bar.
    bar.setRange(minimum, std::max(maximum, minimum + 1));
}

void WidgetUi::attach(QWidget *parent, QLabel *statusField, QProgressBar *progressField)
{
    m_parent = parent;
    m_status = statusField;
    m_progress = progressField;
    if (m_status)
        m_status->setText(m_statusText);
}

void WidgetUi::showMessage(const QString &title, const QString &text, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool WidgetUi::askYesNo(const QString &title, const QString &text, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

int WidgetUi::askChoice(const QString &title, const QString &text, const QStringList &choices, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, m_parent);
    QList<QAbstractButton *> buttons;
    for (qsizetype i = 0; i < choices.size(); ++i) {
        const bool last = i + 1 == choices.size();
        buttons.append(box.addButton(choices[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
        box.setEscapeButton(buttons.last());
    }
    box.exec();
    const qsizetype index = buttons.indexOf(box.clickedButton());
    return index < 0 ? int(choices.size()) - 1 : int(index);
}

QString WidgetUi::askOpenPath(const QString &title, const QString &directory, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, directory, filter);
}

QString WidgetUi::askSavePath(const QString &title, const QString &suggestedPath, const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, title, suggestedPath, filter);
}

void WidgetUi::setStatusText(const QString &text)
{
    m_statusText = text;
    if (m_status)
        m_status->setText(text);
}

QString WidgetUi::statusText() const
{
    return m_statusText;
}

int WidgetUi::scaled(qint64 value) const
{
    return static_cast<int>(value / m_progressDivisor);
}

void WidgetUi::setProgressRange(qint64 minimum, qint64 maximum)
{
    m_progressMinimum = minimum;
    m_progressMaximum = maximum;
    const qint64 span = std::max(std::abs(minimum), std::abs(maximum));
    m_progressDivisor = span > INT_MAX ? span / INT_MAX + 1 : 1;
    if (m_progress)
        SetIdleSafeRange(*m_progress, scaled(minimum), scaled(maximum));
}

void WidgetUi::setProgressValue(qint64 value)
{
    if (m_progress)
        m_progress->setValue(
            scaled(std::clamp(value, m_progressMinimum, std::max(m_progressMinimum, m_progressMaximum))));
}

void WidgetUi::setClipboardText(const QString &text)
{
    QApplication::clipboard()->setText(text);
}

QString WidgetUi::clipboardText() const
{
    return QApplication::clipboard()->text();
}

QString UrlNotOpenedText(const QString &url)
{
    const QUrl target(url, QUrl::StrictMode);
    if (target.isLocalFile())
        return QStringLiteral("Can't open ") + QDir::toNativeSeparators(target.toLocalFile()) +
               QStringLiteral(".\n\nThe desktop has no program set for it: open the file in a web browser.");
    return QStringLiteral("Can't open ") + url +
           QStringLiteral(".\n\nThe desktop has no program set for it: open the address in a web browser.");
}

void WidgetUi::setUrlOpener(std::function<bool(const QUrl &)> opener)
{
    m_urlOpener = std::move(opener);
}

void WidgetUi::openUrl(const QString &url)
{
    const QUrl target(url, QUrl::StrictMode);
    const bool opened = m_urlOpener ? m_urlOpener(target) : QDesktopServices::openUrl(target);
    // Without a handler the desktop says nothing on screen; the user must learn where
    // the manual (or the page) is to open it by hand.
    if (!opened)
        showMessage(fileTexts::errorTitle, UrlNotOpenedText(url), MessageIcon::Warning);
}

void WidgetUi::processEvents()
{
    QApplication::processEvents();
}

bool WidgetUi::takeAbortRequest()
{
    const bool requested = m_abortRequested;
    m_abortRequested = false;
    return requested;
}

void WidgetUi::pause(int ms)
{
    // A local loop keeps the window painting without spinning the processor.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace lexaloom
