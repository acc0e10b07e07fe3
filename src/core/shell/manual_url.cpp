#include "core/shell/manual_url.h"

#include <QUrl>

namespace lexaloom {

QString ManualUrl(const QString &programFolder, const QString &anchor)
{
    // QUrl builds the "file:///" form for POSIX and drive-letter paths alike.
    QUrl url = QUrl::fromLocalFile(programFolder + manualFileName());
    if (anchor.startsWith(QLatin1Char('#')))
        url.setFragment(anchor.mid(1));
    return url.toString(QUrl::FullyEncoded);
}

} // namespace lexaloom
