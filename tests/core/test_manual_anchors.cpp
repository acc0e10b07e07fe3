#include "core/shell/manual_url.h"
#include "gtest_qt_printers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <ostream>

using namespace lexaloom;

namespace {

// The project's root, two levels above the fixtures.
QString sourceRoot()
{
    return QDir(QStringLiteral(LEXALOOM_FIXTURES "/../..")).canonicalPath();
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every anchor literal in the program's sources: a whole string literal "#" + a
// name, whatever its first character (a section number or not). Literals that are
// colours ("#RRGGBB" and the like) or not names ("#", "#...", "###END###", "#/other")
// are not anchors.
QMap<QString, QString> anchorsInCode()
{
    static const QRegularExpression literal(QStringLiteral(R"re("(#[A-Za-z0-9][A-Za-z0-9._\-]*)")re"));
    static const QRegularExpression colour(
        QStringLiteral(R"re(^#(?:[0-9A-Fa-f]{3}|[0-9A-Fa-f]{6}|[0-9A-Fa-f]{8})$)re"));
    QMap<QString, QString> anchors; // anchor -> the file it was seen in
    QDirIterator it(sourceRoot() + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QRegularExpressionMatchIterator m = literal.globalMatch(readText(path));
        while (m.hasNext()) {
            const QString anchor = m.next().captured(1);
            if (!colour.match(anchor).hasMatch())
                anchors.insert(anchor, QFileInfo(path).fileName());
        }
    }
    return anchors;
}

} // namespace

// Every anchor the program opens has its section in the manual, and the manual's own
// links and pictures lead somewhere.
TEST(ManualTest, EveryAnchorTheProgramOpensIsInTheManual)
{
    const QString manualPath = sourceRoot() + QStringLiteral("/docs/") + manualFileName();
    const QString manual = readText(manualPath);
    ASSERT_FALSE(manual.isEmpty()) << manualPath.toStdString();
    EXPECT_FALSE(manual.contains(QStringLiteral("The manual is being written.")));

    static const QRegularExpression idAttribute(QStringLiteral(R"re(\bid="([^"]+)")re"));
    QSet<QString> ids;
    QRegularExpressionMatchIterator m = idAttribute.globalMatch(manual);
    while (m.hasNext()) {
        const QString id = m.next().captured(1);
        EXPECT_FALSE(ids.contains(id)) << "id twice: " << id.toStdString();
        ids.insert(id);
    }

    const QMap<QString, QString> anchors = anchorsInCode();
    // The table of anchors and the main window's licence link are always among them.
    for (const QString &known : {manualAnchors::affValidate, manualAnchors::crunch, manualAnchors::licence,
                                 manualAnchors::statistics, manualAnchors::preferences, manualAnchors::posSettings})
        EXPECT_TRUE(anchors.contains(known)) << known.toStdString();
    for (auto it = anchors.cbegin(); it != anchors.cend(); ++it)
        EXPECT_TRUE(ids.contains(it.key().mid(1)))
            << it.key().toStdString() << " (from " << it.value().toStdString() << ") has no section in the manual";

    static const QRegularExpression innerLink(QStringLiteral(R"re(href="#([^"]+)")re"));
    m = innerLink.globalMatch(manual);
    while (m.hasNext()) {
        const QString target = m.next().captured(1);
        EXPECT_TRUE(ids.contains(target)) << "broken link #" << target.toStdString();
    }
    static const QRegularExpression image(QStringLiteral(R"re(<img src="([^"]+)")re"));
    m = image.globalMatch(manual);
    while (m.hasNext()) {
        const QString src = m.next().captured(1);
        EXPECT_TRUE(QFileInfo::exists(sourceRoot() + QStringLiteral("/docs/") + src)) << src.toStdString();
    }
}

// The URL handed to the browser: the file beside the program, percent-encoded, with the
// anchor after the file name.
TEST(ManualTest, UrlIsPercentEncodedWithTheAnchor)
{
    EXPECT_EQ(ManualUrl(QStringLiteral("/opt/lexaloom/"), manualAnchors::affValidate),
              QStringLiteral("file:///opt/lexaloom/Lexaloom_manual_V30.html#5.2.5.1.aff_validate"));
    EXPECT_EQ(ManualUrl(QStringLiteral("/home/zoë/my tools/")),
              QStringLiteral("file:///home/zo%C3%AB/my%20tools/Lexaloom_manual_V30.html"));
}
