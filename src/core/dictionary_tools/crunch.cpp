#include "core/dictionary_tools/crunch.h"

#include <QHash>

#include <algorithm>
#include <numeric>

#include "core/dictionary/affix_table.h"
#include "core/dictionary/derive_sinks.h"
#include "core/dictionary/derive_word.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"

namespace lexaloom {

namespace {

struct Record {
    qint64 line = 0;
    QString word;
    QString newBase;
    QString flags;
    QString tags;
    bool crunched = false;
};

Record recordOf(qint64 line, QStringView entry)
{
    Record r;
    r.line = line;
    const qsizetype breakAt = entry.indexOf(u'\n');
    const QStringView wordPart = breakAt < 0 ? entry : entry.first(breakAt);
    if (breakAt >= 0)
        r.tags = entry.mid(breakAt + 1).toString();
    const qsizetype slash = wordPart.indexOf(u'/');
    if (slash < 0) {
        r.word = wordPart.toString();
    } else {
        r.word = wordPart.first(slash).toString();
        const QStringView rest = wordPart.mid(slash + 1);
        const qsizetype next = rest.indexOf(u'/');
        r.flags = (next < 0 ? rest : rest.first(next)).toString();
    }
    r.newBase = r.word;
    return r;
}

// Records are looked up by their exact word and tags, and bare records are counted
// per match prefix and tags: a base whose group holds no other bare record has
// nothing to crunch and needs no derivation at all.
QString joinKey(QStringView a, QStringView b)
{
    QString key;
    key.reserve(a.size() + b.size() + 1);
    key.append(a);
    key.append(QChar(0));
    key.append(b);
    return key;
}

// Every form of one entry, with whether a spell checker takes it on its own.
class FormsSink final : public DerivationSink {
public:
    struct Form {
        QString word;
        bool alone = false;
    };
    void begin() override { m_forms.clear(); }
    bool accept(const DerivedWord &form) override
    {
        m_forms.push_back({form.word.toString(), form.acceptedAlone()});
        return true;
    }
    std::vector<Form> take() { return std::move(m_forms); }

private:
    std::vector<Form> m_forms;
};

// What the dictionary must already give for a crunch to add no word: each form of the
// new entry, and as a word on its own where the new entry makes it one.
struct NeededForm {
    bool alone = false;      // needed as a word on its own
    bool found = false;      // some entry gives it
    bool foundAlone = false; // some entry gives it as a word on its own
};

// Marks the needed forms that the dictionary's entries give.
class NeededFormsSink final : public DerivationSink {
public:
    explicit NeededFormsSink(QHash<QString, NeededForm> &needed)
        : m_needed(needed)
    {
    }
    bool accept(const DerivedWord &form) override
    {
        m_key.setRawData(reinterpret_cast<const QChar *>(form.word.utf16()), form.word.size());
        const auto it = m_needed.find(m_key);
        if (it != m_needed.end()) {
            it->found = true;
            it->foundAlone |= form.acceptedAlone();
        }
        return true;
    }

private:
    QHash<QString, NeededForm> &m_needed;
    QString m_key;
};

// A base and a rule whose first form is a bare record of the base's run and tags; the
// crunch happens when every form of base + flag is a form the dictionary already has.
struct Candidate {
    qint64 base = 0; // record index
    int rule = 0;
    QString form; // the first suffix form, the word of the targets
    std::vector<FormsSink::Form> forms;
};

// With AF aliases an entry's flags are an alias number: the rule's flag is written as
// the alias that holds that flag alone, and a flag no alias holds alone cannot be written.
QString flagTextOf(const AffixTable &table, QChar flag)
{
    if (table.aliasCount == 0)
        return QString(flag);
    for (int n = 1; n <= table.aliasCount; ++n) {
        if (table.alias(n) == flag)
            return QString::number(n);
    }
    return QString();
}

} // namespace

bool CrunchRule::allows(QStringView base) const
{
    switch (condition) {
    case Condition::None:
        return true;
    case Condition::NotAuOrEu:
        return !base.endsWith(u"au") && !base.endsWith(u"eu");
    case Condition::NotIngPossessive:
        return !base.endsWith(u"ing's");
    }
    return true;
}

const std::array<CrunchRule, crunchRuleCount> &CrunchRules()
{
    using C = CrunchRule::Condition;
    static const std::array<CrunchRule, crunchRuleCount> rules = {{
        {QStringLiteral("X's \u2192 /M (Possessive -'s)"), u'M', C::None},
        {QStringLiteral("Xs \u2192 /S (Plural/Verb -s)"), u'S', C::NotAuOrEu},
        {QStringLiteral("Xing \u2192 /G (Verb -ing)"), u'G', C::None},
        {QStringLiteral("Xed \u2192 /D (Verb -ed)"), u'D', C::None},
        {QStringLiteral("Xless \u2192 /p (Adjective -less)"), u'p', C::None},
        {QStringLiteral("Xal \u2192 /O (Adjective -al)"), u'O', C::None},
        {QStringLiteral("Xal \u2192 /w (Adjective -al)"), u'w', C::None},
        {QStringLiteral("Xic \u2192 /W (Adjective -ic)"), u'W', C::None},
        {QStringLiteral("Xly \u2192 /Y (Adj/Adverb -ly)"), u'Y', C::None},
        {QStringLiteral("Xically \u2192 /1 (Adverb -ically)"), u'1', C::None},
        {QStringLiteral("Xingly \u2192 /k (Adverb -ingly)"), u'k', C::None},
        {QStringLiteral("Xful \u2192 /6 (Adjective -ful)"), u'6', C::None},
        {QStringLiteral("Xfully \u2192 /j (Adverb -fully)"), u'j', C::None},
        {QStringLiteral("Xedly \u2192 /h (Adverb -edly)"), u'h', C::None},
        {QStringLiteral("Xings \u2192 /J (Plural noun -ings)"), u'J', C::NotIngPossessive},
        {QStringLiteral("Xally \u2192 /o (Adverb -ally)"), u'o', C::None},
        {QStringLiteral("Xish \u2192 /~ (Adjective -ish)"), u'~', C::None},
    }};
    return rules;
}

int CrunchChoices::onCount() const
{
    return int(std::count(on.begin(), on.end(), true));
}

QString CrunchChoices::usedFlags() const
{
    QString flags;
    for (int i = 0; i < crunchRuleCount; ++i) {
        if (on[size_t(i)])
            flags.append(CrunchRules()[size_t(i)].flag);
    }
    return flags;
}

QString CrunchChoices::usedCount() const
{
    return QStringLiteral("(") + QString::number(onCount()) + QStringLiteral("/") + QString::number(crunchRuleCount) +
           QStringLiteral(")");
}

QString CrunchChoices::levelCaption(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral("1 chr: Best (Slowest)");
    case 2:
        return QStringLiteral("2 chrs: Very Good (Faster) (recommended)");
    default:
        return QStringLiteral("3 chrs: Good (Fastest)");
    }
}

