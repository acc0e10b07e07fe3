#include "core/dictionary_tools/pos_extraction.h"

#include <QStringList>

#include "core/dictionary/dictionary_document.h"
#include "core/languagetool/pos_settings.h"
#include "core/languagetool/text_export.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

#include <utility>

namespace lexaloom {

namespace {

QString withoutOuterSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin).toString();
}

void refuse(Ui &ui, const QString &message)
{
    ui.showMessage(LongTask::warningTitle(), message, MessageIcon::Warning);
    ui.setStatusText(LongTask::abortedText());
}

} // namespace

QString PosExtractionCaption(PosForm form, const QString &language)
{
    return (form == PosForm::Added ? QStringLiteral("POS added.txt (") : QStringLiteral("POS spelling.txt (")) +
           language + QLatin1Char(')');
}

QString PosLine(QStringView entry, const QString &tagText, const QString &pos, PosForm form)
{
    // An entry without tags matches no rule, not even one whose tag text is empty
    // (a hand-edited settings file): that would list every untagged word.
    const qsizetype newline = entry.indexOf(u'\n');
    if (newline < 0 || entry.mid(newline + 1) != QStringView(tagText))
        return {};
    const QStringView wordPart = newline < 0 ? entry : entry.first(newline);
    const qsizetype slash = wordPart.indexOf(u'/');
    const QString word = (slash < 0 ? wordPart : wordPart.first(slash)).toString();
    if (form == PosForm::Spelling)
        return word + u'\n';
    return word + u'\t' + word + u'\t' + pos + u'\n';
}

PosExtractionResult ExtractDictionaryPos(const DictionaryDocument &dictionary, const PosSettings &pos,
                                         const MainSettings &settings, Ui &ui, PosForm form)
{
    using namespace posExtractionTexts;
    PosExtractionResult result;
    ui.setStatusText(status);
    ui.setProgressValue(0);
    if (dictionary.entries.isEmpty()) {
        refuse(ui, noWords);
        return result;
    }
    if (dictionary.affText.isEmpty()) {
        refuse(ui, affEmpty);
        return result;
    }
    const qint32 language = pos.selectedLanguage;
    const QStringList rules = language >= 0 && language < pos.rules.size() ? pos.rules[language] : QStringList();
    if (rules.isEmpty()) {
        refuse(ui, noRules);
        return result;
    }
    // The rules' tag texts and POS tags, trimmed once.
    QList<std::pair<QString, QString>> fields;
    for (const QString &rule : rules) {
        const QStringList parts = rule.split(u'\n');
        fields.append({withoutOuterSpaces(parts.value(0)), withoutOuterSpaces(parts.value(1))});
    }

    const QString path = AskSavePath(ui, saveTitle, fileFilter, QStringLiteral(".txt"));
    if (path.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return result;
    }
    LongTask task(ui, settings);
    const qint64 n = dictionary.entries.size();
    task.begin(status, n);
    TextExportFile out(path);
    if (!out.open(ui)) {
        task.cancel();
        return result;
    }
    result.path = path;
    const bool completed = task.forEach(
        n, [&](qint64 i) { task.showValue(i); },
        [&](qint64 i) {
            const QStringView entry = dictionary.entries.view(i);
            for (const auto &[tagText, posTag] : std::as_const(fields)) {
                const QString line = PosLine(entry, tagText, posTag, form);
                if (line.isEmpty())
                    continue;
                out.write(line);
                ++result.lines;
            }
            return out.ok();
        },
        {.abortBeforeTick = true});
    if (!completed) {
        // The lines written so far stay.
        out.commit(ui);
        task.cancel();
        return result;
    }
    if (!out.commit(ui)) {
        task.cancel();
        result.path.clear();
        return result;
    }
    result.done = true;
    task.finish(done + task.formatCount(result.lines));
    return result;
}

} // namespace lexaloom
