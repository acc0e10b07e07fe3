#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/flag_strings.h"
#include "core/dictionary_tools/duplicates_session.h"

#include "core/shell/settings.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

// S and D suffixes with cross product, N a suffix without, U and P prefixes, K KEEPCASE.
const QString aff = QStringLiteral("SET UTF-8\nKEEPCASE K\n"
                                   "SFX S Y 1\nSFX S 0 s .\n"
                                   "SFX D Y 1\nSFX D 0 ed .\n"
                                   "SFX N N 1\nSFX N 0 ness .\n"
                                   "PFX U Y 1\nPFX U 0 un .\n"
                                   "PFX P Y 1\nPFX P 0 re .\n");

// The same with the flags that change what an entry's word is on its own (X NEEDAFFIX,
// O ONLYINCOMPOUND, ! FORBIDDENWORD) and AF aliases for the numbers 1 to 21.
const QString specialAff = aff + QStringLiteral("NEEDAFFIX X\nONLYINCOMPOUND O\nFORBIDDENWORD !\n");
const QString aliasAff =
    aff + QStringLiteral("AF 21\n") + QStringLiteral("AF S\n").repeated(20) + QStringLiteral("AF SD\n");
// With a compounding flag Z and a compound rule of the flags R and Q.
const QString compoundAff = aff + QStringLiteral("COMPOUNDFLAG Z\nCOMPOUNDRULE 1\nCOMPOUNDRULE RQ*\n");

DictionaryDocument documentOf(const QStringList &entries, const QString &affText = aff)
{
    DictionaryDocument doc;
    doc.affText = affText;
    for (const QString &e : entries)
        doc.entries.append(e);
    return doc;
}

QStringList textsOf(const EntryStore &entries)
{
    QStringList out;
    for (qint64 i = 0; i < entries.size(); ++i)
        out << entries.at(i);
    return out;
}

class FakeHost final : public DuplicatesHost {
public:
    void refresh() override { ++refreshes; }
    bool rememberOptions(const DuplicateOptions &options) override
    {
        remembered = options;
        return writable;
    }
    int refreshes = 0;
    std::optional<DuplicateOptions> remembered;
    bool writable = true;
};

// One window's worth of state around a session.
struct ToolRun {
    explicit ToolRun(const QStringList &entries, DuplicateOptions opts = {}, bool alreadyRecorded = false,
                     const QString &affText = aff)
        : doc(documentOf(entries, affText))
        , options(opts)
    {
        DuplicatesSession::prepare(doc, table, ui);
        session.emplace(doc, table, settings, options, ui, &host, alreadyRecorded);
    }
    ScriptedUi ui;
    MainSettings settings;
    AffixTable table;
    DictionaryDocument doc;
    DuplicateOptions options;
    FakeHost host;
    std::optional<DuplicatesSession> session;

    QStringList entries() const { return textsOf(doc.entries); }
    QStringList rows() const
    {
        QStringList out;
        for (const DicDuplicateRow &r : session->rows()) {
            out << QString::number(r.line) + u'|' + r.word + u'|' + r.flags + u'|' + r.tags + u'|' +
                       DuplicatesSession::className(r.classCode) +
                       (r.repeatedCount ? QStringLiteral("|Yes (+%1)").arg(r.repeatedCount) : QString());
        }
        return out;
    }
};

} // namespace

TEST(Duplicates, ScanListsSameWordGroupsAndRepeatedFlags)
{
    ToolRun run({"walk/S", "house", "Walk", "ab/AA", "walk/D", "house/S\npo:noun", "/comment/SS", "walk/S", "", "zz"});
    ASSERT_TRUE(run.session->scan());
    // Sorted by word, flags, tags, line: groups of "house" and "walk"; "Walk" differs in case.
    EXPECT_EQ(run.rows(),
              QStringList({"4|ab|AA||Unknown|Yes (+1)", "2|house|||Primary", "6|house|S|po:noun|All suffixes",
                           "5|walk|D||All suffixes", "1|walk|S||All suffixes", "8|walk|S||All suffixes"}));
    EXPECT_EQ(run.session->groups(), std::vector<int>({2, 3}));
    EXPECT_EQ(run.session->repeatedWordCount(), 5);
    EXPECT_EQ(run.session->repeatedFlagEntryCount(), 1);
    EXPECT_EQ(run.session->log(), DuplicatesSession::introductionText() +
                                      "Step 1/3: Scanning the .dic...\n\n"
                                      "Step 2/3: Sorting the processed array...\n\n"
                                      "Step 3/3: Scanning for duplicates...\n\n"
                                      "# Repeated Words:5\n# Repeated FlagsW:1\n\n"
                                      "\U0001F6C8:\n"
                                      "If there are words with postags and postag merge is off,\n"
                                      "those words won't be merged.\n"
                                      "Duplicate flags removal will still work.\n\n\n");
    EXPECT_GT(run.host.refreshes, 0);
}

