#include "core/languagetool/pos_settings_session.h"

#include "core/shell/file_dialogs.h"
#include "core/shell/long_task.h"
#include "core/shell/ui.h"

#include <utility>

namespace lexaloom {

namespace {

bool onlySpaces(const QString &text)
{
    for (const QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

} // namespace

int PosRuleFieldWithSeparator(const QString &source, const QString &target, const QString &comment)
{
    const QString *fields[] = {&source, &target, &comment};
    for (int i = 0; i < 3; ++i) {
        if (fields[i]->contains(u'\t') || fields[i]->contains(u'\n') || fields[i]->contains(u'\r'))
            return i;
    }
    return -1;
}

QString AcceptPosRuleFields(Ui &ui, const QString &source, const QString &target, const QString &comment)
{
    if (onlySpaces(source) || onlySpaces(target) || onlySpaces(comment)) {
        ui.showMessage(LongTask::warningTitle(), posSettingsTexts::emptyFields, MessageIcon::Warning);
        return {};
    }
    if (PosRuleFieldWithSeparator(source, target, comment) >= 0) {
        ui.showMessage(LongTask::warningTitle(), posSettingsTexts::tabInField, MessageIcon::Warning);
        return {};
    }
    return source + u'\n' + target + u'\n' + comment;
}

PosSettingsSession::PosSettingsSession(PosSettings &pos, Ui &ui, RuleEditor editor)
    : m_pos(pos)
    , m_ui(ui)
    , m_editor(std::move(editor))
    , m_opening(pos)
{
    // A table read from a file may list fewer rule lists than languages.
    while (m_pos.rules.size() < m_pos.languages.size())
        m_pos.rules.append(QStringList());
    setLanguage(m_pos.selectedLanguage);
}

const QStringList &PosSettingsSession::rules() const
{
    static const QStringList none;
    const qint32 l = m_pos.selectedLanguage;
    return l >= 0 && l < m_pos.rules.size() ? m_pos.rules[l] : none;
}

QStringList &PosSettingsSession::languageRules()
{
    return m_pos.rules[m_pos.selectedLanguage];
}

QString PosSettingsSession::foundText() const
{
    return QStringLiteral("Found:") + QString::number(rules().size());
}

QString PosSettingsSession::selectedText() const
{
    const qsizetype ticked = m_ticks.count(true);
    if (ticked == 0)
        return QStringLiteral("Selected:None");
    if (ticked == m_ticks.size())
        return QStringLiteral("Selected:All");
    return QStringLiteral("Selected:") + QString::number(ticked) + u'/' + QString::number(m_ticks.size());
}

void PosSettingsSession::setLanguage(int index)
{
    if (index < 0 || index >= m_pos.languages.size())
        return;
    m_pos.selectedLanguage = index;
    m_ticks = QList<bool>(rules().size(), false);
    m_selected = -1;
}

void PosSettingsSession::setSelectedRow(int row)
{
    m_selected = row >= 0 && row < rules().size() ? row : -1;
}

void PosSettingsSession::setTicked(int row, bool ticked)
{
    if (row >= 0 && row < m_ticks.size())
        m_ticks[row] = ticked;
}

void PosSettingsSession::warn(const QString &text)
{
    m_ui.showMessage(LongTask::warningTitle(), text, MessageIcon::Warning);
}

bool PosSettingsSession::refuseWhenFull()
{
    if (rules().size() < PosSettings::maxRulesPerLanguage)
        return false;
    warn(posSettingsTexts::maxRules());
    return true;
}

void PosSettingsSession::insertRule(int at, const QString &rule)
{
    languageRules().insert(at, rule);
    m_ticks.insert(at, false);
    m_selected = at;
}

void PosSettingsSession::add()
{
    if (refuseWhenFull())
        return;
    const QString rule = m_editor(QString());
    if (!rule.isEmpty())
        insertRule(int(rules().size()), rule);
}

void PosSettingsSession::addAbove()
{
    if (refuseWhenFull())
        return;
    const QString rule = m_editor(QString());
    // Without a selected row the rule goes to the top, as "Add Below" does.
    if (!rule.isEmpty())
        insertRule(m_selected < 0 ? 0 : m_selected, rule);
}

void PosSettingsSession::addBelow()
{
    if (refuseWhenFull())
        return;
    const QString rule = m_editor(QString());
    if (!rule.isEmpty())
        insertRule(m_selected < 0 ? 0 : m_selected + 1, rule);
}

void PosSettingsSession::cloneBelow()
{
    if (refuseWhenFull())
        return;
    if (m_selected < 0) {
        warn(posSettingsTexts::noRuleSelected);
        return;
    }
    const QString rule = m_editor(rules()[m_selected]);
    if (!rule.isEmpty())
        insertRule(m_selected + 1, rule);
}

void PosSettingsSession::edit()
{
    if (m_selected < 0) {
        warn(posSettingsTexts::noRuleSelected);
        return;
    }
    const QString rule = m_editor(rules()[m_selected]);
    if (!rule.isEmpty())
        languageRules()[m_selected] = rule;
}

void PosSettingsSession::deleteRule()
{
    if (rules().isEmpty()) {
        warn(posSettingsTexts::noRules);
        return;
    }
    if (m_selected < 0) {
        warn(posSettingsTexts::noRuleSelected);
        return;
    }
    if (!m_ui.askYesNo(LongTask::warningTitle(), posSettingsTexts::deleteQuestion, MessageIcon::Warning))
        return;
    languageRules().removeAt(m_selected);
    m_ticks.removeAt(m_selected);
    if (m_selected >= rules().size())
        m_selected = int(rules().size()) - 1;
}

void PosSettingsSession::selectAll()
{
    m_ticks.fill(true);
}

void PosSettingsSession::selectNone()
{
    m_ticks.fill(false);
}

void PosSettingsSession::invertSelection()
{
    if (m_ticks.isEmpty()) {
        warn(posSettingsTexts::noItemsSelected);
        return;
    }
    for (bool &t : m_ticks)
        t = !t;
}

void PosSettingsSession::deleteSelected()
{
    if (!m_ticks.contains(true)) {
        warn(posSettingsTexts::noItemsSelected);
        return;
    }
    QStringList kept;
    const QStringList &current = rules();
    for (qsizetype i = 0; i < current.size(); ++i) {
        if (!m_ticks[i])
            kept.append(current[i]);
    }
    languageRules() = kept;
    m_ticks = QList<bool>(kept.size(), false);
    m_selected = -1;
}

void PosSettingsSession::writeFile(const FileWriter &write, const QString &path)
{
    if (!write())
        m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, QStringLiteral("Write failed.")),
                         MessageIcon::Error);
}

void PosSettingsSession::remember(const FileWriter &write, const QString &path)
{
    writeFile(write, path);
}

void PosSettingsSession::save(const FileWriter &write, const QString &path)
{
    writeFile(write, path);
}

bool PosSettingsSession::accept() const
{
    return m_pos.selectedLanguage != m_opening.selectedLanguage;
}

void PosSettingsSession::cancel()
{
    m_pos = m_opening;
    setLanguage(m_pos.selectedLanguage);
}

} // namespace lexaloom
