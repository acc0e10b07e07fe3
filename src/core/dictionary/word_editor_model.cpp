#include "core/dictionary/word_editor_model.h"

#include "core/dictionary/aff_aid.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/list_document.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace lexaloom {

namespace {

// The built-in legend's key in the .AFF Aid language preference.
const QString builtInKey = QStringLiteral("*****");

QString padded(const QString &text)
{
    return text.rightJustified(8, u'0');
}

int packed(const PaletteColour &c)
{
    return (c.red << 16) | (c.green << 8) | c.blue;
}

bool hasBadSpaces(const QString &text)
{
    return text.startsWith(u' ') || text.endsWith(u' ') || text.contains(QLatin1String("  "));
}

// The slash that separates word and flags (an escaped "\/" belongs to the word).
qsizetype flagSeparator(const QString &entry)
{
    for (qsizetype i = 0; i < entry.size(); ++i) {
        if (entry[i] == u'/' && !(i > 0 && entry[i - 1] == u'\\'))
            return i;
    }
    return -1;
}

void report(Ui &ui, const QString &text)
{
    ui.showMessage(editingTexts::warningTitle, text, MessageIcon::Warning);
}

QString wordAndRuleLine(const DerivedRow &row, const QString &primary)
{
    QString line = u'"' + row.word + QStringLiteral("\",\"") + primary + QStringLiteral("\",\"") + row.type +
                   QStringLiteral("\",\"") + row.flag + QStringLiteral("\",\"") + row.ruleText() + u'"';
    static const QRegularExpression spaceByQuote(QStringLiteral(" +(?=\")|(?<=\") +"));
    line.remove(spaceByQuote);
    return line;
}

} // namespace

QStringList derivedSortCaptions()
{
    return {QStringLiteral("Default"), QStringLiteral("Type + Flag"), QStringLiteral("Flag + Rule"),
            QStringLiteral("Flag Pos + Rule"), QStringLiteral("Rule + Flag")};
}

QString DerivedRow::positionText() const
{
    return position == 0 ? QString() : QString::number(position);
}

QString DerivedRow::ruleText() const
{
    if (type == derivedTypeText(DerivedType::Primary))
        return {};
    const qsizetype colon = ruleKey.indexOf(u':');
    const QString number = QString::number(ruleKey.left(colon).toInt());
    return number + u':' + ruleKey.mid(colon + 1);
}

int derivedTypeColour(const MainSettings &settings, DerivedType type)
{
    switch (type) {
    case DerivedType::Primary:
        return packed(paletteColour(settings.colourPrimary));
    case DerivedType::Suffix:
        return packed(paletteColour(settings.colourSuffix));
    case DerivedType::Prefix:
        return packed(paletteColour(settings.colourPrefix));
    case DerivedType::Both:
        return packed(paletteColour(settings.colourBoth));
    }
    return 0;
}

DerivedRow makeDerivedRow(const EditorRow &row, int index, int colour)
{
    DerivedRow out;
    out.index = index;
    out.word = row.word;
    out.type = derivedTypeText(row.type);
    out.colour = colour;
    out.flag = row.flag;
    out.flagPath = row.flagPath;
    out.position = row.position;
    out.positionKey = padded(row.type == DerivedType::Primary ? QString() : QString::number(row.position));
    const qsizetype colon = row.rule.indexOf(u':');
    out.ruleKey = colon < 0 ? padded(QString()) + u':' : padded(row.rule.left(colon)) + u':' + row.rule.mid(colon + 1);
    return out;
}

QString derivedSortKey(const DerivedRow &row, DerivedSort choice)
{
    switch (choice) {
    case DerivedSort::Default:
        break;
    case DerivedSort::TypeFlag:
        return row.type + u'\t' + row.flag;
    case DerivedSort::FlagRule:
        return row.flag + u'\t' + row.ruleKey;
    case DerivedSort::FlagPosRule:
        return row.positionKey + u'\t' + row.ruleKey;
    case DerivedSort::RuleFlag:
        return row.ruleKey + u'\t' + row.flag;
    }
    // Padded so that the production order survives a comparison of texts.
    return QString::number(row.index).rightJustified(10, u'0');
}

void sortDerivedRows(std::vector<DerivedRow> &rows, DerivedSort choice)
{
    for (DerivedRow &row : rows)
        row.sortKey = derivedSortKey(row, choice);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const DerivedRow &a, const DerivedRow &b) { return a.sortKey < b.sortKey; });
}

