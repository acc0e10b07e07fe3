#include "core/shell/panel_ui.h"

namespace lexaloom {

PanelUi::PanelUi(Ui &inner, ProgressPanel &panel)
    : m_inner(inner)
    , m_panel(panel)
{
}

void PanelUi::showMessage(const QString &title, const QString &text, MessageIcon icon)
{
    m_inner.showMessage(title, text, icon);
}

bool PanelUi::askYesNo(const QString &title, const QString &text, MessageIcon icon)
{
    return m_inner.askYesNo(title, text, icon);
}

QString PanelUi::askOpenPath(const QString &title, const QString &directory, const QString &filter)
{
    return m_inner.askOpenPath(title, directory, filter);
}

QString PanelUi::askSavePath(const QString &title, const QString &suggestedPath, const QString &filter)
{
    return m_inner.askSavePath(title, suggestedPath, filter);
}

void PanelUi::setStatusText(const QString &text)
{
    m_text = text;
    m_panel.setPanelText(text);
}

void PanelUi::setProgressRange(qint64 minimum, qint64 maximum)
{
    m_panel.setPanelRange(minimum, maximum);
}

void PanelUi::setProgressValue(qint64 value)
{
    m_panel.setPanelValue(value);
}

void PanelUi::setClipboardText(const QString &text)
{
    m_inner.setClipboardText(text);
}

QString PanelUi::clipboardText() const
{
    return m_inner.clipboardText();
}

void PanelUi::openUrl(const QString &url)
{
    m_inner.openUrl(url);
}

void PanelUi::processEvents()
{
    m_inner.processEvents();
}

bool PanelUi::takeAbortRequest()
{
    // The program's own Abort shortcut is consumed too, so a stale press cannot
    // surface in the next task of the main window.
    const bool programAbort = m_inner.takeAbortRequest();
    if (m_pendingAborts > 0) {
        --m_pendingAborts;
        return true;
    }
    return programAbort;
}

void PanelUi::pause(int ms)
{
    m_inner.pause(ms);
}

const Clock &PanelUi::clock() const
{
    return m_inner.clock();
}

} // namespace lexaloom