CrunchSession::CrunchSession(DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings,
                             CrunchChoices &choices)
    : m_dictionary(dictionary)
    , m_table(table)
    , m_settings(settings)
    , m_choices(choices)
{
    m_display.found = QStringLiteral("Found:0/") + FormatCount(dictionary.wordCount(), settings.thousandsSeparator);
}

bool CrunchSession::canOpen(const DictionaryDocument &dictionary, Ui &ui)
{
    if (dictionary.wordCount() > 0)
        return true;
    ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
    return false;
}

CrunchOutcome CrunchSession::process(Ui &ui, const std::function<void()> &refresh)
{
    if (m_choices.onCount() == 0) {
        ui.showMessage(LongTask::warningTitle(), crunchTexts::noRules, MessageIcon::Warning);
        return CrunchOutcome::Refused;
    }
    const qint64 count = m_dictionary.wordCount();
    if (count == 1) {
        ui.showMessage(LongTask::warningTitle(), crunchTexts::noFlagsAdded, MessageIcon::Warning);
        return CrunchOutcome::Refused;
    }
    if (count == 0) {
        ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        return CrunchOutcome::Refused;
    }
    m_rows.clear();
    m_found = 0;
    m_display.hint = crunchTexts::abortHint;
    BuildAffixTable(m_table, m_dictionary.affText);

    LongTask task(ui, m_settings);
    const QString total = QStringLiteral("/") + task.formatCount(count);
    const auto showFound = [&] { m_display.found = QStringLiteral("Found:") + task.formatCount(m_found) + total; };
    const auto tick = [&](const QString &stepText, qint64 done) {
        task.showProgress(stepText + task.formatCount(done) + total + FormatPercent(done, count), done);
        m_display.elapsed = task.elapsedText(QString());
        if (refresh)
            refresh();
    };
    const auto abort = [&] {
        task.cancel(crunchTexts::aborted);
        m_display.hint.clear();
        m_display.elapsed = task.elapsedText(QString());
        return CrunchOutcome::Aborted;
    };

    // Step 1: one record per entry.
    task.begin(crunchTexts::populating, count);
    std::vector<Record> records;
    records.reserve(size_t(count));
    const bool populated = task.forEach(
        count, [&](qint64 i) { tick(crunchTexts::populating, i); },
        [&](qint64 i) { records.push_back(recordOf(i, m_dictionary.entries.view(i))); }, {.abortBeforeTick = true});
    if (!populated)
        return abort();

    // Step 2: by word, in code-unit order; equal words keep their dictionary order.
    task.showProgress(crunchTexts::sorting, 0);
    std::vector<qint64> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&records](qint64 a, qint64 b) { return records[size_t(a)].word < records[size_t(b)].word; });

    // Step 3. A base j crunches the bare records k that share its first L characters
    // and its tags and whose word is the suffix form of j's word through a rule's
    // flag; each k takes the first such rule whose other forms the dictionary gives
    // already ("SFX with 1 derivate only": crunching never adds a word). Instead of
    // walking every record of the prefix run for each base, the forms of the base are
    // derived once per rule and the records with that word and those tags are looked up.
    task.showProgress(crunchTexts::processingFlags, 0);
    m_display.found = QStringLiteral("Found:0") + total;
    const int level = std::clamp(m_choices.matchLevel, CrunchChoices::minLevel, CrunchChoices::maxLevel);
    QHash<QString, std::vector<qint64>> byWordAndTags;
    QHash<QString, qint64> bareInGroup;
    byWordAndTags.reserve(count);
    for (const qint64 position : order) {
        const Record &r = records[size_t(position)];
        byWordAndTags[joinKey(r.word, r.tags)].push_back(position);
        if (r.flags.isEmpty())
            ++bareInGroup[joinKey(QStringView(r.word).left(level), r.tags)];
    }

    WordDeriver deriver(m_table);
    CrunchSink sink;
    FormsSink formsSink;
    QString query;
    const auto &rules = CrunchRules();
    std::array<QString, crunchRuleCount> ruleFlags;
    for (int r = 0; r < crunchRuleCount; ++r)
        ruleFlags[size_t(r)] = flagTextOf(m_table, rules[size_t(r)].flag);
    const auto queryOf = [&](const QString &word, int rule) {
        query = word;
        query.append(u'/');
        query.append(ruleFlags[size_t(rule)]);
        return QStringView(query);
    };

    // 3a: the bases and rules whose first form is the word of a bare record of the run.
    std::vector<Candidate> candidates;
    QHash<QString, NeededForm> needed;
    const bool completed = task.forEach(
        count,
        [&](qint64 n) {
            tick(crunchTexts::processingFlags, n + 1);
            showFound();
        },
        [&](qint64 n) {
            const qint64 j = order[size_t(n)];
            const Record &base = records[size_t(j)];
            if (base.word.isEmpty())
                return;
            const QStringView prefix = QStringView(base.word).left(level);
            const qint64 others = bareInGroup.value(joinKey(prefix, base.tags)) - (base.flags.isEmpty() ? 1 : 0);
            if (others <= 0)
                return;
            for (int r = 0; r < crunchRuleCount; ++r) {
                const CrunchRule &rule = rules[size_t(r)];
                if (!m_choices.on[size_t(r)] || ruleFlags[size_t(r)].isEmpty() || !rule.allows(base.word))
                    continue;
                if (deriver.DeriveWord(queryOf(base.word, r), sink) == 0)
                    continue;
                const QString &form = sink.result();
                if (QStringView(form).left(level) != prefix)
                    continue;
                const auto targets = byWordAndTags.constFind(joinKey(form, base.tags));
                if (targets == byWordAndTags.constEnd())
                    continue;
                const bool anyBare = std::any_of(targets->begin(), targets->end(), [&](qint64 k) {
                    return k != j && records[size_t(k)].flags.isEmpty();
                });
                if (!anyBare)
                    continue;
                Candidate c{j, r, form, {}};
                deriver.DeriveWord(queryOf(base.word, r), formsSink);
                c.forms = formsSink.take();
                for (const FormsSink::Form &f : c.forms)
                    needed[f.word].alone |= f.alone;
                candidates.push_back(std::move(c));
            }
        },
        {.abortBeforeTick = true});
    if (!completed)
        return abort();

    // 3b: which of those forms the dictionary gives, and as words on their own.
    if (!candidates.empty()) {
        NeededFormsSink neededSink(needed);
        const bool derived = task.forEach(
            count, [&](qint64) { tick(crunchTexts::processingFlags, count); },
            [&](qint64 i) {
                const QStringView entry = m_dictionary.entries.view(i);
                const qsizetype breakAt = entry.indexOf(u'\n');
                const QStringView wordPart = breakAt < 0 ? entry : entry.first(breakAt);
                if (!wordPart.isEmpty() && !IsCommentEntry(wordPart))
                    deriver.DeriveWord(wordPart, neededSink);
            },
            {.abortBeforeTick = true});
        if (!derived)
            return abort();
    }
    // The crunch leaves the forms the same set: the new entry gives nothing the dictionary
    // lacks, and the bare targets' word stays a word on its own.
    const auto keepsTheForms = [&needed](const Candidate &c) {
        const bool targetAlone = std::any_of(c.forms.begin(), c.forms.end(),
                                             [&c](const FormsSink::Form &f) { return f.alone && f.word == c.form; });
        return targetAlone && std::all_of(c.forms.begin(), c.forms.end(), [&needed](const FormsSink::Form &f) {
                   const NeededForm &n = needed[f.word];
                   return n.found && (!f.alone || n.foundAlone);
               });
    };

    // 3c: the crunches in base order, each target at most once; a crunched record never
    // serves as a base.
    for (const Candidate &c : candidates) {
        const Record &base = records[size_t(c.base)];
        if (base.crunched || !keepsTheForms(c))
            continue;
        const QString &flag = ruleFlags[size_t(c.rule)];
        for (const qint64 k : byWordAndTags.value(joinKey(c.form, base.tags))) {
            Record &target = records[size_t(k)];
            if (k == c.base || !target.flags.isEmpty() || target.newBase == base.word)
                continue;
            if (!m_undoRecorded) {
                PushDictionaryUndo(m_dictionary);
                m_dictionary.changed = true;
                m_undoRecorded = true;
            }
            target.crunched = true;
            target.newBase = base.word;
            target.flags = flag;
            QString entry = base.word + u'/' + flag;
            if (!target.tags.isEmpty())
                entry += u'\n' + target.tags;
            m_dictionary.entries.replace(target.line, entry);
            ++m_found;
        }
    }
    showFound();

    // Step 4: the rewritten entries in dictionary order.
    task.showProgress(crunchTexts::listing, 0);
    for (const Record &r : records) {
        if (r.crunched)
            m_rows.push_back({r.line + 1, r.word + crunchTexts::arrow + r.newBase + u'/' + r.flags, r.newBase.size()});
    }
    m_display.elapsed = task.elapsedText(QString());
    task.finish(crunchTexts::done);
    m_display.hint.clear();
    if (m_found == 0) {
        ui.showMessage(LongTask::warningTitle(), crunchTexts::noChanges, MessageIcon::Warning);
        return CrunchOutcome::NoChanges;
    }
    return CrunchOutcome::Done;
}

} // namespace lexaloom