TEST(Duplicates, ProcessAppliesTheRulesOfEachClass)
{
    struct Case {
        const char *name;
        QStringList entries;
        DuplicateOptions options;
        QStringList afterProcess; // emptied entries still in place
        QString mergeLog;         // the blocks, or empty when nothing merged
        qint64 merged;
        QString affText = aff;
    };
    const DuplicateOptions twofold{false, true, true, true};
    const DuplicateOptions anyType{false, false, false, true};
    const DuplicateOptions ignoreTags{true, false, true, true};
    const Case cases[] = {
        {"primary deleted",
         {"house", "house/S"},
         {},
         {"", "house/S"},
         "#1\nMerged:\"house\"\nFlags:\"\"\u2192\"S\"\n\n",
         1},
        {"identical deleted",
         {"house/S", "house/S"},
         {},
         {"", "house/S"},
         "#1\nMerged:\"house\"\nFlags:\"S\"\u2192\"S\"\n\n",
         1},
        {"two primaries", {"house", "house"}, {}, {"", "house"}, "#1\nMerged:\"house\"\nPrimary\n\n", 1},
        {"suffixes merged at the first position",
         {"walk/S", "x", "walk/D"},
         {},
         {"", "x", "walk/DS"},
         "#1\nMerged:\"walk\"\nFlags:\"D\"\u2192\"S\"\n\n",
         1},
        {"twofold keeps different suffixes", {"walk/S", "walk/D"}, twofold, {"walk/S", "walk/D"}, "", 0},
        {"same type only keeps suffix and prefix apart", {"walk/S", "walk/U"}, {}, {"walk/S", "walk/U"}, "", 0},
        {"any type merges suffix and prefix",
         {"walk/S", "walk/U"},
         anyType,
         {"walk/SU", ""},
         "#1\nMerged:\"walk\"\nFlags:\"S\"\u2192\"U\"\n\n",
         1},
        {"prefixes merged", {"do/P", "do/U"}, {}, {"do/PU", ""}, "#1\nMerged:\"do\"\nFlags:\"P\"\u2192\"U\"\n\n", 1},
        {"SFX N never flag-merged", {"walk/S", "walk/N"}, anyType, {"walk/S", "walk/N"}, "", 0},
        {"keep case only by the primary rule",
         {"Ab/K", "Ab"},
         {},
         {"Ab/K", ""},
         "#1\nMerged:\"Ab\"\nFlags:\"\"\u2192\"K\"\n\n",
         1},
        {"case differs", {"Walk", "walk/S"}, {}, {"Walk", "walk/S"}, "", 0},
        {"tags differ", {"house/S\npo:a", "house/S\npo:b"}, {}, {"house/S\npo:a", "house/S\npo:b"}, "", 0},
        {"tags ignored: first deleted, other keeps its tags",
         {"house/S\npo:a", "house/S\npo:b"},
         ignoreTags,
         {"", "house/S\npo:b"},
         "#1\nMerged:\"house\"\nFlags:\"S\"\u2192\"S\"\n\n",
         1},
        {"tags ignored: a merge drops the tags",
         {"walk/S\npo:a", "walk/D\npo:b"},
         ignoreTags,
         {"", "walk/DS"},
         "#1\nMerged:\"walk\"\nFlags:\"D\"\u2192\"S\"\n\n",
         1},
        {"escaped slash kept by a merge",
         {"a\\/b/S", "a\\/b/D"},
         {},
         {"", "a\\/b/DS"},
         "#1\nMerged:\"a\\/b\"\nFlags:\"D\"\u2192\"S\"\n\n",
         1},
        {"three suffix entries take two passes",
         {"w/S", "w/D", "w/S"},
         {},
         {"", "w/DS", ""},
         "#1\nMerged:\"w\"\nFlags:\"D\"\u2192\"S\"\n\n#2\nMerged:\"w\"\nFlags:\"DS\"\u2192\"S\"\n\n",
         2},
        {"repeated flags repaired", {"ab/AA", "c\\/d/SDS\npo:x"}, {}, {"ab/A", "c\\/d/SD\npo:x"}, "", 0},
        // An alias number is one flag set: its digits are no repeated flags.
        {"alias numbers kept",
         {"walk/11", "talk/12", "jump/21"},
         {},
         {"walk/11", "talk/12", "jump/21"},
         "",
         0,
         aliasAff},
        {"alias primary deleted",
         {"walk", "walk/21"},
         {},
         {"", "walk/21"},
         "#1\nMerged:\"walk\"\nFlags:\"\"\u2192\"21\"\n\n",
         1,
         aliasAff},
        // A bare word stays when its twin's flags make the word no word on its own.
        {"only in compound twin", {"alias", "alias/SO"}, {}, {"alias", "alias/SO"}, "", 0, specialAff},
        {"need affix twin", {"foo", "foo/X"}, {}, {"foo", "foo/X"}, "", 0, specialAff},
        {"forbidden twin", {"baz", "baz/!"}, {}, {"baz", "baz/!"}, "", 0, specialAff},
        {"bare twins of a need affix entry",
         {"foo", "foo/SX", "foo"},
         {},
         {"", "foo/SX", "foo"},
         "#1\nMerged:\"foo\"\nPrimary\n\n",
         1,
         specialAff},
        // Entries with special flags are never flag-merged.
        {"need affix never flag-merged", {"foo/SX", "foo/D"}, anyType, {"foo/SX", "foo/D"}, "", 0, specialAff},
        {"forbidden never flag-merged", {"foo/S!", "foo/D"}, {}, {"foo/S!", "foo/D"}, "", 0, specialAff},
        // A compounding flag would let the other entry's forms into compounds.
        {"compound flag never flag-merged", {"leg/SZ", "leg/D"}, {}, {"leg/SZ", "leg/D"}, "", 0, compoundAff},
        {"compound rule flag never flag-merged", {"leg/SR", "leg/D"}, {}, {"leg/SR", "leg/D"}, "", 0, compoundAff},
        {"other flags still merged",
         {"leg/SU", "leg/D"},
         anyType,
         {"", "leg/DSU"},
         "#1\nMerged:\"leg\"\nFlags:\"D\"\u2192\"SU\"\n\n",
         1,
         compoundAff},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ToolRun run(c.entries, c.options, false, c.affText);
        ASSERT_TRUE(run.session->scan());
        if (run.session->rows().empty()) {
            EXPECT_TRUE(c.afterProcess == c.entries);
            continue;
        }
        run.ui.clearRecords();
        EXPECT_TRUE(run.session->process());
        EXPECT_EQ(run.entries(), c.afterProcess) << run.entries().join("|").toStdString();
        const QString log = run.session->log();
        EXPECT_TRUE(log.contains("\n\nProcessing the .dic...\n\n")) << log.toStdString();
        EXPECT_TRUE(
            log.contains(c.mergeLog + "\nNumber of merged/deleted words:" + QString::number(c.merged) + "\n\n\n"))
            << log.toStdString();
        ASSERT_FALSE(run.ui.messages.isEmpty());
        EXPECT_TRUE(
            run.ui.messages.last().text.startsWith("Merged/deleted words:" + QString::number(c.merged) + " \n"));
        EXPECT_EQ(run.doc.hasUndoStep(), run.entries() != c.entries);
    }
}

