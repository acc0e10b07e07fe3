#pragma once

#include <QString>

namespace lexaloom {

// The Statistics window's reference total, kept between runs in its settings file.
struct DicStatsReference {
    QString value;
    QString lastRemember = lastRememberPrefix() + QStringLiteral("N/A");

    bool operator==(const DicStatsReference &) const = default;
    static QString lastRememberPrefix() { return QStringLiteral("Last Remember:"); }
};

} // namespace lexaloom
