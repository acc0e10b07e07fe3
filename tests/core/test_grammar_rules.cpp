#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/app/document_files.h"
#include "core/app/workbench.h"
#include "core/languagetool/grammar_rule_set.h"
#include "core/shell/settings.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

struct Fixture {
    QTemporaryDir dir;
    Workbench workbench{dir.path()};
    ScriptedUi ui;

    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    // Loads `text` as a grammar.xml; false when the load did not finish.
    bool load(const QByteArray &text)
    {
        return OpenDocumentFile(workbench, DocumentKind::LanguageTool, ui, write(QStringLiteral("grammar.xml"), text)).done();
    }
    QString exportText(bool withLineNumbers)
    {
        const QString out = path(QStringLiteral("structure.txt"));
        ui.savePaths.push_back(out);
        const GrammarExportResult result =
            ExportRulesStructure(workbench.grammar, workbench.settings, ui, withLineNumbers);
        EXPECT_TRUE(result.done());
        QFile file(out);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith(bom));
        return QString::fromUtf8(bytes.mid(bom.size()));
    }
};

QStringList kinds(const GrammarRuleSet &set)
{
    QStringList k;
    for (const GrammarChunk &c : set.chunks)
        k.append(c.kind);
    return k;
}

// A small rule file with a category of each spelling: id first, no id, id after the name.
const QByteArray threeCategories = "<?xml version=\"1.0\"?>\n"
                                   "<rules lang=\"xx\">\n"
                                   "<category id=\"NOUNS\" name=\"Nouns\">\n"
                                   "<rule id=\"R1\" name=\"One\">\n"
                                   "</rule>\n"
                                   "</category>\n"
                                   "<category name=\"Verbs\">\n"
                                   "<rulegroup id=\"G1\" name=\"Group\">\n"
                                   "<rule>\n"
                                   "</rule>\n"
                                   "</rulegroup>\n"
                                   "<rule id='R2' default='off'>\n"
                                   "</rule>\n"
                                   "</category>\n"
                                   "<category name=\"Style\" id=\"STYLE\" type=\"style\">\n"
                                   "<rule id=\"R3\" tags=\"picky\">\n"
                                   "</rule>\n"
                                   "</category>\n"
                                   "</rules>\n";

} // namespace