TEST(Duplicates, RepeatedFlagRemovalIsCountedAndLogged)
{
    ToolRun run({"ab/AAB", "cd/SSSD", "ef/S"});
    ASSERT_TRUE(run.session->scan());
    EXPECT_EQ(run.rows(), QStringList({"1|ab|AAB||Unknown|Yes (+1)", "2|cd|SSSD||All suffixes|Yes (+2)"}));
    EXPECT_TRUE(run.session->process());
    EXPECT_EQ(run.entries(), QStringList({"ab/AB", "cd/SD", "ef/S"}));
    EXPECT_TRUE(run.session->log().contains(
        "\nRemoving duplicate flags from .dic...\n\nNumber of merged/deleted FlagsW:2\n\n\n"));
    ASSERT_EQ(run.ui.messages.size(), 1);
    EXPECT_EQ(run.ui.messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(run.ui.messages[0].text,
              QStringLiteral("Merged/deleted words:0 \nDeleted repeated FlagsW:2\nExact number repeated flags:3"));
    EXPECT_TRUE(run.session->rows().empty());
}

TEST(Duplicates, OkCompactsAndCancelRestores)
{
    const QStringList original = {"house", "a", "house/S", "walk/S", "walk/D"};
    {
        ToolRun run(original);
        run.doc.selectedIndex = 4;
        ASSERT_TRUE(run.session->scan());
        ASSERT_TRUE(run.session->process());
        run.session->accept();
        EXPECT_EQ(run.entries(), QStringList({"a", "house/S", "walk/DS"}));
        EXPECT_TRUE(run.doc.changed);
        EXPECT_EQ(run.doc.selectedIndex, -1);
    }
    {
        // Blank lines that were in the file before stay: only the entries the tool emptied go.
        ToolRun run({"", "house", "", "house/S", "walk/S", "walk/D", ""});
        ASSERT_TRUE(run.session->scan());
        ASSERT_TRUE(run.session->process());
        run.session->accept();
        EXPECT_EQ(run.entries(), QStringList({"", "", "house/S", "walk/DS", ""}));
    }
    {
        ToolRun run(original);
        ASSERT_TRUE(run.session->scan());
        ASSERT_TRUE(run.session->process());
        EXPECT_TRUE(run.session->undoRecorded());
        run.session->cancel();
        EXPECT_EQ(run.entries(), original);
        EXPECT_FALSE(run.doc.changed);
        // No Redo step brings back the half-done state with its emptied entries.
        EXPECT_FALSE(run.doc.hasRedoStep());
    }
    {
        // A caller's undo point: the window records none and Cancel returns to the caller's.
        ToolRun run({"house", "house/S"}, {}, true);
        run.doc.undoSnapshot = ListSnapshot{};
        run.doc.undoSnapshot->entries.append(u"before the caller");
        ASSERT_TRUE(run.session->scan());
        ASSERT_TRUE(run.session->process());
        run.session->cancel();
        EXPECT_EQ(run.entries(), QStringList({"before the caller"}));
    }
    {
        // Nothing changed and nothing passed in: Cancel leaves an older undo step alone.
        ToolRun run({"a", "b"});
        run.doc.undoSnapshot = ListSnapshot{};
        ASSERT_TRUE(run.session->scan());
        run.session->cancel();
        EXPECT_EQ(run.entries(), QStringList({"a", "b"}));
        EXPECT_TRUE(run.doc.hasUndoStep());
    }
}

TEST(Duplicates, RefusalsAndTexts)
{
    ScriptedUi ui;
    AffixTable table;
    DictionaryDocument empty = documentOf({});
    EXPECT_FALSE(DuplicatesSession::prepare(empty, table, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList({"No dictionary words found."}));

    ToolRun one({"house"});
    EXPECT_TRUE(one.session->scan());
    EXPECT_EQ(one.ui.messageTexts(), QStringList({"No duplicate words found."}));
    EXPECT_EQ(one.session->log(), DuplicatesSession::introductionText());

    ToolRun none({"a", "b"});
    EXPECT_TRUE(none.session->process());
    EXPECT_TRUE(none.session->exportList() == false);
    EXPECT_EQ(none.ui.messageTexts(), QStringList({"No duplicate words found.", "No duplicate words found."}));

    EXPECT_EQ(DuplicatesSession::windowTitle(), QStringLiteral("Show/Merge/Delete duplicates .DIC"));
    EXPECT_EQ(DuplicatesSession::manualAnchor(), QStringLiteral("#5.2.5.8.show_duplicates"));
    const DuplicateFlagIndicators flags = none.session->flagIndicators();
    EXPECT_TRUE(flags.keepCase);
    EXPECT_FALSE(flags.needAffix);
    EXPECT_EQ(flags.flagType, QStringLiteral("FLAG chr"));
}

TEST(Duplicates, OptionsTwofoldAndRemember)
{
    ToolRun run({"a", "b"});
    EXPECT_EQ(run.session->shownOptions(), (DuplicateOptions{false, false, true, true}));
    run.session->setOptions({false, true, true, true});
    // Twofold unticks the two below it on screen but keeps their stored states.
    EXPECT_EQ(run.session->shownOptions(), (DuplicateOptions{false, true, false, false}));
    EXPECT_EQ(run.options, (DuplicateOptions{false, true, true, true}));
    EXPECT_TRUE(run.session->remember());
    EXPECT_EQ(run.host.remembered, (DuplicateOptions{false, true, false, false}));
    run.host.writable = false;
    EXPECT_FALSE(run.session->remember());
    EXPECT_EQ(run.ui.messages.last().title, QStringLiteral("Error"));
}

TEST(Duplicates, ExportWritesTheRows)
{
    QTemporaryDir dir;
    ToolRun run({"house", "house/S\npo:noun", "ab/AA"});
    ASSERT_TRUE(run.session->scan());
    run.ui.savePaths = {dir.filePath("dupes")};
    ASSERT_TRUE(run.session->exportList());
    QFile file(dir.filePath("dupes.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF"
                                         "DUPLICATES FOUND:3\n\n"
                                         "3:ab:AA::Unknown\n"
                                         "1:house:::Primary\n"
                                         "2:house:S:po:noun:All suffixes\n"));
    EXPECT_EQ(run.ui.dialogTitles.value(0), QStringLiteral("Export Duplicates to file"));
    // An existing file needs a Yes.
    run.ui.savePaths = {dir.filePath("dupes.txt")};
    run.ui.answers = {false};
    EXPECT_FALSE(run.session->exportList());
    EXPECT_EQ(run.ui.messageTexts().last(), QStringLiteral("File already exists! Overwrite it?"));
}

TEST(Duplicates, AbortedScanLogsAndStops)
{
    ToolRun run({"a", "a/S", "b"});
    run.ui.answers = {true};
    run.ui.pressEscape();
    EXPECT_FALSE(run.session->scan());
    EXPECT_TRUE(run.session->log().endsWith("Step 1/3: Scanning the .dic...\n\nAborted!\n\n"));
    EXPECT_TRUE(run.session->rows().empty());
}

namespace {

// The tool's loops written out plainly, entry by entry, for the equivalence test.
struct Reference {
    Reference(const AffixTable &t, const DuplicateOptions &o, const QStringList &e)
        : mode(t.flagMode)
        , table(t)
        , options(o)
        , entries(e)
    {
    }

    FlagMode mode;
    const AffixTable &table;
    DuplicateOptions options;
    QStringList entries;
    QString mergeLog;
    qint64 merged = 0;
    qint64 exact = 0;

    struct Rec {
        QString key, word, flags, tags;
        qint64 line;
        bool repeated;
    };
    struct Mem {
        QString word, flags, tags, cls;
        qint64 line;
    };
    std::vector<Mem> members;
    std::vector<int> groups;
    qint64 flagEntries = 0;

    void scan()
    {
        std::vector<Rec> recs;
        flagEntries = 0;
        for (qint64 i = 0; i < entries.size(); ++i) {
            const QString &e = entries[i];
            if (e.isEmpty() || e.startsWith(u'/'))
                continue;
            const EntryParts p = SplitEntry(e);
            Rec r{p.word.toString() + "\n" + p.flags.toString() + "\n" + p.tags.toString() + "\n" +
                      QString::number(i + 1),
                  p.word.toString(),
                  p.flags.toString(),
                  p.tags.toString(),
                  i + 1,
                  HasRepeatedFlags(mode, p.flags)};
            flagEntries += r.repeated;
            // Insertion sort, as plain as it gets.
            auto at = recs.begin();
            while (at != recs.end() && at->key < r.key)
                ++at;
            recs.insert(at, r);
        }
        members.clear();
        groups.clear();
        bool mark = false;
        int open = 0;
        for (size_t k = 0; k < recs.size(); ++k) {
            if (!recs[k].word.isEmpty() && k + 1 < recs.size() && recs[k + 1].word == recs[k].word) {
                if (!mark) {
                    members.push_back(
                        {recs[k].word, recs[k].flags, recs[k].tags, FlagClass(table, recs[k].flags), recs[k].line});
                    ++open;
                }
                const Rec &n = recs[k + 1];
                members.push_back({n.word, n.flags, n.tags, FlagClass(table, n.flags), n.line});
                ++open;
                mark = true;
            } else {
                mark = false;
                if (open)
                    groups.push_back(open);
                open = 0;
            }
        }
        if (open)
            groups.push_back(open);
    }

    bool pass()
    {
        bool acted = false;
        int start = 0;
        for (int size : groups) {
            const int g0 = start;
            start += size;
        again:
            for (int a = g0; a < g0 + size; ++a) {
                for (int b = g0; b < g0 + size; ++b) {
                    Mem &A = members[a];
                    Mem &B = members[b];
                    if (a == b || A.word.isEmpty())
                        continue;
                    const QString ta = options.ignoreTags ? QString() : A.tags;
                    const QString tb = options.ignoreTags ? QString() : B.tags;
                    const bool bThere = B.cls != "999999";
                    const auto block = [&] {
                        ++merged;
                        mergeLog += "#" + QString::number(merged) + "\nMerged:\"" + B.word + "\"\n" +
                                    (A.flags.isEmpty() && B.flags.isEmpty()
                                         ? QString("Primary\n")
                                         : "Flags:\"" + A.flags + "\"\u2192\"" + B.flags + "\"\n") +
                                    "\n";
                    };
                    if ((A.cls == "0" && bThere && ta == tb) ||
                        (bThere && A.word == B.word && A.flags == B.flags && ta == tb)) {
                        block();
                        entries[A.line - 1] = QString();
                        A.word.clear();
                        A.cls = "999999";
                        acted = true;
                        goto again;
                    }
                    const auto in123 = [](const QString &c) { return c == "1" || c == "2" || c == "3"; };
                    const bool fit = options.sameTypeOnly ? A.cls == B.cls && (A.cls == "1" || A.cls == "2")
                                                          : in123(A.cls) && in123(B.cls);
                    if (!options.twofold && fit && bThere && ta == tb) {
                        block();
                        const QString u = FlagUnion(mode, A.flags, B.flags);
                        entries[A.line - 1] =
                            B.word + (u.isEmpty() ? QString() : "/" + u) + (tb.isEmpty() ? QString() : "\n" + tb);
                        entries[B.line - 1] = QString();
                        A.word.clear();
                        A.cls = "999999";
                        acted = true;
                        goto nextGroup;
                    }
                }
            }
        nextGroup:;
        }
        return acted;
    }

    void process()
    {
        while (pass()) {
            scan();
            if (groups.empty())
                break;
        }
        scan();
        if (flagEntries) {
            for (QString &e : entries) {
                if (e.isEmpty() || e.startsWith(u'/'))
                    continue;
                const EntryParts p = SplitEntry(e);
                if (!HasRepeatedFlags(mode, p.flags))
                    continue;
                const QString kept = WithoutRepeatedFlags(mode, p.flags);
                exact += FlagCount(mode, p.flags) - FlagCount(mode, kept);
                e = p.word.toString() + "/" + kept + (p.tags.isEmpty() ? QString() : "\n" + p.tags.toString());
            }
        }
    }
};

} // namespace

TEST(Duplicates, MatchesThePlainLoopsOnRandomDictionaries)
{
    QRandomGenerator random(2112);
    const QStringList words = {"a", "b", "ab", "A", "a\\/b"};
    const QString flagChars = QStringLiteral("SDNUPKX");
    const QStringList tags = {"", "", "po:n", "po:v"};
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        QStringList entries;
        const int n = 2 + int(random.bounded(14));
        for (int i = 0; i < n; ++i) {
            QString e = words[random.bounded(words.size())];
            const int flagCount = int(random.bounded(4));
            if (flagCount) {
                e += u'/';
                for (int f = 0; f < flagCount; ++f)
                    e += flagChars[random.bounded(flagChars.size())];
            }
            const QString t = tags[random.bounded(tags.size())];
            if (!t.isEmpty())
                e += u'\n' + t;
            entries << e;
        }
        const DuplicateOptions options{random.bounded(2) == 1, random.bounded(4) == 0, random.bounded(2) == 1, true};
        ToolRun run(entries, options);
        Reference ref(run.table, options, entries);
        ref.scan();
        ASSERT_TRUE(run.session->scan());
        ASSERT_EQ(run.session->repeatedWordCount(), qint64(ref.members.size()));
        ASSERT_EQ(run.session->groups(), ref.groups);
        if (run.session->rows().empty())
            continue;
        ASSERT_TRUE(run.session->process());
        ref.process();
        EXPECT_EQ(run.entries(), ref.entries) << entries.join(" | ").toStdString();
        EXPECT_TRUE(run.session->log().contains(
            ref.mergeLog + "\nNumber of merged/deleted words:" + QString::number(ref.merged) + "\n"));
        EXPECT_TRUE(run.ui.messages.last().text.endsWith("Exact number repeated flags:" + QString::number(ref.exact)));
    }
}
