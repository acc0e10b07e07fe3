// Times every Bulk Import mode and the possessive names on a 100,000-line paste, as the
// window runs them: one LongTask poll per line with real event pumping. Reports each
// run's time and the longest stretch without an event pump (how late an Escape could
// be noticed). Words come from the corpus's en_US.dic when present, else are made up.

#include "core/autocorrect/autocorrect_list.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary_tools/bulk_import.h"
#include "core/dictionary_tools/possessive_names.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

#include "bench_ui.h"
#include "core/thesaurus/thesaurus_document.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <random>

using namespace lexaloom;

namespace {

QStringList corpusWords()
{
    const QString folder = qEnvironmentVariable("LEXALOOM_CORPUS", QStringLiteral("/work/corpus-data"));
    QFile file(folder + QStringLiteral("/hunspell/en_US.dic"));
    QStringList words;
    if (file.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QString word = lines[i].section(u'/', 0, 0).section(u'\t', 0, 0).trimmed();
            if (!word.isEmpty())
                words.append(word);
        }
    }
    if (words.size() < 1000) {
        std::mt19937 random(1);
        const QString letters = QStringLiteral("abcdeéfghijklmnoöpqrstuvwxyzABCÉ");
        for (int i = 0; i < 50000; ++i) {
            QString w;
            for (int k = 3 + int(random() % 8); k > 0; --k)
                w += letters[int(random() % letters.size())];
            words.append(w);
        }
    }
    return words;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList words = corpusWords();
    constexpr qsizetype lines = 100000;
    std::mt19937 random(24);
    auto word = [&] { return words[qsizetype(random() % words.size())]; };

    QString plain, thesaurus, autocorrect, multiword, references, alternatives, names;
    for (qsizetype i = 0; i < lines; ++i) {
        const QString w = word();
        plain += w + u'\n';
        thesaurus += w + u',' + word() + QStringLiteral(", ") + word() + u'\n';
        autocorrect += w + QStringLiteral("x,") + w + u'\n';
        multiword += w + u' ' + word() + u'\n';
        references += w + QStringLiteral("&#233;&#38;#252;") + u'\n';
        alternatives += (i ? QStringLiteral("|") : QString()) + w;
        names += QStringLiteral("Yesterday ") + w + QStringLiteral("'s friend met ") + word() +
                 QStringLiteral(" in Paris.\n");
    }
    DictionaryDocument baseDictionary;
    for (qsizetype i = 0; i < lines; ++i)
        baseDictionary.entries.append(words[i % words.size()] + QStringLiteral("/MS"));

    MainSettings settings;
    bench::BenchUi ui({.answer = false, .printMessages = false, .pumpEvents = true});
    struct Run {
        const char *name;
        BulkImportMode mode;
        const QString *input;
        bool regexp = false;
    };
    const Run runs[] = {
        {"dictionary", BulkImportMode::Dictionary, &plain},
        {"thesaurus", BulkImportMode::Thesaurus, &thesaurus},
        {"autocorrect", BulkImportMode::Autocorrect, &autocorrect},
        {"multiwords", BulkImportMode::Multiwords, &multiword},
        {"sort", BulkImportMode::SortWordlist, &plain},
        {"sort regexp", BulkImportMode::SortWordlist, &alternatives, true},
        {"delete duplicates", BulkImportMode::DeleteDuplicates, &plain},
        {"XML tags", BulkImportMode::ConvertXmlTags, &references},
    };
    bool allFast = true;
    for (const Run &run : runs) {
        DictionaryDocument dictionary = baseDictionary;
        ThesaurusDocument thesaurusDoc;
        AutocorrectList autocorrectList;
        BulkImportSession session(run.mode, {&dictionary, &thesaurusDoc, &autocorrectList}, settings, ui);
        session.input = *run.input;
        ui.reset();
        QElapsedTimer timer;
        timer.start();
        const BulkImportOutcome outcome = run.regexp ? session.processRegexp() : session.process();
        const qint64 ms = timer.elapsed();
        ui.finish();
        allFast = allFast && ms <= 1000 && outcome == BulkImportOutcome::Done;
        out << run.name << " ms\t" << ms << "\n" << run.name << " longest pump gap ms\t" << ui.longestGapMs << "\n";
        out << run.name << " found\t" << session.found() << "\n";
    }
    {
        DictionaryDocument dictionary = baseDictionary;
        PossessiveSettings possessives;
        PossessiveNamesSession session(dictionary, 0, possessives, settings, ui);
        session.input = names;
        ui.reset();
        QElapsedTimer timer;
        timer.start();
        const bool done = session.process();
        const qint64 ms = timer.elapsed();
        ui.finish();
        allFast = allFast && ms <= 1000 && done;
        out << "possessive names ms\t" << ms << "\npossessive names longest pump gap ms\t" << ui.longestGapMs
            << "\npossessive names added\t" << session.found() << "\n";
    }
    out << "every mode within 1 s\t" << (allFast ? "yes" : "NO") << "\n";
    return allFast ? 0 : 1;
}
