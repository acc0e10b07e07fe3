#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/app/workbench.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/pos_extraction.h"
#include "core/languagetool/pos_settings.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"
#include "test_files.h"

using namespace lexaloom;
using lexaloom::testing::corpusRoot;
using lexaloom::testing::ScriptedUi;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

struct Fixture {
    QTemporaryDir dir;
    Workbench workbench{dir.path()};
    ScriptedUi ui;
    PosSettings pos;

    Fixture()
    {
        workbench.dictionary.affText = QStringLiteral("SET UTF-8\n");
        for (const char *entry :
             {"casa/S\npo:noun", "mesa\npo:noun is:fem", "bare/S", "gato\npo:noun", "c\u00E3o/S\npo:noun"})
            workbench.dictionary.entries.append(QString::fromUtf8(entry));
        pos.languages = {QStringLiteral("Test")};
        pos.rules = {{QStringLiteral(" po:noun \nNCFS000 \nnouns"), QStringLiteral("po:noun\nNC\nagain")}};
        pos.selectedLanguage = 0;
    }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QByteArray run(PosForm form, PosExtractionResult *result = nullptr)
    {
        const QString out = path(QStringLiteral("pos.txt"));
        QFile::remove(out);
        ui.savePaths.push_back(out);
        const PosExtractionResult r = ExtractDictionaryPos(workbench.dictionary, pos, workbench.settings, ui, form);
        if (result)
            *result = r;
        QFile file(out);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

} // namespace

TEST(PosExtraction, WholeTagPartsMatchEveryRuleInOrder)
{
    const struct {
        const char *entry;
        const char *tagText;
        PosForm form;
        const char *line;
    } cases[] = {
        {"casa/S\npo:noun", "po:noun", PosForm::Added, "casa\tcasa\tNCFS000\n"},
        {"casa/S\npo:noun", "po:noun", PosForm::Spelling, "casa\n"},
        {"casa\npo:noun is:fem", "po:noun", PosForm::Added, ""}, // the whole tag part must be equal
        {"casa/S", "po:noun", PosForm::Added, ""},               // no tags, no match
        {"casa/S", "", PosForm::Added, ""},
        {"casa\nPo:noun", "po:noun", PosForm::Added, ""}, // case counts
        {"casa/S/X\npo:noun", "po:noun", PosForm::Spelling, "casa\n"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(PosLine(QString::fromUtf8(c.entry), QString::fromUtf8(c.tagText), QStringLiteral("NCFS000"), c.form),
                  QString::fromUtf8(c.line))
            << c.entry;
    }
    EXPECT_EQ(PosExtractionCaption(PosForm::Added, QStringLiteral("English")),
              QStringLiteral("POS added.txt (English)"));
    EXPECT_EQ(PosExtractionCaption(PosForm::Spelling, QStringLiteral("Other")),
              QStringLiteral("POS spelling.txt (Other)"));
}

TEST(PosExtraction, WritesBothFormsWithTrimmedRuleFields)
{
    Fixture f;
    PosExtractionResult result;
    EXPECT_EQ(f.run(PosForm::Added, &result),
              bom + QString::fromUtf8("casa\tcasa\tNCFS000\ncasa\tcasa\tNC\ngato\tgato\tNCFS000\ngato\tgato\tNC\n"
                                      "c\u00E3o\tc\u00E3o\tNCFS000\nc\u00E3o\tc\u00E3o\tNC\n")
                        .toUtf8());
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.lines, 6);
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("OK. POSes extracted:6"));
    EXPECT_EQ(f.ui.dialogTitles.last(), QStringLiteral("Save extracted POSes"));
    EXPECT_EQ(f.run(PosForm::Spelling),
              bom + QString::fromUtf8("casa\ncasa\ngato\ngato\nc\u00E3o\nc\u00E3o\n").toUtf8());
}

TEST(PosExtraction, RefusalsSayWhyAndWriteNothing)
{
    const struct {
        const char *expected;
        void (*prepare)(Fixture &);
    } cases[] = {
        {"No dictionary words found.", [](Fixture &f) { f.workbench.dictionary.entries.clear(); }},
        {"The .AFF file is empty.", [](Fixture &f) { f.workbench.dictionary.affText.clear(); }},
        {"No POS rules for selected language.", [](Fixture &f) { f.pos.rules[0].clear(); }},
    };
    for (const auto &c : cases) {
        Fixture f;
        c.prepare(f);
        EXPECT_EQ(f.run(PosForm::Added), QByteArray("<missing>"));
        ASSERT_EQ(f.ui.messages.size(), 1);
        EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(f.ui.messages[0].text, QString::fromUtf8(c.expected));
        EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
    }
    // A cancelled dialog says "Aborted." and writes nothing.
    Fixture f;
    f.ui.savePaths.push_back(QString());
    EXPECT_FALSE(ExtractDictionaryPos(f.workbench.dictionary, f.pos, f.workbench.settings, f.ui, PosForm::Added).done);
    EXPECT_EQ(f.ui.statusText(), QStringLiteral("Aborted."));
}

// The English built-in rules on the real en_GB dictionary: every line's word and tag
// come from an entry whose tags are exactly the rule's text.
TEST(PosExtraction, RealEnglishDictionaryWithTheBuiltInRules)
{
    const QString dic = corpusRoot() +
                        QStringLiteral("/hunspell/en_GB.dic");
    if (!QFile::exists(dic))
        GTEST_SKIP() << "no corpus";
    Fixture f;
    f.workbench.dictionary = DictionaryDocument();
    // A word list with tab-separated tags: no, a space does not separate them.
    f.ui.answers.assign(1, false);
    ASSERT_TRUE(ReadDictionaryFiles(f.ui, f.workbench.settings, dic, f.workbench.dictionary).done());
    f.pos = PosSettings::builtIn();
    qint64 expected = 0;
    for (qint64 i = 0; i < f.workbench.dictionary.entries.size(); ++i) {
        const QString entry = f.workbench.dictionary.entries.at(i);
        const qsizetype nl = entry.indexOf(u'\n');
        if (nl < 0)
            continue;
        for (const QString &rule : f.pos.rules[2])
            expected += entry.mid(nl + 1) == rule.section(u'\n', 0, 0);
    }
    PosExtractionResult result;
    const QByteArray added = f.run(PosForm::Added, &result);
    EXPECT_GT(expected, 2000);
    EXPECT_EQ(result.lines, expected);
    EXPECT_EQ(added.count('\n'), expected);
    EXPECT_TRUE(added.contains("\nabbreviatory\tabbreviatory\tJJ\n"));
    EXPECT_TRUE(added.contains("abandonware\tabandonware\tNN:U\n"));
    const QByteArray spelling = f.run(PosForm::Spelling);
    EXPECT_EQ(spelling.count('\n'), expected);
}
