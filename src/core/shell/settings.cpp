#include "shell/settings.h"

#include <QStringList>

namespace lexaloom {

namespace {

QPair<int, int> parseSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() == 2) {
        bool okW = false;
        bool okH = false;
        const int w = parts[0].trimmed().toInt(&okW);
        const int h = parts[1].trimmed().toInt(&okH);
        if (okW && okH && w > 0 && h > 0)
            return {w, h};
    }
    return {1280, 600};
}

} // namespace

int MainSettings::windowWidth() const
{
    return parseSize(windowSize).first;
}

int MainSettings::windowHeight() const
{
    return parseSize(windowSize).second;
}

} // namespace lexaloom