TEST(GrammarRules, AttributeValuesFollowTheirQuotes)
{
    const struct {
        const char *line;
        const char *key;
        const char *value;
    } cases[] = {
        {"<rule id=\"A_B\" name=\"x\">", "id=", "A_B"},
        {"<rule id='single' name=\"x\">", "id=", "single"},
        {"<rule ID=\"UPPER\">", "id=", "UPPER"},                   // the key is found case-blind
        {"<rule id=unquoted>", "id=", ""},                         // no quote, no value
        {"<rule name=\"x\">", "id=", ""},                          // absent
        {"<rule xml:id=\"first\" id=\"second\">", "id=", "first"}, // first occurrence, inside a longer name
        {"<rule name=\"it's\">", "name=", "it's"},                 // the other quote is text
        {"<rule name=\"runs on", "name=", "runs on"},              // continued on the next line
        {"<rule id=", "id=", ""},
        {"<rule id=\"\" name=\"n\">", "id=", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(GrammarAttribute(QString::fromUtf8(c.line), QString::fromUtf8(c.key)), QString::fromUtf8(c.value))
            << c.line;
    }
}

TEST(GrammarRules, ChunksTakeTheirLinesAndBareRuleTagsStartNone)
{
    Fixture f;
    ASSERT_TRUE(f.load("<?xml version=\"1.0\"?>\n"
                       "<rules>\n"
                       "<category id=\"C\" name=\"Cat\">\n"
                       "<rulegroup id=\"G\" name=\"Group\">\n"
                       "<rule>\n"
                       "<rule>\n"
                       "</rulegroup>\n"
                       "<rule id='X' name=\"x\" default='off'>\r\n"
                       "</rule>\r"
                       "</rules>"));
    const GrammarRuleSet &set = f.workbench.grammar;
    ASSERT_EQ(kinds(set), (QStringList{"category", "rulegroup", "rule"}));
    // The first line is set aside; the first chunk also holds the lines before it.
    EXPECT_EQ(set.chunks[0].lineNumber, 2);
    EXPECT_EQ(set.chunks[0].xmlCode, QStringLiteral("<rules>\n<category id=\"C\" name=\"Cat\">\n"));
    EXPECT_EQ(set.chunks[1].xmlCode,
              QStringLiteral("<rulegroup id=\"G\" name=\"Group\">\n<rule>\n<rule>\n</rulegroup>\n"));
    EXPECT_EQ(set.chunks[1].id, QStringLiteral("G"));
    EXPECT_EQ(set.chunks[1].name, QStringLiteral("Group"));
    // CR LF, a lone CR and a last line without an end all end lines.
    EXPECT_EQ(set.chunks[2].lineNumber, 7);
    EXPECT_EQ(set.chunks[2].xmlCode, QStringLiteral("<rule id='X' name=\"x\" default='off'>\n</rule>\n</rules>\n"));
    EXPECT_EQ(set.chunks[2].id, QStringLiteral("X"));
    EXPECT_EQ(set.chunks[2].defaultValue, QStringLiteral("off"));
    EXPECT_EQ(set.path, f.path(QStringLiteral("grammar.xml")));
    EXPECT_TRUE(f.ui.statuses.last().startsWith(QStringLiteral("OK. (xml:"))) << f.ui.statuses.last().toStdString();
    EXPECT_EQ(f.ui.statuses.first(), QStringLiteral("Loading grammar rules... <ESC> to abort."));
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(GrammarRules, RuleCountsBelongToTheCategoryBeforeThem)
{
    Fixture f;
    ASSERT_TRUE(f.load("<?xml?>\n"
                       "<rule id=\"EARLY\">\n" // before any category: counts for the first one
                       "<category id=\"A\">\n"
                       "<rulegroup id=\"G1\">\n"
                       "<rulegroup id=\"G2\">\n"
                       "<rulegroup id=\"G3\">\n"
                       "<rule id=\"R\">\n"
                       "<category id=\"B\">\n"
                       "<rule id=\"R2\">\n"));
    const GrammarRuleSet &set = f.workbench.grammar;
    EXPECT_EQ(set.categoryChunks, (QList<qint32>{1, 6}));
    EXPECT_EQ(set.categoryRuleCounts, (QList<qint32>{5, 1}));
    EXPECT_EQ(set.ruleTotal, 6);
    EXPECT_EQ(CategoryRowText(set, 0), QStringLiteral("A (5)"));
    EXPECT_EQ(CategoryRowText(set, 1), QStringLiteral("B (1)"));
    EXPECT_EQ(CategoryColumnTitle(set, QStringLiteral(",")), QStringLiteral("ID Category (2), \u2211 Rules (6)"));
    EXPECT_EQ(CategoryColumnTitle(GrammarRuleSet(), QStringLiteral(",")), QStringLiteral("ID Category "));
}

// A category written without an id, or with the id after its name, is still a category:
// it shows its name when it has no id, and its rules are counted.
TEST(GrammarRules, CategoriesWithoutALeadingIdAreCategories)
{
    Fixture f;
    ASSERT_TRUE(f.load(threeCategories));
    const GrammarRuleSet &set = f.workbench.grammar;
    EXPECT_EQ(kinds(set), (QStringList{"category", "rule", "category", "rulegroup", "rule", "category", "rule"}));
    EXPECT_EQ(set.categoryRuleCounts, (QList<qint32>{1, 2, 1}));
    EXPECT_EQ(set.ruleTotal, 4);
    EXPECT_EQ(set.chunks[2].id, QString());
    EXPECT_EQ(set.chunks[2].name, QStringLiteral("Verbs"));
    EXPECT_EQ(set.chunks[5].id, QStringLiteral("STYLE"));
    EXPECT_EQ(set.chunks[5].type, QStringLiteral("style"));
    EXPECT_EQ(CategoryRowText(set, 1), QStringLiteral("Verbs (2)"));
    EXPECT_EQ(CategoryRowText(set, 2), QStringLiteral("STYLE (1)"));
    EXPECT_EQ(CategoryColumnTitle(set, QStringLiteral(",")), QStringLiteral("ID Category (3), \u2211 Rules (4)"));
}

TEST(GrammarRules, ExportWritesTheStructureByteForByte)
{
    Fixture f;
    ASSERT_TRUE(f.load(threeCategories));
    const QString withoutNumbers = QStringLiteral("ID Category:NOUNS (1)\n\n"
                                                  "ID Category:Verbs (2)\n\n"
                                                  "ID Category:STYLE (1)\n\n"
                                                  "\n\n\n"
                                                  "category, ID:NOUNS, Name:\"Nouns\", , , \n\n"
                                                  "rule, ID:R1, Name:\"One\", , , \n\n"
                                                  "\n\n\ncategory, ID:, Name:\"Verbs\", , , \n\n"
                                                  "rulegroup, ID:G1, Name:\"Group\", , , \n\n"
                                                  "rule, ID:R2, Name:\"\", , , default:off\n\n"
                                                  "\n\n\ncategory, ID:STYLE, Name:\"Style\", style, , \n\n"
                                                  "rule, ID:R3, Name:\"\", , picky, \n\n");
    EXPECT_EQ(f.exportText(false), withoutNumbers);
    EXPECT_TRUE(f.ui.statuses.last().startsWith(QStringLiteral("OK. ("))) << f.ui.statuses.last().toStdString();

    f.ui.answers.push_back(true); // overwrite
    const QString withNumbers = QStringLiteral("Line: 2\nID Category:NOUNS (1)\n\n"
                                               "Line: 6\nID Category:Verbs (2)\n\n"
                                               "Line: 14\nID Category:STYLE (1)\n\n"
                                               "\n\n\n"
                                               "Line: 2\ncategory, ID:NOUNS, Name:\"Nouns\", , , \n\n"
                                               "Line: 3\nrule, ID:R1, Name:\"One\", , , \n\n"
                                               "\n\n\nLine: 6\ncategory, ID:, Name:\"Verbs\", , , \n\n"
                                               "Line: 7\nrulegroup, ID:G1, Name:\"Group\", , , \n\n"
                                               "Line: 11\nrule, ID:R2, Name:\"\", , , default:off\n\n"
                                               "\n\n\nLine: 14\ncategory, ID:STYLE, Name:\"Style\", style, , \n\n"
                                               "Line: 15\nrule, ID:R3, Name:\"\", , picky, \n\n");
    EXPECT_EQ(f.exportText(true), withNumbers);
    EXPECT_EQ(f.ui.messageTexts(), QStringList{QStringLiteral("File already exists! Overwrite it?")});
}

TEST(GrammarRules, ExportWithoutCategoriesHasNoCategoryBlock)
{
    Fixture f;
    ASSERT_TRUE(f.load("<?xml?>\n<rule id=\"A\" name=\"a\">\n"));
    EXPECT_EQ(f.exportText(true), QStringLiteral("Line: 1\nrule, ID:A, Name:\"a\", , , \n\n"));
}

TEST(GrammarRules, ExportRefusalsSayAbortedAndKeepTheOldFile)
{
    Fixture f;
    f.ui.savePaths.push_back(f.path(QStringLiteral("never.txt")));
    EXPECT_FALSE(ExportRulesStructure(f.workbench.grammar, f.workbench.settings, f.ui, true).done());
    EXPECT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("Nothing to save."));
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));

    ASSERT_TRUE(f.load(threeCategories));
    f.ui.clearRecords();
    f.ui.savePaths.clear();
    // Overwrite declined: the old file stays; a name without ".txt" gets it.
    const QString old = f.write(QStringLiteral("kept.txt"), "old");
    f.ui.savePaths.push_back(f.path(QStringLiteral("kept")));
    f.ui.answers.push_back(false);
    EXPECT_FALSE(ExportRulesStructure(f.workbench.grammar, f.workbench.settings, f.ui, true).done());
    EXPECT_EQ(f.ui.messageTexts(), QStringList{QStringLiteral("File already exists! Overwrite it?")});
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
    // An empty file is replaced without the question.
    f.ui.clearRecords();
    f.write(QStringLiteral("empty.TXT"), "");
    f.ui.savePaths.push_back(f.path(QStringLiteral("empty.TXT")));
    EXPECT_TRUE(ExportRulesStructure(f.workbench.grammar, f.workbench.settings, f.ui, false).done());
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(GrammarRules, LoadFailuresAndAbortTellTheirTexts)
{
    Fixture f;
    // The dialog cancelled: nothing changes.
    ASSERT_TRUE(f.load(threeCategories));
    f.ui.clearRecords();
    f.ui.openPaths.push_back(QString());
    EXPECT_FALSE(OpenDocumentFile(f.workbench, DocumentKind::LanguageTool, f.ui).replaced);
    EXPECT_EQ(f.ui.dialogTitles, QStringList{QStringLiteral("Open grammar rules")});
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(f.workbench.grammar.chunks.size(), 7);

    for (const QString &missing : {f.path(QStringLiteral("none.xml")), f.write(QStringLiteral("empty.xml"), "")}) {
        f.ui.clearRecords();
        EXPECT_FALSE(OpenDocumentFile(f.workbench, DocumentKind::LanguageTool, f.ui, missing).replaced);
        ASSERT_EQ(f.ui.messages.size(), 1);
        EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Error"));
        EXPECT_EQ(f.ui.messages[0].text, QStringLiteral(".XML file not found."));
        EXPECT_EQ(f.ui.statusText(), QStringLiteral("File not found."));
        EXPECT_EQ(f.workbench.grammar.chunks.size(), 7);
    }

    // Escape while reading, answered Yes: no chunks.
    f.ui.clearRecords();
    f.ui.pressEscape();
    f.ui.answers.push_back(true);
    EXPECT_FALSE(f.load(threeCategories));
    EXPECT_EQ(f.ui.messageTexts(), QStringList{QStringLiteral("Really abort?")});
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_TRUE(f.workbench.grammar.chunks.isEmpty());
    EXPECT_TRUE(f.workbench.grammar.path.isEmpty());
}

