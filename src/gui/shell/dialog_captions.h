#pragma once

#include <QString>

namespace lexaloom {

// Button captions that several windows share.
inline QString closeCaption()
{
    return QStringLiteral("Close");
}

} // namespace lexaloom
