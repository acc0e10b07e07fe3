// How many of the forms `extract --kind accepted` writes Hunspell's own checker
// accepts, each form checked whole (libhunspell's spell on the line, unlike
// `hunspell -l`, which splits lines into tokens). Dictionaries with billions of
// forms are sampled evenly: every k-th accepted form, at most MAX of them.
// Rejected forms are listed with the path that made them and counted by class
// (type, flag, whether the rule was applied to the root), to tell what the
// extraction still lets through.
//
//   acceptance_bench DIC [MAX=300000] [SHOW=12]
//
// Forms go to Hunspell in the dictionary's own charset (SET), as a program
// using the dictionary would hand them over.

#include <QHash>
#include <QSet>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_ui.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_charset.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"

extern "C" {
typedef struct Hunhandle Hunhandle;
Hunhandle *Hunspell_create(const char *affpath, const char *dpath);
int Hunspell_spell(Hunhandle *h, const char *word);
void Hunspell_destroy(Hunhandle *h);
}

using namespace lexaloom;

namespace {

// Counts the forms the accepted extraction writes, and hands every k-th to a check.
class SamplingSink final : public DerivationSink {
public:
    qint64 stride = 0; // 0: count only
    qint64 seen = 0;
    QSet<QString> forbidden;
    std::function<void(const DerivedWord &)> check;

    qint64 excluded = 0;
    std::function<void(const DerivedWord &)> checkExcluded;

    bool accept(const DerivedWord &form) override
    {
        // What extract --kind accepted leaves out; every k-th of those is checked
        // too, to see that the extraction leaves out nothing Hunspell accepts.
        if (!form.acceptedAlone() || (!forbidden.isEmpty() && forbidden.contains(form.word.toString()))) {
            if (stride > 0 && excluded % stride == 0)
                checkExcluded(form);
            ++excluded;
            return false;
        }
        if (stride > 0 && seen % stride == 0)
            check(form);
        ++seen;
        return true;
    }
};

QString typeOf(const DerivedWord &form)
{
    QString text = derivedTypeText(form.type);
    if (form.type != DerivedType::Primary)
        text += form.base == form.root ? QStringLiteral(" on root") : QStringLiteral(" on derived");
    if (form.hasNestedFlag)
        text += QStringLiteral(" via ") + form.topFlag.toString() + QStringLiteral(">") + form.nestedFlag.toString();
    else if (form.type != DerivedType::Primary)
        text += QStringLiteral(" flag ") + form.flag.toString();
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: acceptance_bench DIC [MAX] [SHOW]\n");
        return 2;
    }
    const QString dicPath = QString::fromLocal8Bit(argv[1]);
    const qint64 maxChecks = argc > 2 ? std::max(1, atoi(argv[2])) : 300000;
    const int show = argc > 3 ? atoi(argv[3]) : 12;

    bench::BenchUi ui({.answer = true, .printMessages = false});
    const MainSettings settings;
    DictionaryDocument document;
    if (!ReadDictionaryFiles(ui, settings, dicPath, document).done()) {
        std::fprintf(stderr, "acceptance_bench: cannot load %s\n", argv[1]);
        return 1;
    }
    AffixTable table;
    BuildAffixTable(table, document.affText);
    const std::optional<DictionaryCharset> charset = DictionaryCharset::forAff(document.affText);

    WordDeriver deriver(table);
    SamplingSink sink;
    sink.forbidden = ForbiddenWords(document.entries, table);
    const auto run = [&] {
        sink.seen = 0;
        sink.excluded = 0;
        for (qint64 i = 0; i < document.entries.size(); ++i) {
            const QStringView line = document.entries.view(i);
            const qsizetype tab = line.indexOf(u'\n');
            const QStringView entry = tab < 0 ? line : line.first(tab);
            if (!entry.startsWith(u'/'))
                deriver.DeriveWord(entry, sink);
        }
    };
    run();
    const qint64 total = sink.seen;
    sink.stride = std::max<qint64>(1, (total + maxChecks - 1) / maxChecks);

    const QByteArray aff = AffPathFor(dicPath).toLocal8Bit();
    Hunhandle *hunspell = Hunspell_create(aff.constData(), dicPath.toLocal8Bit().constData());
    qint64 checked = 0;
    qint64 rejected = 0;
    std::map<std::string, qint64> classes;
    std::map<std::string, std::string> examples;
    const auto spell = [&](QStringView word) {
        QByteArray bytes;
        if (charset)
            charset->encode(word, bytes);
        else
            bytes = EncodeLossless(word);
        return Hunspell_spell(hunspell, bytes.constData()) != 0;
    };
    qint64 excludedChecked = 0;
    qint64 excludedAccepted = 0;
    std::string excludedExample;
    sink.checkExcluded = [&](const DerivedWord &form) {
        ++excludedChecked;
        if (spell(form.word) && excludedAccepted++ == 0)
            excludedExample = (form.word.toString() + QStringLiteral(" (") + typeOf(form) + u')').toStdString();
    };
    sink.check = [&](const DerivedWord &form) {
        ++checked;
        if (spell(form.word))
            return;
        ++rejected;
        const std::string key = typeOf(form).toStdString();
        if (classes[key]++ == 0) {
            examples[key] = (form.word.toString() + QStringLiteral("  (root ") + form.root.toString() +
                             QStringLiteral(", base ") + form.base.toString() + QStringLiteral(")"))
                                .toStdString();
        }
    };
    run();
    Hunspell_destroy(hunspell);

    std::printf("entries            %lld\n", qint64(document.entries.size()));
    std::printf("accepted_forms     %lld\n", total);
    std::printf("checked            %lld (every %lld)\n", checked, sink.stride);
    std::printf("rejected           %lld\n", rejected);
    std::printf("accepted_share     %.4f\n", checked ? 100.0 * double(checked - rejected) / double(checked) : 100.0);
    std::printf("excluded           %lld, %lld checked, %lld of them accepted %s\n", sink.excluded, excludedChecked,
                excludedAccepted, excludedExample.c_str());
    std::vector<std::pair<qint64, std::string>> sorted;
    for (const auto &[key, n] : classes)
        sorted.emplace_back(n, key);
    std::sort(sorted.rbegin(), sorted.rend());
    for (int i = 0; i < int(sorted.size()) && i < show; ++i)
        std::printf("  %8lld  %s: %s\n", sorted[size_t(i)].first, sorted[size_t(i)].second.c_str(),
                    examples[sorted[size_t(i)].second].c_str());
    return 0;
}