TEST(GrammarRules, RowColoursFollowTheKindAndTheDefault)
{
    const auto chunk = [](const char *kind, const char *def) {
        GrammarChunk c;
        c.kind = QString::fromLatin1(kind);
        c.defaultValue = QString::fromLatin1(def);
        return c;
    };
    const struct {
        GrammarChunk chunk;
        int column;
        std::optional<quint32> colour;
    } cases[] = {
        {chunk("rule", ""), 0, 0xD6D9DF},        {chunk("rule", ""), 2, std::nullopt},
        {chunk("rule", "off"), 6, 0xFF0000},     {chunk("rule", "on"), 6, std::nullopt},
        {chunk("rulegroup", ""), 1, 0x009900},   {chunk("rulegroup", "off"), 6, 0xFF0000},
        {chunk("category", ""), 3, 0xB97A57},    {chunk("category", ""), 0, 0xD6D9DF},
        {chunk("category", "off"), 6, 0xFF0000}, {chunk("rulegroup", "temp_off"), 6, 0x009900},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ChunkCellColour(c.chunk, c.column), c.colour) << c.chunk.kind.toStdString() << c.column;
}

// The Galician rules of the corpus against a count made line by line here.
TEST(GrammarRules, RealGalicianRulesMatchAnIndependentCount)
{
    const QString path =
        qEnvironmentVariable("LEXALOOM_LT_CORPUS", QStringLiteral("/work/shared/corpus/languagetool")) +
        QStringLiteral("/gl/grammar.xml");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no LanguageTool corpus";
    const QList<QByteArray> lines = file.readAll().split('\n');
    int categories = 0;
    int rules = 0;
    for (const QByteArray &line : lines) {
        categories += line.contains("<category ");
        rules += line.contains("<rule ") || line.contains("<rulegroup ");
    }
    Fixture f;
    ASSERT_TRUE(OpenDocumentFile(f.workbench, DocumentKind::LanguageTool, f.ui, path).done());
    const GrammarRuleSet &set = f.workbench.grammar;
    EXPECT_EQ(set.categoryChunks.size(), categories);
    EXPECT_EQ(set.chunks.size(), categories + rules);
    EXPECT_EQ(set.ruleTotal, rules);
    QString all;
    for (const GrammarChunk &c : set.chunks)
        all += c.xmlCode;
    // Every line after the first one up to the last chunk's end is in some chunk.
    EXPECT_EQ(all.count(u'\n'), lines.size() - 2);
}

