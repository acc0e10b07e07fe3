#include "core/thesaurus/thesaurus_tools.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>

#include "core/shell/settings.h"
#include "core/thesaurus/thesaurus_document.h"
#include "core/thesaurus/thesaurus_files.h"

#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

QStringList entriesOf(const ThesaurusDocument &document)
{
    QStringList list;
    for (qint64 i = 0; i < document.entries.size(); ++i)
        list.append(document.entries.at(i));
    return list;
}

ThesaurusDocument documentOf(const QStringList &entries)
{
    ThesaurusDocument doc;
    for (const QString &entry : entries)
        doc.entries.append(entry);
    return doc;
}

QString readText(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << path.toStdString();
    return QString::fromUtf8(bytes.mid(3));
}

// Takes whatever the tool asks for; the Yes answers are scripted by the caller.
struct Host final : ThesaurusDuplicatesHost {
    QList<qint64> shown;
    void showEntry(qint64 index) override { shown.append(index); }
};

// Escape pressed at the first poll, "Really abort?" answered Yes.
void escapeAtOnce(ScriptedUi &ui)
{
    ui.onProcessEvents = [pressed = false](ScriptedUi &u) mutable {
        u.fakeClock.advance(1000);
        if (!pressed) {
            pressed = true;
            u.pressEscape();
        }
    };
}

const QStringList sample{
    QStringLiteral("happy|2\n(adj)|glad|content\n(adj)|joyful"),
    QStringLiteral("cat|1\n(noun)|feline"),
};

} // namespace

TEST(ThesaurusToolsTest, EveryToolRefusesAnEmptyThesaurus)
{
    MainSettings settings;
    CleanUpOptions remembered;
    const std::function<bool(ThesaurusDocument &, ScriptedUi &)> tools[] = {
        [&](ThesaurusDocument &d, ScriptedUi &ui) { return ExtractSynonyms(d, settings, ui, false); },
        [&](ThesaurusDocument &d, ScriptedUi &ui) {
            return CleanUpSymbols(d, settings, ui, remembered, [](const CleanUpOptions &o) { return o; }).changed;
        },
        [&](ThesaurusDocument &d, ScriptedUi &ui) { return CombineSimple(d, settings, ui); },
        [&](ThesaurusDocument &d, ScriptedUi &ui) { return SortOrDeduplicateMeanings(d, settings, ui, false); },
        [&](ThesaurusDocument &d, ScriptedUi &ui) { return SortOrDeduplicateMeanings(d, settings, ui, true); },
        [&](ThesaurusDocument &d, ScriptedUi &ui) { return SortOnNumbers(d, settings, ui); },
        [&](ThesaurusDocument &d, ScriptedUi &ui) { return FixThesaurusSpaces(d, settings, ui); },
        [&](ThesaurusDocument &d, ScriptedUi &ui) {
            Host host;
            return ThesaurusDuplicatesSession(d, settings, ui, host).start();
        },
    };
    for (const auto &tool : tools) {
        ThesaurusDocument doc;
        ScriptedUi ui;
        EXPECT_FALSE(tool(doc, ui));
        EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("No synonyms found.")});
        EXPECT_EQ(ui.messages.value(0).title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        EXPECT_FALSE(doc.hasUndoStep());
        EXPECT_TRUE(ui.dialogTitles.isEmpty());
    }
}