TagSummary summariseTags(const std::vector<DerivedRow> &rows)
{
    TagSummary summary;
    summary.topLevel << wordEditorTexts::primaryTag;
    std::map<QString, int> counts;
    for (size_t i = 1; i < rows.size(); ++i)
        ++counts[rows[i].flagPath];
    QStringList paths;
    for (const auto &[path, count] : counts)
        paths << path;
    std::stable_sort(paths.begin(), paths.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    for (const QString &path : paths) {
        const QString count = QString::number(counts[path]);
        const qsizetype tab = path.indexOf(u'\t');
        if (tab < 0)
            summary.topLevel << path + QStringLiteral(" tag ") + count;
        else
            summary.nested << path.left(tab) + QStringLiteral(" tag — ") + path.mid(tab + 1) + QStringLiteral(" tag ") +
                                  count;
    }
    return summary;
}

FieldTone wordFieldTone(const QString &word)
{
    if (IsCommentEntry(word))
        return FieldTone::Amber;
    if (word.isEmpty())
        return FieldTone::Normal;
    if (hasBadSpaces(word) || word.endsWith(u'/'))
        return FieldTone::Red;
    return FieldTone::Normal;
}

FieldTone tagsFieldTone(const QString &tags)
{
    return hasBadSpaces(tags) ? FieldTone::Red : FieldTone::Normal;
}

std::optional<OkFailure> checkWordEditorOk(const QString &word, const QString &tags)
{
    if (word.isEmpty() || word == QLatin1String(" "))
        return OkFailure{wordEditorTexts::noWordText, EditorField::Word};
    if (!IsCommentEntry(word) && hasBadSpaces(word))
        return OkFailure{wordEditorTexts::invalidSpaces, EditorField::Word};
    if (!tags.isEmpty() && hasBadSpaces(tags))
        return OkFailure{wordEditorTexts::tagsIncorrect, EditorField::Tags};
    if (wordFieldTone(word) == FieldTone::Red)
        return OkFailure{wordEditorTexts::invalidWord, EditorField::Word};
    return std::nullopt;
}

FlagRemoval removeFlagFromWordField(FlagMode mode, const QString &wordField, const QString &flag)
{
    const qsizetype slash = flagSeparator(wordField);
    if (slash < 0 || slash + 1 >= wordField.size())
        return {};
    const QString word = wordField.left(slash);
    const QString flags = wordField.mid(slash + 1);
    QStringList kept;
    bool found = false;
    FlagSplitter splitter(mode, flags);
    QStringView f;
    while (splitter.next(f)) {
        if (f == flag)
            found = true;
        else if (!f.isEmpty())
            kept << f.toString();
    }
    if (!found)
        return {std::nullopt, wordEditorTexts::flagNotFound};
    const QString rest = kept.join(mode == FlagMode::Numeric ? QStringLiteral(",") : QString());
    return {rest.isEmpty() ? word : word + u'/' + rest, QString()};
}

std::optional<QString> derivedCopyText(const std::vector<DerivedRow> &rows, int selectedRow, DerivedCopy kind, Ui &ui)
{
    if (rows.empty()) {
        report(ui, dictionaryTexts::noWords);
        return std::nullopt;
    }
    if (selectedRow < 0 || selectedRow >= int(rows.size())) {
        report(ui, editingTexts::noSelection);
        return std::nullopt;
    }
    const DerivedRow &row = rows[size_t(selectedRow)];
    const QString lineEnd = rows.size() > 1 ? QStringLiteral("\n") : QString();
    QString text;
    switch (kind) {
    case DerivedCopy::Word:
        return row.word;
    case DerivedCopy::AllWords:
        for (const DerivedRow &r : rows)
            text += r.word + lineEnd;
        return text;
    case DerivedCopy::WordAndRule:
        return wordAndRuleLine(row, rows.front().word);
    case DerivedCopy::AllWordsAndRules:
        for (const DerivedRow &r : rows)
            text += wordAndRuleLine(r, rows.front().word) + lineEnd;
        return text;
    case DerivedCopy::FlagRule:
        return u'"' + row.ruleText() + u'"';
    }
    return std::nullopt;
}

std::optional<QList<int>> matchDerivedRows(const std::vector<DerivedRow> &rows, const QString &text, Ui &ui)
{
    if (rows.empty() || text.isEmpty()) {
        report(ui, wordEditorTexts::noMatches);
        return std::nullopt;
    }
    QList<int> matches;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].word.startsWith(text))
            matches << int(i);
    }
    return matches;
}