// Escape while the lines are processed keeps the chunks found so far, with their
// counts; the file is not recorded as loaded.
TEST(GrammarRules, AbortWhileProcessingKeepsTheChunksFoundSoFar)
{
    Fixture f;
    const QByteArray text = threeCategories;
    int pumps = 0;
    // Each pump moves the clock past the pump interval, so every line pumps; the
    // reading pass takes one pump per line (19), the processing pass starts after.
    f.ui.onProcessEvents = [&pumps](ScriptedUi &ui) {
        ui.fakeClock.advance(30);
        if (++pumps == 19 + 9)
            ui.pressEscape();
    };
    f.ui.answers.push_back(true);
    const DocumentLoadResult result = OpenDocumentFile(f.workbench, DocumentKind::LanguageTool, f.ui, f.write(QStringLiteral("grammar.xml"), text));
    EXPECT_FALSE(result.done());
    EXPECT_EQ(f.ui.messageTexts(), QStringList{QStringLiteral("Really abort?")});
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
    const GrammarRuleSet &set = f.workbench.grammar;
    EXPECT_EQ(kinds(set), (QStringList{"category", "rule", "category", "rulegroup"}));
    EXPECT_EQ(set.categoryRuleCounts, (QList<qint32>{1, 1}));
    EXPECT_TRUE(set.path.isEmpty());
    EXPECT_TRUE(f.workbench.recentFiles.list(DocumentKind::LanguageTool).isEmpty() ||
                f.workbench.recentFiles.list(DocumentKind::LanguageTool).first().isEmpty());
}

// A byte that is not UTF-8 (a Latin-1 name) reaches the export unchanged.
TEST(GrammarRules, BytesThatAreNotUtf8SurviveIntoTheExport)
{
    Fixture f;
    ASSERT_TRUE(f.load("<?xml?>\n<rule id=\"A\" name=\"caf\xE9\">\n"));
    const QString out = f.path(QStringLiteral("latin1.txt"));
    f.ui.savePaths.push_back(out);
    ASSERT_TRUE(ExportRulesStructure(f.workbench.grammar, f.workbench.settings, f.ui, false).done());
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bom + QByteArray("rule, ID:A, Name:\"caf\xE9\", , , \n\n"));
}