TEST(ThesaurusToolsTest, ExtractsPlainAndBookFiles)
{
    QTemporaryDir dir;
    const ThesaurusDocument doc = documentOf(sample);
    MainSettings settings;
    const struct {
        bool book;
        const char *title;
        const char *text;
    } cases[] = {
        {false, "Extract Thesaurus to file", "happy:\n(adj)|glad|content\n(adj)|joyful\n\ncat:\n(noun)|feline\n\n"},
        {true, "Extract Thesaurus to file (Book)",
         "happy:\n(adj), glad, content;\n(adj), joyful.\n\ncat:\n(noun), feline.\n\n"},
    };
    for (const auto &c : cases) {
        ScriptedUi ui;
        const QString path = dir.filePath(c.book ? QStringLiteral("book") : QStringLiteral("plain"));
        ui.savePaths = {path};
        EXPECT_TRUE(ExtractSynonyms(doc, settings, ui, c.book));
        EXPECT_EQ(ui.dialogTitles, QStringList{QString::fromUtf8(c.title)});
        EXPECT_EQ(readText(path + QStringLiteral(".txt")), QString::fromUtf8(c.text));
        EXPECT_EQ(ui.statuses.first(), QStringLiteral("Extracting Thesaurus... <ESC> To abort."));
        EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK. (0.0 MB) \u231A"))) << ui.statusText().toStdString();
    }
    // "-|" goes in the book form.
    ScriptedUi ui;
    ui.savePaths = {dir.filePath(QStringLiteral("dash.txt"))};
    EXPECT_TRUE(ExtractSynonyms(documentOf({QStringLiteral("go|1\n(verb)|move|-|leave")}), settings, ui, true));
    EXPECT_EQ(readText(dir.filePath(QStringLiteral("dash.txt"))), QStringLiteral("go:\n(verb), move, leave.\n\n"));

    // Cancelled dialog, and No to overwriting: nothing written.
    for (const bool exists : {false, true}) {
        ScriptedUi refused;
        refused.savePaths = {exists ? dir.filePath(QStringLiteral("dash.txt")) : QString()};
        refused.answers = {false};
        EXPECT_FALSE(ExtractSynonyms(doc, settings, refused, false));
        EXPECT_EQ(refused.statusText(), QStringLiteral("Aborted."));
    }
    EXPECT_EQ(readText(dir.filePath(QStringLiteral("dash.txt"))), QStringLiteral("go:\n(verb), move, leave.\n\n"));
}

