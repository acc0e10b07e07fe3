// Dictionaries in the legacy charsets a .aff declares with SET: read in the charset,
// saved back byte for byte, or converted to UTF-8 on opening or by the tool.
#include "core/dictionary/dictionary_charset.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/app/document_files.h"
#include "core/app/workbench.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/convert_to_utf8.h"
#include "core/shell/text_codec.h"
#include "gtest_qt_printers.h"
#include "scripted_ui.h"

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(DictionaryCharsetTest, DecodesAsTheConverterDoesAndComesBackByteForByte)
{
    const struct {
        const char *declared;
        QByteArray bytes;
        const char *text; // UTF-8
    } cases[] = {
        {"ISO8859-7", "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1", "Καλημέρα"},
        {"KOI8-R", "\xF0\xD2\xC9\xD7\xC5\xD4", "Привет"},
        {"microsoft-cp1251", "\xCF\xF0\xE8\xE2\xB3\xF2", "Привіт"},
        {"ISO8859-2", "\xA3\xF3\x64\xBC", "Łódź"},
        {"iso8859-13", "\xC0\xFE\x75\x6F\x6C\x61\x73", "Ąžuolas"},
        {"ISO8859-15", "\xA4\x75\x72\x6F", "€uro"},
        {"ISO8859-1", "caf\xE9", "café"},
    };
    for (const auto &c : cases) {
        const std::optional<DictionaryCharset> charset = DictionaryCharset::forName(QString::fromUtf8(c.declared));
        ASSERT_TRUE(charset) << c.declared;
        EXPECT_EQ(charset->decode(c.bytes), QString::fromUtf8(c.text)) << c.declared;
        QByteArray back;
        EXPECT_TRUE(charset->encode(QString::fromUtf8(c.text), back)) << c.declared;
        EXPECT_EQ(back, c.bytes) << c.declared;
    }
    // Every byte string comes back, bytes the charset leaves undefined (0xAE and
    // 0xFF in ISO8859-7) included.
    const std::optional<DictionaryCharset> greek = DictionaryCharset::forName(QStringLiteral("ISO8859-7"));
    ASSERT_TRUE(greek);
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    QByteArray back;
    EXPECT_TRUE(greek->encode(greek->decode(all), back));
    EXPECT_EQ(back, all);
    // A character the charset cannot store.
    qsizetype bad = -1;
    back.clear();
    EXPECT_FALSE(greek->encode(QStringLiteral("ab\u65E5"), back, &bad));
    EXPECT_EQ(bad, 2);
    // UTF-8 and names the converter does not know are no legacy charset.
    for (const char *name : {"UTF-8", "utf-8", "", "KLINGON-1"})
        EXPECT_FALSE(DictionaryCharset::forName(QString::fromUtf8(name))) << name;
}

TEST(DictionaryCharsetTest, SetLineIsFoundAndRewritten)
{
    EXPECT_EQ(DeclaredCharset(u"# x\nSET ISO8859-7\r\nTRY a\n"), QStringLiteral("ISO8859-7"));
    EXPECT_EQ(DeclaredCharset(u"set koi8-r\n"), QStringLiteral("koi8-r"));
    EXPECT_EQ(DeclaredCharset(u"TRY a\n"), QString());
    EXPECT_EQ(WithUtf8SetLine(QStringLiteral("# x\nSET ISO8859-7\nTRY a\n")), QStringLiteral("# x\nSET UTF-8\nTRY a\n"));
    EXPECT_EQ(WithUtf8SetLine(QStringLiteral("TRY a\n")), QStringLiteral("SET UTF-8\nTRY a\n"));
}

class LegacyDictionaryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Workbench workbench{dir.filePath(QStringLiteral("program"))};
    ScriptedUi ui;
    // ISO8859-7: "SFX A Y 1 / SFX A 0 ς ." and the words "λόγο/A" and "καλή", with CR LF
    // line ends in the .aff, a byte 0xAE that ISO8859-7 leaves undefined in a comment.
    const QByteArray aff = "SET ISO8859-7\r\n# \xAE\r\nSFX A Y 1\r\nSFX A 0 \xF2 .\r\n";
    const QByteArray dic = "2\n\xEB\xFC\xE3\xEF/A\n\xEA\xE1\xEB\xDE\tpo:adj\n";

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    DictionaryFileResult open(int choice)
    {
        writeFile(path("el.aff"), aff);
        writeFile(path("el.dic"), dic);
        ui.choices = {choice};
        return RecordRecentFile(workbench, DocumentKind::Dictionary,
                                LoadDictionary(workbench.dictionary, workbench.settings, ui, path("el.dic")));
    }
    DictionaryFileResult saveAs(const char *name)
    {
        ui.savePaths = {path(name)};
        return RecordRecentFile(workbench, DocumentKind::Dictionary,
                                SaveDictionary(workbench.dictionary, workbench.settings, ui, false, true));
    }
};

