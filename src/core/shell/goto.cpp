#include "core/shell/goto.h"

#include "core/shell/long_task.h"

namespace lexaloom {

QString NoEntriesFoundText(const QString &noun)
{
    return QStringLiteral("No ") + noun + QStringLiteral(" found.");
}

GotoRequest::GotoRequest(QString noun, qint64 count)
    : m_noun(std::move(noun))
    , m_count(count)
{
}

bool GotoRequest::checkCanOpen(Ui &ui) const
{
    if (m_count > 0)
        return true;
    ui.showMessage(LongTask::warningTitle(), NoEntriesFoundText(m_noun), MessageIcon::Warning);
    return false;
}

QString GotoRequest::title() const
{
    return QStringLiteral("Goto ") + m_noun + QStringLiteral(" position (1:") + QString::number(m_count) +
           QLatin1Char(')');
}

qint64 GotoRequest::FieldValue(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

bool GotoRequest::isInRange(const QString &text) const
{
    const qint64 value = FieldValue(text);
    return value >= 1 && value <= m_count;
}

std::optional<qint64> GotoRequest::accept(const QString &text, Ui &ui, QString &remembered) const
{
    if (!isInRange(text)) {
        ui.showMessage(LongTask::warningTitle(),
                       QStringLiteral("Position must be between 1:") + QString::number(m_count), MessageIcon::Warning);
        return std::nullopt;
    }
    remembered = text;
    return FieldValue(text) - 1;
}

} // namespace lexaloom
