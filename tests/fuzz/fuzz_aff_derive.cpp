// The .aff table as a hostile file builds it, then the engine on a few entries.
// Input: the .aff text; the lines after a line "#dic" are entries (word/flags).
// Without that line, one entry carries the flags of the first groups.
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/flags.h"
#include "core/shell/text_codec.h"

#include "fuzz_support.h"

#include <QBuffer>
#include <QString>
#include <QStringList>

#include <vector>

using namespace lexaloom;

namespace {

// Reads every field of every form, as the word editor's rows do, so a view into
// freed or foreign memory is caught; the three kinds of sink take different paths
// through the engine.
class TouchingSink final : public DerivationSink {
public:
    explicit TouchingSink(int kind)
    {
        m_countsOnly = kind == 1;
        m_firstSuffixOnly = kind == 2;
        m_pollsEvents = kind == 0;
    }

    bool accept(const DerivedWord &form) override
    {
        if (!m_countsOnly) {
            m_sum += form.word.size() + form.root.size() + form.base.size() + form.flag.size();
            m_sum += ruleText(form, 4).size() + flagPathText(form).size();
            for (QChar c : form.word)
                m_sum += c.unicode();
        }
        return true;
    }
    bool stopRequested() override { return false; }

    quint64 m_sum = 0;
};

// The lines a plain extraction file should get: every form's text, encoded.
class EncodingSink final : public DerivationSink {
public:
    bool accept(const DerivedWord &form) override
    {
        bytes += EncodeLossless(form.word);
        bytes += '\n';
        return true;
    }
    QByteArray bytes;
};

constexpr int maxEntries = 4;
constexpr qsizetype maxEntryLength = 200;

QString flagsOfFirstGroups(const AffixTable &table)
{
    QString flags;
    for (qsizetype i = 0; i < table.groupFlags.size() && i < 3; ++i) {
        if (table.flagMode == FlagMode::Numeric && !flags.isEmpty())
            flags += QLatin1Char(',');
        flags += table.groupFlags[i];
    }
    return flags;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::SplitInput input = fuzz::splitAt(fuzz::bytesOf(data, size), "#dic");
    AffixTable table;
    BuildAffixTable(table, QString::fromUtf8(input.first));
    // A second build of the same text must be skipped, of another text must not be.
    if (BuildAffixTable(table, QString::fromUtf8(input.first)))
        fuzz::fail("the same .aff text was built twice");

    QStringList entries;
    if (input.hasSecond) {
        const QStringList lines = QString::fromUtf8(input.second).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (entries.size() == maxEntries)
                break;
            entries.append(line.left(maxEntryLength));
        }
    } else {
        entries.append(QStringLiteral("abc/") + flagsOfFirstGroups(table));
    }

    WordDeriver deriver(table);
    std::vector<int> counts; // -1 where the sink does not count (crunch)
    for (qsizetype i = 0; i < entries.size(); ++i) {
        TouchingSink sink(int(i % 3));
        const int n = deriver.DeriveWord(entries[i], sink);
        counts.push_back(i % 3 == 2 ? -1 : n);
        (void)deriver.state().missingContinuationLabel();
    }
    // Plain lines take a shortcut through bytes: they must be what any other sink gets.
    // A few hundred bytes can make millions of forms: only entries known to make few
    // are compared, so that the check adds little to an input's time.
    constexpr int maxComparedForms = 20000;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (counts[size_t(i)] < 0 || counts[size_t(i)] > maxComparedForms)
            continue;
        const QString &entry = entries[i];
        EncodingSink expected;
        const int expectedCount = deriver.DeriveWord(entry, expected);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        int count = 0;
        {
            Utf8Writer writer(buffer);
            FileLinesSink sink(writer, FileLineFormat::Plain, table.maxRuleCount);
            count = deriver.DeriveWord(entry, sink);
        }
        if (count != expectedCount || bytes != expected.bytes)
            fuzz::fail("plain extraction lines differ from the forms");
    }
    // The one-shot form with aliases taken as already expanded.
    if (!entries.isEmpty()) {
        TouchingSink sink(0);
        DeriveWord(table, entries.first(), sink, true);
    }
    return 0;
}