TEST_F(LegacyDictionaryTest, OpenOffersTheCharsetAndSavesBackByteForByte)
{
    ASSERT_TRUE(open(0).done());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("This dictionary is in ISO8859-7."));
    EXPECT_EQ(ui.messages[0].choices,
              QStringList({QStringLiteral("Open it (saved back in ISO8859-7)"), QStringLiteral("Convert it to UTF-8"),
                           QStringLiteral("Cancel")}));
    EXPECT_EQ(ui.unscriptedQuestions, 0);
    EXPECT_FALSE(workbench.dictionary.changed);
    EXPECT_EQ(workbench.dictionary.entries.at(0), QStringLiteral("λόγο/A"));
    EXPECT_EQ(workbench.dictionary.entries.at(1), QStringLiteral("καλή\npo:adj"));

    // The engine sees Unicode: the affix is the Greek final sigma.
    AffixTable table;
    BuildAffixTable(table, workbench.dictionary.affText);
    EditorRowsSink rows;
    DeriveWord(table, u"λόγο/A", rows);
    ASSERT_EQ(rows.rows().size(), 2u);
    EXPECT_EQ(rows.rows()[1].word, QStringLiteral("λόγος"));

    // Saved in its own charset, without a byte-order mark: the same bytes, line ends
    // made LF as every save makes them.
    ASSERT_TRUE(saveAs("out.dic").done());
    EXPECT_EQ(readFile(path("out.dic")), dic);
    QByteArray lf = aff;
    EXPECT_EQ(readFile(path("out.aff")), lf.replace("\r\n", "\n"));
}

TEST_F(LegacyDictionaryTest, ConvertOnOpeningSavesUtf8)
{
    ASSERT_TRUE(open(1).done());
    EXPECT_TRUE(workbench.dictionary.changed); // the files on disk are still Greek
    EXPECT_TRUE(workbench.dictionary.affText.startsWith(QStringLiteral("SET UTF-8\n")));
    ASSERT_TRUE(saveAs("out.dic").done());
    EXPECT_EQ(readFile(path("out.dic")), QByteArray("\xEF\xBB\xBF") + "2\nλόγο/A\nκαλή\tpo:adj\n");
    EXPECT_EQ(readFile(path("out.aff")),
              QByteArray("\xEF\xBB\xBF") + "SET UTF-8\n# " + EncodeLossless(QString(QChar(RawByteUnit(0xAE)))) +
                  "\nSFX A Y 1\nSFX A 0 ς .\n");
}

TEST_F(LegacyDictionaryTest, CancelLeavesTheDocument)
{
    EXPECT_FALSE(open(2).done());
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_TRUE(workbench.dictionary.entries.isEmpty());
}

TEST_F(LegacyDictionaryTest, CharactersTheCharsetCannotStoreAreRefusedOnSave)
{
    ASSERT_TRUE(open(0).done());
    workbench.dictionary.entries.append(QStringLiteral("日本"));
    ui.clearRecords();
    EXPECT_FALSE(saveAs("out.dic").done());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("The .DIC file holds characters that ISO8859-7 cannot store (first at line 4).\n\n"
                             "Dictionary Tools > \"Convert to UTF-8\" saves them."));
    EXPECT_FALSE(QFile::exists(path("out.dic")));
    EXPECT_FALSE(QFile::exists(path("out.aff")));
}

TEST_F(LegacyDictionaryTest, ConvertToolIsOneUndoStep)
{
    ASSERT_TRUE(open(0).done());
    DictionaryDocument &doc = workbench.dictionary;
    const QString greekAff = doc.affText;
    ui.clearRecords();
    ASSERT_TRUE(ConvertDictionaryToUtf8(doc, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The dictionary is converted from ISO8859-7 to UTF-8.\n\n"
                                                            "Save writes both files in UTF-8.")});
    EXPECT_TRUE(doc.affText.startsWith(QStringLiteral("SET UTF-8\n")));
    EXPECT_TRUE(doc.changed);
    const QString utf8Aff = doc.affText;

    ASSERT_TRUE(UndoDictionary(doc));
    EXPECT_EQ(doc.affText, greekAff);
    EXPECT_FALSE(doc.changed);
    ASSERT_TRUE(RedoDictionary(doc));
    EXPECT_EQ(doc.affText, utf8Aff);
    EXPECT_TRUE(doc.changed);
    ASSERT_TRUE(saveAs("out.dic").done());
    EXPECT_EQ(readFile(path("out.dic")), QByteArray("\xEF\xBB\xBF") + "2\nλόγο/A\nκαλή\tpo:adj\n");

    // A UTF-8 dictionary is left alone.
    ui.clearRecords();
    EXPECT_FALSE(ConvertDictionaryToUtf8(doc, ui));
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("The dictionary is already in UTF-8.")});
}