TEST(ThesaurusToolsTest, CleanUpRewritesMeaningLines)
{
    const CleanUpOptions all;
    const CleanUpOptions only3{false, false, true};
    const CleanUpOptions only1and3{true, false, true};
    const struct {
        const char *line;
        CleanUpOptions options;
        const char *cleaned;
    } cases[] = {
        {"(noun)|car (generic term)|auto", only3, "|car |auto"},
        {"(noun)|car (generic term)|auto", only1and3, "|car |auto"},
        {"(noun)|car (generic term)|auto", all, " car  auto"},
        {"(verb)|go|-|leave", CleanUpOptions{true, false, false}, "(verb)|go|leave"},
        // Unbalanced brackets stay; ")(" stops the cutting.
        {"(noun|car", only3, "(noun|car"},
        {"a)b(c", only3, "a)b(c"},
        {"(a)b(c)", only3, "b"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CleanUpMeaningLine(QString::fromUtf8(c.line), c.options), QString::fromUtf8(c.cleaned)) << c.line;

    // Clean up with options 1 and 3, then Fix invalid spaces.
    MainSettings settings;
    ThesaurusDocument doc = documentOf({QStringLiteral("car|1\n(noun)|car (generic term)|auto")});
    CleanUpOptions remembered;
    ScriptedUi ui;
    CleanUpOptions offered{false, false, false};
    const CleanUpResult result = CleanUpSymbols(doc, settings, ui, remembered, [&](const CleanUpOptions &current) {
        offered = current;
        return std::optional(only1and3);
    });
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(offered, all); // all ticked at first
    EXPECT_EQ(remembered, only1and3);
    EXPECT_EQ(entriesOf(doc), QStringList{QStringLiteral("car|1\n|car |auto")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK."));
    EXPECT_TRUE(ui.statuses.contains(QStringLiteral("Remove symbols. 3/3: Populating...0/1")));
    EXPECT_TRUE(FixThesaurusSpaces(doc, settings, ui));
    EXPECT_EQ(entriesOf(doc), QStringList{QStringLiteral("car|1\n|car|auto")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Fixed words:1"));
}

TEST(ThesaurusToolsTest, CleanUpStopsAtANullMeaningOrCancel)
{
    MainSettings settings;
    const QStringList entries{QStringLiteral("car|1\n(noun)|auto"), QStringLiteral("cool|2\n(adj)|hip\n(slang)")};
    CleanUpOptions remembered;
    {
        ThesaurusDocument doc = documentOf(entries);
        ScriptedUi ui;
        const CleanUpResult result =
            CleanUpSymbols(doc, settings, ui, remembered, [](const CleanUpOptions &o) { return o; });
        EXPECT_FALSE(result.changed);
        EXPECT_EQ(result.nullEntry, 1);
        EXPECT_EQ(doc.selectedIndex, 1);
        EXPECT_EQ(ui.statusText(), QStringLiteral("Null meaning at Line:2 Meaning:2! Aborted."));
        EXPECT_EQ(entriesOf(doc), entries);
        EXPECT_FALSE(doc.changed);
    }
    {
        ThesaurusDocument doc = documentOf(entries);
        ScriptedUi ui;
        EXPECT_FALSE(CleanUpSymbols(doc, settings, ui, remembered, [](const CleanUpOptions &) {
                         return std::optional<CleanUpOptions>();
                     }).changed);
        EXPECT_EQ(ui.statusText(), QStringLiteral("OK."));
        EXPECT_FALSE(doc.hasUndoStep());
    }
    {
        // Escape leaves the document as it was.
        ThesaurusDocument doc = documentOf({QStringLiteral("car|1\n(noun)|auto")});
        ScriptedUi ui;
        ui.answers = {true};
        escapeAtOnce(ui);
        EXPECT_FALSE(CleanUpSymbols(doc, settings, ui, remembered, [](const CleanUpOptions &o) { return o; }).changed);
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        EXPECT_EQ(entriesOf(doc), QStringList{QStringLiteral("car|1\n(noun)|auto")});
    }
}

TEST(ThesaurusToolsTest, ShowMergeDuplicates)
{
    MainSettings settings;
    ThesaurusDocument doc = documentOf({
        QStringLiteral("cat|2\nfeline\npuss"),
        QStringLiteral("dog|1\nhound"),
        QStringLiteral("cat|1\nfeline"),
        QStringLiteral("Cat|1\nboat"),
        QStringLiteral("dog|1\nhound"),
    });
    const QStringList before = entriesOf(doc);
    ScriptedUi ui;
    Host host;
    ThesaurusDuplicatesSession session(doc, settings, ui, host);
    doc.scrollPosition = 7;
    ASSERT_TRUE(session.start());
    EXPECT_TRUE(doc.hasUndoStep());
    QStringList rows;
    for (const DuplicateRow &row : session.rows())
        rows.append(row.header + QLatin1Char('@') + QString::number(row.index + 1));
    EXPECT_EQ(rows, (QStringList{"cat|1@3", "cat|2@1", "dog|1@2", "dog|1@5"}));
    EXPECT_EQ(session.foundText(), QStringLiteral("Found:4"));
    EXPECT_EQ(session.previewText(-1), QStringLiteral("Nothing to display"));
    EXPECT_EQ(session.previewText(1), QStringLiteral("feline\npuss"));
    session.display(3);
    EXPECT_EQ(host.shown, QList<qint64>{4});

    QTemporaryDir dir;
    ui.savePaths = {dir.filePath(QStringLiteral("dups"))};
    EXPECT_TRUE(session.exportRows());
    EXPECT_EQ(ui.dialogTitles.last(), QStringLiteral("Export Duplicates to file"));
    EXPECT_EQ(readText(dir.filePath(QStringLiteral("dups.txt"))),
              QStringLiteral("DUPLICATES FOUND:4\n\ncat|1\nfeline\n\ncat|2\nfeline\npuss\n\ndog|1\nhound\n\n"
                             "dog|1\nhound\n\n"));

    doc.entries.setMarked(0, true);
    EXPECT_EQ(session.merge(ui), ThesaurusDuplicatesSession::MergeOutcome::Merged);
    EXPECT_EQ(entriesOf(doc), (QStringList{"Cat|1\nboat", "cat|2\nfeline\npuss", "dog|1\nhound"}));
    EXPECT_EQ(doc.entries.markedCount(), 0);
    EXPECT_TRUE(doc.changed);
    EXPECT_EQ(ui.statusText(), QStringLiteral("OK."));
    // Each run is left as its first row, at its new place.
    rows.clear();
    for (const DuplicateRow &row : session.rows())
        rows.append(row.header + QLatin1Char('@') + QString::number(row.index + 1));
    EXPECT_EQ(rows, (QStringList{"cat|2@2", "dog|1@3"}));

    ASSERT_TRUE(UndoListChange(doc).has_value());
    EXPECT_EQ(entriesOf(doc), before);
}

TEST(ThesaurusToolsTest, MergeRefusesMoreThanAHundredMeanings)
{
    QString first = QStringLiteral("big|60");
    QString second = QStringLiteral("big|60");
    for (int i = 0; i < 60; ++i) {
        first += QStringLiteral("\na%1").arg(i);
        second += QStringLiteral("\nb%1").arg(i);
    }
    ThesaurusDocument doc = documentOf({first, second});
    MainSettings settings;
    ScriptedUi ui;
    Host host;
    ThesaurusDuplicatesSession session(doc, settings, ui, host);
    ASSERT_TRUE(session.start());
    EXPECT_EQ(session.merge(ui), ThesaurusDuplicatesSession::MergeOutcome::TooManyMeanings);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Found synonym with more than 100 meanings.")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(entriesOf(doc), (QStringList{first, second}));

    // Escape while the keys are built: no window, nothing changed.
    ScriptedUi escaping;
    escaping.answers = {true};
    escapeAtOnce(escaping);
    ThesaurusDuplicatesSession stopped(doc, settings, escaping, host);
    EXPECT_FALSE(stopped.start());
    EXPECT_EQ(escaping.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(entriesOf(doc), (QStringList{first, second}));

    // One entry, or none sharing a head word: nothing to show.
    for (const QStringList &entries : {QStringList{"cat|1\nfeline"}, QStringList{"cat|1\nfeline", "Cat|1\nboat"}}) {
        ThesaurusDocument single = documentOf(entries);
        ScriptedUi quiet;
        ThesaurusDuplicatesSession none(single, settings, quiet, host);
        EXPECT_FALSE(none.start());
        EXPECT_EQ(quiet.messageTexts(), QStringList{QStringLiteral("No duplicates found.")});
        EXPECT_EQ(quiet.statusText(), QStringLiteral("OK."));
    }
}

TEST(ThesaurusToolsTest, CombineBuildsTheSymmetricEntries)
{
    MainSettings settings;
    ThesaurusDocument doc = documentOf({QStringLiteral("big|2\nlarge\nhuge")});
    doc.entries.setMarked(0, true);
    ScriptedUi ui;
    EXPECT_TRUE(CombineSimple(doc, settings, ui));
    EXPECT_EQ(entriesOf(doc), (QStringList{"big|2\nlarge\nhuge", "huge|2\nlarge\nbig", "large|2\nbig\nhuge"}));
    EXPECT_EQ(ui.statusText(), QStringLiteral("New synonyms:2"));
    EXPECT_EQ(doc.entries.markedCount(), 0);
    EXPECT_TRUE(doc.changed);
    ASSERT_TRUE(UndoListChange(doc).has_value());
    EXPECT_EQ(entriesOf(doc), QStringList{QStringLiteral("big|2\nlarge\nhuge")});

    for (const char *refused : {"cat|1\n(noun)|feline", "cat|1\nfeline|puss", "go|1\nmove-|on", "cat|1\nfeline)"}) {
        ThesaurusDocument tagged = documentOf({QStringLiteral("big|1\nlarge"), QString::fromUtf8(refused)});
        ScriptedUi refusing;
        EXPECT_FALSE(CombineSimple(tagged, settings, refusing)) << refused;
        EXPECT_EQ(refusing.messageTexts(),
                  QStringList{QStringLiteral("Basic combine doesn't accept synonyms with:\n-| ( ) and |\n\n"
                                             "It only accepts one synonym per line.")});
        EXPECT_EQ(refusing.statusText(), QStringLiteral("Aborted."));
        EXPECT_EQ(tagged.entries.size(), 2);
        EXPECT_FALSE(tagged.changed);
    }
}

// The new entries grow with the square of an entry's meanings (30,000 entries of 100
// one-word meanings, 20 MB, ask for gigabytes): a result past the memory budget is
// refused before it is built, and the thesaurus stays as it was.
TEST(ThesaurusToolsTest, CombineRefusesAResultPastTheMemoryBudget)
{
    MainSettings settings;
    const QStringList entries{QStringLiteral("a|4\nb\nc\nd\ne"), QStringLiteral("f|4\ng\nh\ni\nj")};
    const struct {
        qint64 budget;
        bool combined;
    } cases[] = {{2000, false}, {3000, true}, {0, true}};
    for (const auto &c : cases) {
        ThesaurusDocument doc = documentOf(entries);
        ScriptedUi ui;
        EXPECT_EQ(CombineSimple(doc, settings, ui, c.budget), c.combined) << c.budget;
        if (c.combined) {
            EXPECT_EQ(doc.entries.size(), 10) << c.budget;
            EXPECT_TRUE(ui.messages.isEmpty()) << c.budget;
            continue;
        }
        EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Not enough memory to combine the synonyms:\n"
                                                                "the 8 new entries would take about 0.0 MB.")});
        EXPECT_EQ(ui.messages.first().title, QStringLiteral("Error"));
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        EXPECT_EQ(entriesOf(doc), entries);
        EXPECT_FALSE(doc.changed);
    }
}

TEST(ThesaurusToolsTest, SortAndDeduplicateMeanings)
{
    MainSettings settings;
    const struct {
        bool sort;
        const char *entry;
        const char *result;
    } cases[] = {
        {false, "w|3\na\nb\na", "w|2\nb\na"},
        {false, "w|4\nb\nA\na\nb", "w|3\nA\na\nb"},
        {false, "w|3\na\nA\na", "w|2\nA\na"},
        {false, "w|1\na", "w|1\na"},
        {true, "happy|3\ncontented\nsatisfied\ncarefree", "happy|3\ncarefree\ncontented\nsatisfied"},
        {true, "w|3\nb\nB\na", "w|3\na\nB\nb"},
    };
    for (const auto &c : cases) {
        ThesaurusDocument doc = documentOf({QString::fromUtf8(c.entry)});
        ScriptedUi ui;
        ui.answers = {true};
        SortOrDeduplicateMeanings(doc, settings, ui, c.sort);
        EXPECT_EQ(doc.entries.at(0), QString::fromUtf8(c.result)) << c.entry;
        EXPECT_EQ(doc.changed, qstrcmp(c.entry, c.result) != 0) << c.entry;
        const bool changedOne = qstrcmp(c.entry, c.result) != 0;
        EXPECT_EQ(ui.statusText(),
                  c.sort ? QStringLiteral("OK.") : QStringLiteral("Unduplicated synonyms meanings:%1").arg(changedOne));
        EXPECT_EQ(ui.messages.size(), c.sort ? 1 : 0);
        if (changedOne) {
            ASSERT_TRUE(UndoListChange(doc).has_value());
            EXPECT_EQ(doc.entries.at(0), QString::fromUtf8(c.entry));
        }
    }
    // No to the sort question changes nothing.
    ThesaurusDocument doc = documentOf({QStringLiteral("w|2\nb\na")});
    ScriptedUi ui;
    ui.answers = {false};
    EXPECT_FALSE(SortOrDeduplicateMeanings(doc, settings, ui, true));
    EXPECT_EQ(ui.messages.value(0).text.left(54),
              QStringLiteral("This changes the sequence of meanings in the synonyms."));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(doc.entries.at(0), QStringLiteral("w|2\nb\na"));
    EXPECT_FALSE(doc.hasUndoStep());
}

TEST(ThesaurusToolsTest, SortOnNumbers)
{
    MainSettings settings;
    QString ten = QStringLiteral("many|10");
    for (int i = 0; i < 10; ++i)
        ten += QStringLiteral("\nm%1").arg(i);
    ThesaurusDocument doc = documentOf(
        {ten, QStringLiteral("zed|2\na\nb"), QStringLiteral("\u00c9t\u00e9|2\nc\nd"), QStringLiteral("ant|1\nx")});
    doc.selectedIndex = 2;
    doc.entries.setMarked(1, true);
    ScriptedUi ui;
    EXPECT_TRUE(SortOnNumbers(doc, settings, ui));
    EXPECT_EQ(entriesOf(doc), (QStringList{"ant|1\nx", QStringLiteral("\u00c9t\u00e9|2\nc\nd"), "zed|2\na\nb", ten}));
    EXPECT_EQ(doc.selectedIndex, -1);
    EXPECT_EQ(doc.entries.markedCount(), 0);
    EXPECT_TRUE(ui.statusText().startsWith(QStringLiteral("OK. \u231A")));
    EXPECT_EQ(NumberSortKey(u"zed|2\na\nb"), QStringLiteral("0000000002zed"));
}

TEST(ThesaurusToolsTest, FixInvalidSpaces)
{
    MainSettings settings;
    const struct {
        const char *entry;
        const char *repaired;
    } repairs[] = {
        {"big  cat |1\n(noun) | huge  cat ", "big cat|1\n(noun)|huge cat"},
        {" lead|1\n \tx", " lead|1\n\tx"},
        {"a|1\nb   ", "a|1\nb"},
    };
    for (const auto &r : repairs)
        EXPECT_EQ(RepairThesaurusSpaces(QString::fromUtf8(r.entry)), QString::fromUtf8(r.repaired)) << r.entry;

    const struct {
        QStringList entries;
        const char *status;
        const char *message;
    } stops[] = {
        {{"ok|1\nx", "bad|2\nx\n  "}, "Null word at Line:2 Meaning:2 Aborted.", ""},
        {{"ok|1\nx", "bad|1\n |"}, "Null word at Line:2 Meaning:1 Aborted.", ""},
        {{"ok|1\nx", "bad|1\n-|"}, "Null word at Line:2 Meaning:1 Aborted.", ""},
        {{" |1\nx"}, "Null word at Line:1 Synonym Aborted.", ""},
        {{"ok|1\nx"}, "OK.", "No spaces to fix found!"},
    };
    for (const auto &s : stops) {
        ThesaurusDocument doc = documentOf(s.entries);
        ScriptedUi ui;
        EXPECT_FALSE(FixThesaurusSpaces(doc, settings, ui));
        EXPECT_EQ(ui.statusText(), QString::fromUtf8(s.status));
        EXPECT_EQ(ui.messageTexts().join(QString()), QString::fromUtf8(s.message));
        EXPECT_EQ(entriesOf(doc), s.entries);
        EXPECT_FALSE(doc.changed);
    }

    // Escape in the second pass keeps what was fixed; Undo brings all of it back.
    QStringList entries;
    for (int i = 0; i < 50; ++i)
        entries.append(QStringLiteral("w%1 |1\nx").arg(i));
    ThesaurusDocument doc = documentOf(entries);
    ScriptedUi ui;
    ui.answers = {true};
    ui.onProcessEvents = [calls = 0](ScriptedUi &u) mutable {
        u.fakeClock.advance(30);
        if (u.statusText().startsWith(QStringLiteral("Fixing spaces 2/2...")) && ++calls == 5)
            u.pressEscape();
    };
    FixThesaurusSpaces(doc, settings, ui);
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    const QStringList after = entriesOf(doc);
    EXPECT_NE(after, entries);
    EXPECT_TRUE(after.last().startsWith(QStringLiteral("w49 |"))); // not reached
    ASSERT_TRUE(UndoListChange(doc).has_value());
    EXPECT_EQ(entriesOf(doc), entries);
}

// ---- The fast paths against the plain loops they replace ------------------------

namespace {

// The meaning lines sorted ignoring case, exact ties by code unit; the walk blanks the
// first remaining stored occurrence of each line equal to its successor.
QStringList directDeduplicate(const QStringList &meanings)
{
    QStringList sorted = meanings;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    QStringList stored = meanings;
    QList<bool> blank(stored.size(), false);
    for (qsizetype k = 0; k + 1 < sorted.size(); ++k) {
        if (sorted[k] != sorted[k + 1])
            continue;
        for (qsizetype j = 0; j < stored.size(); ++j) {
            if (!blank[j] && stored[j] == sorted[k]) {
                blank[j] = true;
                break;
            }
        }
    }
    QStringList kept;
    for (qsizetype j = 0; j < stored.size(); ++j) {
        if (!blank[j] && !stored[j].isEmpty())
            kept.append(stored[j]);
    }
    return kept;
}

// Show/Merge as written: sorted text keys with the index, runs, then both row passes
// with the line-by-line search, then the case-blind sort of what is left.
QStringList directMerge(const QStringList &entries, bool &tooMany)
{
    tooMany = false;
    QStringList keys;
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.append(entries[i] + QChar(u'\x01') + QString::number(i));
    std::sort(keys.begin(), keys.end());
    const auto indexOf = [](const QString &key) {
        return key.sliced(key.lastIndexOf(QChar(u'\x01')) + 1).toLongLong();
    };
    const auto head = [](const QString &e) { return HeadWordOf(e).toString(); };
    QList<qint64> rows;
    for (qsizetype k = 0; k < keys.size();) {
        qsizetype end = k + 1;
        while (end < keys.size() && head(entries[indexOf(keys[end])]) == head(entries[indexOf(keys[k])]))
            ++end;
        if (end - k > 1) {
            for (qsizetype r = k; r < end; ++r)
                rows.append(indexOf(keys[r]));
        }
        k = end;
    }
    QStringList texts = entries;
    QList<bool> dropped(texts.size(), false);
    for (qsizetype r = rows.size() - 1; r >= 1; --r) {
        if (HeaderOf(texts[rows[r]]) == HeaderOf(texts[rows[r - 1]]) && texts[rows[r]] == texts[rows[r - 1]]) {
            dropped[rows[r]] = true;
            rows.removeAt(r);
        }
    }
    for (qsizetype r = rows.size() - 1; r >= 1; --r) {
        QString &later = texts[rows[r]];
        QString &earlier = texts[rows[r - 1]];
        const QString laterHead = HeaderOf(later).toString();
        const QString earlierHead = HeaderOf(earlier).toString();
        if (!laterHead.contains(u'|') || !earlierHead.contains(u'|') ||
            laterHead.left(laterHead.indexOf(u'|') + 1) != earlierHead.left(earlierHead.indexOf(u'|') + 1))
            continue;
        QStringList lines = MeaningLinesOf(earlier);
        const qsizetype before = lines.size();
        for (const QString &line : MeaningLinesOf(later)) {
            if (!lines.contains(line))
                lines.append(line);
        }
        if (lines.size() > before) {
            if (lines.size() > 100) {
                tooMany = true;
                return entries;
            }
            earlier = earlierHead.left(earlierHead.indexOf(u'|') + 1) + QString::number(lines.size()) +
                      QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
        }
        dropped[rows[r]] = true;
    }
    QStringList left;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (!dropped[i])
            left.append(texts[i]);
    }
    std::stable_sort(left.begin(), left.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return left;
}

// The space repair as written: the replacements again and again until nothing changes.
QString directRepairSpaces(QString entry)
{
    for (;;) {
        const QString before = entry;
        entry.replace(QStringLiteral("  "), QStringLiteral(" "));
        entry.replace(QStringLiteral("| "), QStringLiteral("|"));
        entry.replace(QStringLiteral(" |"), QStringLiteral("|"));
        entry.replace(QStringLiteral(" \n"), QStringLiteral("\n"));
        entry.replace(QStringLiteral("\n "), QStringLiteral("\n"));
        if (entry.endsWith(QLatin1Char(' ')))
            entry.chop(1);
        if (entry == before)
            return entry;
    }
}

QString randomWord(QRandomGenerator &random, const char *alphabet, int maxLength)
{
    QString word;
    const int length = 1 + static_cast<int>(random.bounded(maxLength));
    const int letters = static_cast<int>(qstrlen(alphabet));
    for (int i = 0; i < length; ++i)
        word += QLatin1Char(alphabet[random.bounded(letters)]);
    return word;
}

} // namespace

TEST(ThesaurusToolsTest, FastPathsMatchThePlainLoops)
{
    QRandomGenerator random(16);
    MainSettings settings;
    for (int round = 0; round < 300; ++round) {
        QStringList meanings;
        const int n = 1 + static_cast<int>(random.bounded(8));
        for (int i = 0; i < n; ++i)
            meanings.append(random.bounded(10) == 0 ? QString() : randomWord(random, "aAbB", 2));
        EXPECT_EQ(DeduplicatedMeanings(meanings), directDeduplicate(meanings)) << meanings.join(u',').toStdString();
        const QString spaced = randomWord(random, "  |\na", 12);
        EXPECT_EQ(RepairThesaurusSpaces(spaced), directRepairSpaces(spaced)) << spaced.toStdString();

        QStringList entries;
        const int count = 2 + static_cast<int>(random.bounded(12));
        for (int e = 0; e < count; ++e) {
            QStringList lines;
            const int m = 1 + static_cast<int>(random.bounded(round % 3 == 0 ? 60 : 4));
            for (int k = 0; k < m; ++k)
                lines.append(randomWord(random, "xyzXY", 3));
            entries.append(randomWord(random, "cC", 2) + QStringLiteral("|") + QString::number(m) + QLatin1Char('\n') +
                           lines.join(QLatin1Char('\n')));
            if (random.bounded(4) == 0)
                entries.append(entries.last()); // an identical twin
        }
        bool tooMany = false;
        const QStringList expected = directMerge(entries, tooMany);
        ThesaurusDocument doc = documentOf(entries);
        ScriptedUi ui;
        Host host;
        ThesaurusDuplicatesSession session(doc, settings, ui, host);
        if (!session.start())
            continue;
        const auto outcome = session.merge(ui);
        EXPECT_EQ(outcome == ThesaurusDuplicatesSession::MergeOutcome::TooManyMeanings, tooMany) << round;
        EXPECT_EQ(entriesOf(doc), expected) << round;
    }
}

// Every tool that changes the list can be undone in one step, and Escape leaves the
// document whole: unchanged where the tool works on a copy, partly changed (and still
// undoable) where it changes entries in place.
TEST(ThesaurusToolsTest, UndoAndEscapeAfterEveryTool)
{
    MainSettings settings;
    QStringList simple;
    QStringList tagged;
    for (int i = 0; i < 40; ++i) {
        simple.append(QStringLiteral("w%1 |3\nb\nc\nb").arg(i % 20));
        tagged.append(QStringLiteral("w%1|2\n(noun)|b\n(noun)|c").arg(i % 20));
    }
    CleanUpOptions remembered;
    const struct {
        const char *name;
        QStringList entries;
        bool copiesFirst;
        std::function<void(ThesaurusDocument &, ScriptedUi &)> run;
        const char *escapeIn = ""; // the status the Escape waits for
    } tools[] = {
        {"clean up", tagged, true,
         [&](ThesaurusDocument &d, ScriptedUi &ui) {
             CleanUpSymbols(d, settings, ui, remembered, [](const CleanUpOptions &o) { return o; });
         }},
        {"merge", tagged, true,
         [&](ThesaurusDocument &d, ScriptedUi &ui) {
             Host host;
             ThesaurusDuplicatesSession session(d, settings, ui, host);
             if (session.start())
                 session.merge(ui);
         }},
        {"combine", simple, true, [&](ThesaurusDocument &d, ScriptedUi &ui) { CombineSimple(d, settings, ui); }},
        {"deduplicate", simple, false,
         [&](ThesaurusDocument &d, ScriptedUi &ui) { SortOrDeduplicateMeanings(d, settings, ui, false); }},
        {"sort meanings", simple, false,
         [&](ThesaurusDocument &d, ScriptedUi &ui) { SortOrDeduplicateMeanings(d, settings, ui, true); }},
        {"sort on numbers", tagged, true,
         [&](ThesaurusDocument &d, ScriptedUi &ui) { SortOnNumbers(d, settings, ui); }},
        // Escape in the second pass, which fixes in place.
        {"fix spaces", simple, false,
         [&](ThesaurusDocument &d, ScriptedUi &ui) { FixThesaurusSpaces(d, settings, ui); }, "Fixing spaces"},
    };
    for (const auto &tool : tools) {
        ThesaurusDocument doc = documentOf(tool.entries);
        ScriptedUi ui;
        ui.answers = {true};
        tool.run(doc, ui);
        EXPECT_NE(entriesOf(doc), tool.entries) << tool.name;
        EXPECT_TRUE(doc.changed) << tool.name;
        ASSERT_TRUE(UndoListChange(doc).has_value()) << tool.name;
        EXPECT_EQ(entriesOf(doc), tool.entries) << tool.name;

        // Escape after a few items ("Really abort?" Yes; the sort question first).
        ThesaurusDocument aborted = documentOf(tool.entries);
        ScriptedUi escaping;
        escaping.answers = {true, true};
        escaping.onProcessEvents = [calls = 0, prefix = QString::fromUtf8(tool.escapeIn)](ScriptedUi &u) mutable {
            u.fakeClock.advance(30);
            if (u.statusText().startsWith(prefix) && ++calls == 4)
                u.pressEscape();
        };
        tool.run(aborted, escaping);
        EXPECT_EQ(escaping.statusText(), QStringLiteral("Aborted.")) << tool.name;
        if (tool.copiesFirst) {
            EXPECT_EQ(entriesOf(aborted), tool.entries) << tool.name;
        } else {
            EXPECT_NE(entriesOf(aborted), tool.entries) << tool.name;
            EXPECT_EQ(aborted.entries.size(), tool.entries.size()) << tool.name;
            ASSERT_TRUE(UndoListChange(aborted).has_value()) << tool.name;
            EXPECT_EQ(entriesOf(aborted), tool.entries) << tool.name;
        }
    }
}

TEST(ThesaurusToolsTest, AbortedExtractionKeepsWhatWasWritten)
{
    QStringList entries;
    for (int i = 0; i < 30; ++i)
        entries.append(QStringLiteral("w%1|1\nm").arg(i));
    const ThesaurusDocument doc = documentOf(entries);
    QTemporaryDir dir;
    ScriptedUi ui;
    ui.savePaths = {dir.filePath(QStringLiteral("part.txt"))};
    ui.answers = {true};
    ui.onProcessEvents = [calls = 0](ScriptedUi &u) mutable {
        u.fakeClock.advance(30);
        if (++calls == 4)
            u.pressEscape();
    };
    EXPECT_FALSE(ExtractSynonyms(doc, MainSettings(), ui, false));
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(readText(dir.filePath(QStringLiteral("part.txt"))), QStringLiteral("w0:\nm\n\nw1:\nm\n\nw2:\nm\n\n"));
}