QStringList builtInAffAidLines()
{
    // What each affix class of the English GB .aff does, in the order of its groups.
    return {
        QStringLiteral("A # re- prefix: to do again"),
        QStringLiteral("a # mis- prefix: wrongly, badly"),
        QStringLiteral("I # negative prefix il-, ir-, im- or in- by the first letter"),
        QStringLiteral("c # over- prefix: too much"),
        QStringLiteral("U # un- prefix: not, the reverse of"),
        QStringLiteral("C # de- prefix: to remove or undo"),
        QStringLiteral("E # dis- prefix: not, the opposite of"),
        QStringLiteral("F # co- prefix (com-, col-, cor-): together with"),
        QStringLiteral("K # pre- prefix: before"),
        QStringLiteral("e # out- prefix: to surpass"),
        QStringLiteral("f # under- prefix: too little, below"),
        QStringLiteral("^ # non- prefix: not"),
        QStringLiteral("4 # trans- prefix: across"),
        QStringLiteral("V # -ive adjective (-tive, -sive) from a verb"),
        QStringLiteral("v # -ively adverb from a verb"),
        QStringLiteral("N # -ion noun (-tion, -sion) from a verb"),
        QStringLiteral("n # -ion noun (-ation, -cation) from a verb, with plural and possessive"),
        QStringLiteral("X # -ions plural noun from a verb"),
        QStringLiteral("x # -ional adjective from a verb"),
        QStringLiteral("H # ordinal number with -th (and -fold) from a cardinal number"),
        QStringLiteral("Y # -ly adverb from an adjective"),
        QStringLiteral("G # present participle with -ing"),
        QStringLiteral("J # plural -ings noun from a verb"),
        QStringLiteral("k # -ingly adverb from a verb"),
        QStringLiteral("D # regular verb past tenses and past participle with -ed"),
        QStringLiteral("d # regular verb past tenses and past participle with -ed"),
        QStringLiteral("d # regular adverbial -ing endings."),
        QStringLiteral("h # -edly adverb from a verb"),
        QStringLiteral("T # comparative -er and superlative -est of an adjective"),
        QStringLiteral("R # agent noun with -er and its plural -ers"),
        QStringLiteral("r # agent noun with -er"),
        QStringLiteral("S # plural noun or third person verb with -s or -es"),
        QStringLiteral("m # -man noun"),
        QStringLiteral("5 # -woman noun"),
        QStringLiteral("6 # -ful adjective from a noun"),
        QStringLiteral("j # -fully adverb from a noun"),
        QStringLiteral("p # -less adjective from a noun"),
        QStringLiteral("Q # -ise verb with its -ises, -ised and -ising forms"),
        QStringLiteral("8 # -ize verb with its -izes, -ized and -izing forms"),
        QStringLiteral("q # -isation noun with plural and possessive"),
        QStringLiteral("- # -ization noun with plural and possessive"),
        QStringLiteral("s # -iser agent noun with plural and possessive"),
        QStringLiteral("9 # -izer agent noun with plural and possessive"),
        QStringLiteral("t # -isable adjective"),
        QStringLiteral("+ # -izable adjective"),
        QStringLiteral("M # possessive form"),
        QStringLiteral("B # -able adjective from a verb, with its -ability and -ably forms"),
        QStringLiteral("7 # -able adjective from a verb"),
        QStringLiteral("g # -ability noun from a verb"),
        QStringLiteral("l # -ably adverb from a verb"),
        QStringLiteral("b # -ible adjective from a verb"),
        QStringLiteral("L # -ment noun with plural and possessive"),
        QStringLiteral("Z # -y adjective from a noun"),
        QStringLiteral("P # -ness noun with plural and possessive"),
        QStringLiteral("2 # -iness noun from a noun or adjective"),
        QStringLiteral("u # -iveness noun from a verb"),
        QStringLiteral("i # -edness noun from a verb"),
        QStringLiteral("= # -lessness noun with plural and possessive"),
        QStringLiteral("z # -ily adverb"),
        QStringLiteral("y # -ory or -ary adjective"),
        QStringLiteral("O # -al adjective"),
        QStringLiteral("W # -ic adjective"),
        QStringLiteral("o # -ally adverb"),
        QStringLiteral("w # -ical adjective"),
        QStringLiteral("1 # -ically adverb"),
        QStringLiteral("3 # -ist noun with plural and possessive"),
        QStringLiteral("~ # no affix class of its own in the English GB .aff"),
    };
}

AffAidLegend affAidLegend(const QList<AffAidEntry> &entries, const QString &language)
{
    AffAidLegend legend;
    for (const AffAidEntry &entry : entries) {
        const QStringList parts = entry.entry.split(u'\n');
        if (parts.value(2) != language)
            continue;
        legend.name = parts.value(0);
        legend.imagePath = entry.imagePath;
        if (language == builtInKey && entry.text.isEmpty()) {
            legend.lines = builtInAffAidLines();
        } else {
            legend.lines = entry.text.split(u'\n');
            legend.lines.removeFirst();
            while (!legend.lines.isEmpty() && legend.lines.last().isEmpty())
                legend.lines.removeLast();
        }
        break;
    }
    return legend;
}

