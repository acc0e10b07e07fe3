#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/dictionary_tools/master_wordlist.h"
#include "core/shell/settings.h"
#include "core/shell/text_folding.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

struct Files {
    QTemporaryDir dir;
    int next = 0;
    QString write(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("list%1.txt").arg(next++));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

// The comparison as the tool describes it: every line a record (the Master read
// twice), sorted by line, runs emptied down to their first record which inherits the
// Master mark, Master records emptied, the rest sorted by folded key.
QStringList directMissing(const QStringList &master, const QList<QStringList> &others)
{
    struct R {
        QString key, line;
        int fromMaster;
    };
    std::vector<R> rs;
    for (int pass = 0; pass < 2; ++pass)
        for (const QString &l : master)
            rs.push_back({FoldAccents(l), l, 1});
    for (const QStringList &o : others)
        for (const QString &l : o)
            rs.push_back({FoldAccents(l), l, 0});
    std::stable_sort(rs.begin(), rs.end(), [](const R &a, const R &b) { return a.line < b.line; });
    for (size_t i = 0; i < rs.size();) {
        size_t j = i + 1;
        while (j < rs.size() && rs[j].line == rs[i].line) {
            if (rs[j].fromMaster)
                rs[i].fromMaster = 1;
            rs[j].line.clear();
            ++j;
        }
        i = j;
    }
    for (R &r : rs)
        if (r.fromMaster)
            r.line.clear();
    std::stable_sort(rs.begin(), rs.end(),
                     [](const R &a, const R &b) { return a.key != b.key ? a.key < b.key : a.line < b.line; });
    QStringList out;
    for (const R &r : rs)
        if (!r.line.isEmpty())
            out << r.line;
    return out;
}

QByteArray linesOf(const QStringList &lines)
{
    return lines.isEmpty() ? QByteArray() : (lines.join(u'\n') + u'\n').toUtf8();
}

} // namespace

