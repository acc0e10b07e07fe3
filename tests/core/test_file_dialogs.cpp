#include "core/shell/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "scripted_ui.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::readFile;
using lexaloom::testing::ScriptedUi;

namespace {

const QString dictionaryFilter = QStringLiteral("Dictionary (*.dic)|*.dic");
const QString bulkImportFilter = QStringLiteral("Text file (*.txt)|*.txt|XML file (*.xml)|*.xml");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(FileDialogsTest, SaveExtensionRules)
{
    const struct {
        const char *typed;
        QString filter;
        const char *extension;
        const char *expected;
    } cases[] = {
        {"words", dictionaryFilter, ".dic", "words.dic"},
        {"WORDS.DIC", dictionaryFilter, ".dic", "WORDS.DIC"},
        {"words.txt", dictionaryFilter, ".dic", "words.txt.dic"},
        {"list.xml", bulkImportFilter, ".txt", "list.xml"},
        {"list", bulkImportFilter, ".txt", "list.txt"},
        {"LIST.TXT", bulkImportFilter, ".txt", "LIST.TXT"},
        {"list.csv", bulkImportFilter, ".txt", "list.csv.txt"},
        {"p", QStringLiteral("Profile (*.lxm_profile)|*.lxm_profile"), ".lxm_profile", "p.lxm_profile"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(WithSaveExtension(QString::fromUtf8(c.typed), c.filter, QString::fromUtf8(c.extension)),
                  QString::fromUtf8(c.expected))
            << c.typed;
    }
}

TEST(FileDialogsTest, FiltersBecomeDialogFilters)
{
    EXPECT_EQ(DialogFilter(dictionaryFilter), QStringLiteral("Dictionary (*.dic)"));
    EXPECT_EQ(DialogFilter(bulkImportFilter), QStringLiteral("Text file (*.txt);;XML file (*.xml)"));
    EXPECT_EQ(DialogFilter(QStringLiteral(".xpi/.oxt (*.xpi/*.oxt)|*.xpi;*.oxt;")),
              QStringLiteral(".xpi/.oxt (*.xpi *.oxt)"));
}

TEST(FileDialogsTest, AskSavePathAsksBeforeOverwritingAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("words.dic"));
    writeFile(existing, "old");
    QDir(dir.path()).mkdir(QStringLiteral("folder.dic"));

    ScriptedUi ui;
    ui.savePaths = {QString(), dir.filePath(QStringLiteral("new")), dir.filePath(QStringLiteral("words")),
                    dir.filePath(QStringLiteral("words")), dir.filePath(QStringLiteral("folder"))};
    ui.answers = {false, true};
    const auto ask = [&ui] { return AskSavePath(ui, QStringLiteral("Save Dictionary"), dictionaryFilter, ".dic"); };

    EXPECT_EQ(ask(), QString()); // cancelled
    EXPECT_EQ(ask(), dir.filePath(QStringLiteral("new.dic")));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ask(), QString()); // No to overwriting
    EXPECT_EQ(ask(), existing);  // Yes
    ASSERT_EQ(ui.messages.size(), 2);
    for (const auto &m : ui.messages) {
        EXPECT_EQ(m.title, QStringLiteral("Warning!"));
        EXPECT_EQ(m.text, QStringLiteral("File already exists! Overwrite it?"));
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        EXPECT_TRUE(m.question);
    }
    // Agreeing to overwrite does not delete: the save replaces the file only once it is written.
    EXPECT_EQ(readFile(existing), QByteArray("old"));
    EXPECT_EQ(ask(), dir.filePath(QStringLiteral("folder.dic"))); // a folder is not a file to overwrite
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.dialogTitles, QStringList(5, QStringLiteral("Save Dictionary")));
    EXPECT_EQ(ui.unscriptedQuestions, 0);
}

TEST(FileDialogsTest, AskOpenPathReturnsTheChoiceOrEmpty)
{
    ScriptedUi ui;
    ui.openPaths = {QStringLiteral("/x/missing.dic")};
    EXPECT_EQ(AskOpenPath(ui, QStringLiteral("Open Dictionary"), dictionaryFilter), QStringLiteral("/x/missing.dic"));
    EXPECT_EQ(AskOpenPath(ui, QStringLiteral("Open Dictionary"), dictionaryFilter), QString());
    EXPECT_EQ(ui.dialogTitles.size(), 2);
}

TEST(FileDialogsTest, CheckFileExistsRejectsMissingEmptyAndFolders)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("empty.dic")), QByteArray());
    writeFile(dir.filePath(QStringLiteral("one.dic")), "1");
    const struct {
        const char *name;
        bool exists;
    } cases[] = {{"missing.dic", false}, {"empty.dic", false}, {"", false}, {"one.dic", true}};
    for (const auto &c : cases) {
        ScriptedUi ui;
        const QString message = QStringLiteral("File not found.");
        EXPECT_EQ(CheckFileExists(ui, dir.filePath(QString::fromUtf8(c.name)), message), c.exists) << c.name;
        if (c.exists) {
            EXPECT_TRUE(ui.messages.isEmpty());
        } else {
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error"));
            EXPECT_EQ(ui.messages[0].text, message);
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
        }
    }
}

TEST(FileDialogsTest, NormaliseLineEnds)
{
    const struct {
        const char *in;
        const char *out;
    } cases[] = {
        {"a\r\nb\rc\nd", "a\nb\nc\nd"},
        {"\r\r\n\n", "\n\n\n"},
        {"no ends", "no ends"},
        {"\r", "\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NormaliseLineEnds(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}