QString affAidCaption(const AffAidLegend &legend)
{
    return QStringLiteral(".AFF Aid (") + legend.name + QStringLiteral("):");
}

QString editorAffText(const AffixTable &table)
{
    // The table's text already has its tabs made spaces and its runs collapsed, so
    // the group positions of the rows point straight into it.
    return table.normalizedText;
}

WordEditorModel::WordEditorModel(const AffixTable &table, const MainSettings &settings,
                                 const QList<AffAidEntry> &affAidEntries)
    : m_table(table)
    , m_settings(settings)
    , m_legend(affAidLegend(affAidEntries, settings.affAidLanguage))
{
}

bool WordEditorModel::okPressed()
{
    if (!m_expanding)
        return true;
    m_stop = OkPressed;
    return false;
}

bool WordEditorModel::cancelPressed()
{
    if (!m_expanding)
        return true;
    m_stop = CancelPressed;
    return false;
}

WordEditorModel::AfterExpansion WordEditorModel::afterExpansion(int stop, const QString &word, const QString &tags)
{
    switch (stop) {
    case CancelPressed:
        return AfterExpansion::CloseRejected;
    case OkPressed:
        return checkWordEditorOk(word, tags) ? AfterExpansion::ShowRowsThenOk : AfterExpansion::CloseAccepted;
    default:
        return AfterExpansion::ShowRows;
    }
}

void WordEditorModel::wordChanged(qint64 now)
{
    if (m_expanding)
        m_stop = WordChanged;
    refreshPressed(now);
}

void WordEditorModel::refreshPressed(qint64 now)
{
    m_stale = true;
    m_changedAt = now - settleMs;
}

void WordEditorModel::startStale(qint64 now, qint64 delayMs)
{
    m_stale = true;
    m_changedAt = now - settleMs + delayMs;
}

int WordEditorModel::expand(const std::function<QString()> &currentWord, const std::function<void()> &pump,
                            DerivedSort sort)
{
    m_rows.clear();
    m_summary = {};
    m_state = {};
    m_derived = false;
    m_stale = false;
    QString word = currentWord();
    if (word.isEmpty() || IsCommentEntry(word))
        return NoStop;

    m_expanding = true;
    EditorRowsSink sink(false, [&] {
        if (pump)
            pump();
        return m_stop != NoStop;
    });
    WordDeriver deriver(m_table);
    for (;;) {
        m_stop = NoStop;
        sink.clear();
        deriver.DeriveWord(word, sink);
        if (m_stop != WordChanged)
            break;
        word = currentWord();
        if (word.isEmpty() || IsCommentEntry(word))
            break;
    }
    m_expanding = false;
    // A word change that ended the loop on an empty or "/" word is no stop at all.
    const int stop = m_stop == WordChanged ? NoStop : m_stop;
    m_stop = NoStop;
    if (word.isEmpty() || IsCommentEntry(word)) {
        m_rows.clear();
        return stop;
    }
    m_state = deriver.state();
    m_derived = true;
    int index = 0;
    for (const EditorRow &row : sink.rows())
        m_rows.push_back(makeDerivedRow(row, index++, derivedTypeColour(m_settings, row.type)));
    if (!m_rows.empty()) {
        if (sort != DerivedSort::Default)
            sortDerivedRows(m_rows, sort);
        m_summary = summariseTags(m_rows);
    }
    return stop;
}

bool WordEditorModel::sortRows(DerivedSort sort, Ui &ui)
{
    if (m_rows.empty()) {
        report(ui, wordEditorTexts::noDerivedWords);
        return false;
    }
    sortDerivedRows(m_rows, sort);
    return true;
}

QString WordEditorModel::heading() const
{
    return EditorRowsSink::derivedWordsHeading(qsizetype(m_rows.size()));
}

WordEditorModel::Taboo WordEditorModel::taboo(const QString &word) const
{
    if (IsCommentEntry(word))
        return Taboo::Amber;
    if (wordFieldTone(word) == FieldTone::Red || !m_derived)
        return Taboo::Neutral;
    return m_state.facts.noSuggestSeen ? Taboo::Red : Taboo::Green;
}

QString WordEditorModel::flagModeText() const
{
    switch (m_table.flagMode) {
    case FlagMode::Single:
        break;
    case FlagMode::Long:
        return QStringLiteral("FLAG long");
    case FlagMode::Numeric:
        return QStringLiteral("FLAG num");
    }
    return QStringLiteral("FLAG chr");
}

} // namespace lexaloom
