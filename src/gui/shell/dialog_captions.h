#pragma once

#include <QString>

namespace lexaloom {

// Button captions that several windows share.
inline QString closeCaption()
{
    return QStringLiteral("Close");
}
inline QString okCaption()
{
    return QStringLiteral("OK");
}
inline QString cancelCaption()
{
    return QStringLiteral("Cancel");
}
// The buttons under a report pane or a result list.
inline QString clearCaption()
{
    return QStringLiteral("Clear");
}
inline QString goBottomCaption()
{
    return QStringLiteral("Go to bottom");
}
inline QString goTopCaption()
{
    return QStringLiteral("Go to top");
}

} // namespace lexaloom