TEST(MasterWordlist, EdgeCasesOfTheComparison)
{
    const struct {
        const char *name;
        QByteArray master;
        QList<QByteArray> others;
        QStringList missing;
        qint64 total;
    } cases[] = {
        {"exact lines", "apple\n", {"apple\nApple\npear\npear\n"}, {"Apple", "pear"}, 5},
        {"master only words never appear", "kiwi\napple\n", {"apple\n"}, {}, 3},
        {"folded order",
         "x\n",
         {"ferry\n\xC3\xA9"
          "clair\neclair\n"},
         {"eclair",
          "\xC3\xA9"
          "clair",
          "ferry"},
         4},
        {"empty lines",
         "x\r\n\r\n",
         {"\n\nb\r\n", "\xEF\xBB\xBF"
                       "c"},
         {"b", "c"},
         6},
        {"several others", "a\n", {"b\na\n", "c\nb\n"}, {"b", "c"}, 5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Files files;
        ScriptedUi ui;
        MainSettings settings;
        const QString master = files.write(c.master);
        QStringList others;
        for (const QByteArray &o : c.others)
            others << files.write(o);
        MasterDisplay display;
        const MissingWords result = FindMissingWords(master, others, ui, settings, &display);
        EXPECT_EQ(result.words, c.missing);
        EXPECT_EQ(result.totalWords, c.total);
        EXPECT_EQ(ui.statuses.last(), QStringLiteral("Processing:6/6: Done!"));
        EXPECT_EQ(display.missing, QStringLiteral("Missing words:%1").arg(c.missing.size()));
        EXPECT_EQ(display.total, QStringLiteral("Total words:%1 (All files)").arg(c.total));
        EXPECT_EQ(ui.messageTexts(),
                  c.missing.isEmpty() ? QStringList{"No words are missing in Master wordlist."} : QStringList{});
    }
}

TEST(MasterWordlist, SameResultAsTheDirectLoop)
{
    const QStringList pool = {"a", "A", "b", "\u00E9t\u00E9", "ete", "Ete", "", "z", "\u00C9t\u00E9", "zz", "Zz", "ab"};
    QRandomGenerator random(7);
    for (int round = 0; round < 200; ++round) {
        const auto draw = [&] {
            QStringList l;
            for (int n = int(random.bounded(8)); n > 0; --n)
                l << pool[random.bounded(pool.size())];
            return l;
        };
        QStringList master = draw();
        master << "a";
        QList<QStringList> others;
        for (int n = 1 + int(random.bounded(3)); n > 0; --n) {
            others << draw();
            others.last() << "q";
        }
        Files files;
        const QString masterPath = files.write(linesOf(master));
        QStringList paths;
        for (const QStringList &o : others)
            paths << files.write(linesOf(o));
        ScriptedUi ui;
        MainSettings settings;
        ASSERT_EQ(FindMissingWords(masterPath, paths, ui, settings).words, directMissing(master, others));
    }
}

TEST(MasterWordlist, MissingFilesAndAbort)
{
    Files files;
    MainSettings settings;
    const QString good = files.write("a\n");
    const QString empty = files.write("");
    const struct {
        const char *name;
        QString master;
        QStringList others;
        bool escape;
        QString status;
        QStringList messages;
    } cases[] = {
        {"empty master", empty, {good}, false, "Processing:1/6: Aborted.", {"File not found."}},
        {"missing other",
         good,
         {good, files.dir.filePath("none.txt")},
         false,
         "Processing:2/6: Aborted.",
         {"File not found."}},
        {"escape", good, {good}, true, "Processing:1/6: Aborted.", {"Really abort?"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUi ui;
        if (c.escape) {
            ui.pressEscape();
            ui.answers.push_back(true);
        }
        const MissingWords result = FindMissingWords(c.master, c.others, ui, settings);
        EXPECT_EQ(result.outcome, c.escape ? MasterOutcome::Aborted : MasterOutcome::Failed);
        EXPECT_EQ(ui.statuses.last(), c.status);
        EXPECT_EQ(ui.messageTexts(), c.messages);
    }
    // Ten files in all, the Master one of them, as the window's rows allow.
    for (const int count : {9, 10}) {
        SCOPED_TRACE(count);
        ScriptedUi ui;
        const MissingWords result = FindMissingWords(good, QStringList(count, good), ui, settings);
        EXPECT_EQ(result.outcome, count == 9 ? MasterOutcome::NoneMissing : MasterOutcome::Refused);
        EXPECT_EQ(ui.messageTexts(), QStringList(count == 9 ? "No words are missing in Master wordlist."
                                                            : "Number of files is limited to 10."));
    }
}

TEST(MasterWordlist, WindowRowsAndSaves)
{
    Files files;
    MainSettings settings;
    ScriptedUi ui;
    MasterWordlistSession session(settings, ui);
    EXPECT_EQ(session.process(ui), MasterOutcome::Refused);
    const QString master = files.write("apple\n");
    const QString other = files.write("Apple\npear\n1st\n\xC3\x89mile\n");
    ui.openPaths = {other};
    EXPECT_TRUE(session.addFile(false));
    EXPECT_EQ(session.process(ui), MasterOutcome::Refused);
    EXPECT_EQ(session.process(ui), MasterOutcome::Refused);
    ui.openPaths = {master, files.dir.filePath("none.txt")};
    EXPECT_TRUE(session.addFile(true));
    EXPECT_FALSE(session.addFile(true));
    EXPECT_FALSE(session.addFile(false));
    EXPECT_EQ(ui.dialogTitles,
              (QStringList{"Select Other Text File", "Select Master Text File", "Select Other Text File"}));
    EXPECT_EQ(MasterWordlistSession::typeText(session.rows()[1]), QStringLiteral("Master"));
    EXPECT_EQ(MasterWordlistSession::sizeText(session.rows()[1]), QStringLiteral("6 bytes"));
    EXPECT_EQ(session.save(false), false);
    EXPECT_EQ(session.process(ui), MasterOutcome::Done);
    EXPECT_EQ(session.missingWords(), (QStringList{"1st", "Apple", "\u00C9mile", "pear"}));

    const QString out = files.dir.filePath("caps");
    ui.savePaths = {out, out};
    ui.answers = {true};
    EXPECT_TRUE(session.save(true));
    EXPECT_EQ(Files::read(out + ".txt"), QByteArray("\xEF\xBB\xBF"
                                                    "Apple\n\xC3\x89mile\n"));
    EXPECT_TRUE(session.save(false));
    EXPECT_EQ(Files::read(out + ".txt"), QByteArray("\xEF\xBB\xBF"
                                                    "1st\nApple\n\xC3\x89mile\npear\n"));
    EXPECT_EQ(ui.messageTexts(),
              (QStringList{"Nothing to process.", "You need at least two wordlists.",
                           "You need at least two wordlists.", "You can only have one Master file.", "File not found.",
                           "Nothing to save.", "UCase words extracted: 2", "File already exists! Overwrite it?"}));

    ui.clearRecords();
    EXPECT_FALSE(session.deleteTicked(-1));
    session.setTicked(0, true);
    ui.answers = {false};
    EXPECT_FALSE(session.deleteTicked(1));
    EXPECT_TRUE(session.deleteTicked(0));
    EXPECT_EQ(session.rows().size(), size_t(1));
    EXPECT_EQ(ui.messageTexts(), (QStringList{"Nothing to delete.", "Delete selected entries?"}));
    EXPECT_EQ(session.process(ui), MasterOutcome::Refused);
}
