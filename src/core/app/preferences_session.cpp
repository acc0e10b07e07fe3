#include "core/app/preferences_session.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

#include "core/app/settings_files.h"
#include "core/app/window_metrics.h"
#include "core/app/workbench.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/prefs_store.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace {

const QString warningTitle = QStringLiteral("Warning!");

struct FixedResolution {
    int width;
    int height;
};
constexpr FixedResolution fixedResolutions[] = {{1280, 600}, {1280, 768}, {1440, 600}, {1440, 768}};

QString sizeText(int width, int height, QChar times)
{
    return QString::number(width) + times + QString::number(height);
}

qint32 MainSettings::*fieldMember(PrefsField field)
{
    switch (field) {
    case PrefsField::VisibleLines:
        return &MainSettings::listPageRows;
    case PrefsField::MinLinesBetweenRules:
        return &MainSettings::minLinesBetweenRules;
    case PrefsField::RowPixels:
        return &MainSettings::rowPixelsPlus;
    case PrefsField::DecodeWarnLimit:
        return &MainSettings::decodeWarnLimit;
    case PrefsField::AutocorrectSpaces:
        break;
    }
    return &MainSettings::autocorrectLeftSpaces;
}

const PrefsFieldRange &rangeOf(PrefsField field)
{
    for (const PrefsFieldRange &r : prefsFieldRanges()) {
        if (r.field == field)
            return r;
    }
    return prefsFieldRanges().front();
}

} // namespace

QString affAidNone()
{
    return QStringLiteral("n/a");
}

QString separatorPreviewPrefix()
{
    return QStringLiteral("Preview:");
}

QString lastCheckedPrefix()
{
    return QStringLiteral("Last checked:");
}

const QList<PrefsFieldRange> &prefsFieldRanges()
{
    using M = MainSettings;
    static const QList<PrefsFieldRange> ranges{
        {PrefsField::VisibleLines, M::listPageRowsMin, M::listPageRowsMax,
         QStringLiteral("The number of lines must be in the range 1:100"), false},
        {PrefsField::MinLinesBetweenRules, M::minLinesBetweenRulesMin, M::minLinesBetweenRulesMax,
         QStringLiteral("The number of lines must be in the range 1:50"), false},
        {PrefsField::RowPixels, M::rowPixelsPlusMin, M::rowPixelsPlusMax,
         QStringLiteral("The number of 'Pixels Plus' must be in the range -10:10"), false},
        {PrefsField::DecodeWarnLimit, M::decodeWarnLimitMin, M::decodeWarnLimitMax,
         QStringLiteral("The number of 'Warn Over N Word' must be in the range 0:99999999"), false},
        {PrefsField::AutocorrectSpaces, M::autocorrectLeftSpacesMin, M::autocorrectLeftSpacesMax,
         QStringLiteral("The number of spaces on left for autocorrect must be in the range 1:50"), true},
    };
    return ranges;
}

bool IsValidNumberText(const QString &text)
{
    if (text.isEmpty() || text.startsWith(QLatin1Char('.')) || text.endsWith(QLatin1Char('.')) ||
        text.endsWith(QLatin1Char('-')))
        return false;
    int dots = 0;
    int digits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('-')) {
            if (i != 0)
                return false;
        } else if (c == QLatin1Char('.')) {
            if (++dots > 1)
                return false;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
        } else {
            return false;
        }
    }
    return digits > 0;
}

SpinValue ParseSpinText(PrefsField field, const QString &text)
{
    const PrefsFieldRange &range = rangeOf(field);
    if (!IsValidNumberText(text))
        return {range.minimum - 1, false};
    // Huge texts would overflow the field; any value past the range fails the check alike.
    const double number = std::round(text.toDouble());
    if (number > range.maximum)
        return {range.maximum + 1, false};
    if (number < range.minimum)
        return {range.minimum - 1, false};
    return {static_cast<qint32>(number), true};
}

PreferencesSession::PreferencesSession(Workbench &workbench, Ui &ui, const DesktopMeasurements &desktop)
    : m_workbench(workbench)
    , m_settings(workbench.settings)
    , m_ui(ui)
    , m_desktop(desktop)
    , m_noted(workbench.settings)
{
    m_settings.desktopSize = sizeText(desktop.desktopWidth, desktop.desktopHeight, QLatin1Char('x'));
    m_maxWindowSize = sizeText(desktop.maxClientWidth, desktop.maxClientHeight - desktop.barsHeight, QLatin1Char('x'));
    m_settings.maxWindowSize = m_maxWindowSize;
    m_noted.desktopSize = m_settings.desktopSize;
    m_noted.maxWindowSize = m_maxWindowSize;

    if (!m_workbench.mainSettingsInForce) {
        // First start: the largest window, with the 13 default rows scaled to its taller list.
        const int oldListHeight = 315 + WindowMetrics::fromSettings(m_settings).dy(100) + m_settings.rowPixelsPlus;
        m_settings.windowSize = m_maxWindowSize;
        const int size = m_settings.listFontPointSize();
        const int newListHeight = previewListHeight();
        if (desktop.rowsFilling) {
            // The rows as the platform's font really draws them, so that a page fills the list.
            const qint32 rows = desktop.rowsFilling(m_settings.listFontName, size, newListHeight);
            m_settings.listPageRows = std::clamp(rows, MainSettings::listPageRowsMin, MainSettings::listPageRowsMax);
        } else if (oldListHeight - 2 * size > 0) {
            const qint32 rows = (newListHeight * 13 - 2 * size) / (oldListHeight - 2 * size);
            m_settings.listPageRows = std::clamp(rows, MainSettings::listPageRowsMin, MainSettings::listPageRowsMax);
        }
    }
    if (selectedResolution() < 0)
        m_settings.windowSize = m_maxWindowSize;
}

QList<ResolutionOption> PreferencesSession::resolutionOptions() const
{
    const int maxW = m_desktop.maxClientWidth;
    const int maxH = m_desktop.maxClientHeight;
    QList<ResolutionOption> options;
    for (const FixedResolution &r : fixedResolutions)
        options.append({sizeText(r.width, r.height, QChar(0x00D7)), sizeText(r.width, r.height, QLatin1Char('x')),
                        maxW < r.width || maxH < r.height, true});
    QString shown = m_maxWindowSize;
    shown.replace(QLatin1Char('x'), QChar(0x00D7));
    options.append(
        {QStringLiteral("Maximise Window (") + shown + QLatin1Char(')'), m_maxWindowSize, false, maxH >= 600});
    return options;
}

int PreferencesSession::selectedResolution() const
{
    const QList<ResolutionOption> options = resolutionOptions();
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (options[i].value == m_settings.windowSize)
            return static_cast<int>(i);
    }
    return -1;
}

void PreferencesSession::chooseResolution(int option)
{
    const QList<ResolutionOption> options = resolutionOptions();
    if (option >= 0 && option < options.size() && options[option].enabled)
        m_settings.windowSize = options[option].value;
}

bool PreferencesSession::setFieldText(PrefsField field, const QString &text)
{
    const SpinValue v = ParseSpinText(field, text);
    m_settings.*fieldMember(field) = v.value;
    return v.valid;
}

qint32 PreferencesSession::fieldValue(PrefsField field) const
{
    return m_settings.*fieldMember(field);
}

void PreferencesSession::choosePreviewRow(int row)
{
    m_settings.listPageRows = row;
}

int PreferencesSession::previewListHeight() const
{
    WindowMetrics m = WindowMetrics::fromSettings(m_settings);
    return 315 + m.dy(100) + m_settings.rowPixelsPlus;
}

QList<PreferencesSession::AffAidChoice> PreferencesSession::affAidChoices() const
{
    QList<AffAidChoice> choices{{affAidNone(), QString()}};
    for (const AffAidEntry &e : m_workbench.affAidEntries)
        choices.append({e.entry.section(QLatin1Char('\n'), 0, 0), e.imagePath});
    return choices;
}

int PreferencesSession::selectedAffAid() const
{
    if (m_settings.affAidLanguage.isEmpty() || m_settings.affAidLanguage == affAidNone())
        return 0;
    for (qsizetype i = 0; i < m_workbench.affAidEntries.size(); ++i) {
        if (m_workbench.affAidEntries[i].entry.section(QLatin1Char('\n'), 2, 2) == m_settings.affAidLanguage)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

void PreferencesSession::chooseAffAid(int index)
{
    if (index <= 0 || index > m_workbench.affAidEntries.size())
        m_settings.affAidLanguage.clear();
    else
        m_settings.affAidLanguage = m_workbench.affAidEntries[index - 1].entry.section(QLatin1Char('\n'), 2, 2);
}

void PreferencesSession::setSeparator(const QString &text)
{
    m_settings.thousandsSeparator = text.left(1);
}

QString PreferencesSession::separatorPreview() const
{
    return separatorPreviewPrefix() + FormatCount(1000000, m_settings.thousandsSeparator);
}

QStringList PreferencesSession::updateFrequencies()
{
    return {QStringLiteral("manual"), QStringLiteral("daily"), QStringLiteral("weekly"), QStringLiteral("monthly")};
}

void PreferencesSession::setUpdateFrequency(const QString &frequency)
{
    if (updateFrequencies().contains(frequency))
        m_settings.updateFrequency = frequency;
}

QString PreferencesSession::lastCheckedText() const
{
    return lastCheckedPrefix() + FormatStamp(m_settings.lastUpdateCheck);
}

void PreferencesSession::checkNow(const std::function<void()> &runCheck)
{
    if (runCheck)
        runCheck();
    m_settings.lastUpdateCheck = m_ui.clock().localEpochSeconds();
}

void PreferencesSession::setColour(Colour which, int paletteIndex)
{
    if (paletteIndex < 0 || paletteIndex >= MainSettings::paletteSize)
        return;
    switch (which) {
    case Colour::Primary:
        m_settings.colourPrimary = paletteIndex;
        break;
    case Colour::Suffix:
        m_settings.colourSuffix = paletteIndex;
        break;
    case Colour::Prefix:
        m_settings.colourPrefix = paletteIndex;
        break;
    case Colour::Both:
        m_settings.colourBoth = paletteIndex;
        break;
    }
}

bool PreferencesSession::setFont(const QString &name, int pointSize)
{
    if (name.isEmpty() || pointSize < MainSettings::listFontSizeMin || pointSize > MainSettings::listFontSizeMax)
        return false;
    m_settings.listFontName = name;
    m_settings.listFontSize = QString::number(pointSize);
    return name != m_noted.listFontName || m_settings.listFontSize != m_noted.listFontSize;
}

std::optional<PrefsField> PreferencesSession::checkRanges(bool includeOkOnly)
{
    for (const PrefsFieldRange &r : prefsFieldRanges()) {
        if (r.okOnly && !includeOkOnly)
            continue;
        const qint32 value = fieldValue(r.field);
        if (value < r.minimum || value > r.maximum) {
            m_ui.showMessage(warningTitle, r.message, MessageIcon::Warning);
            return r.field;
        }
    }
    return std::nullopt;
}

std::optional<PrefsField> PreferencesSession::save()
{
    if (const auto failed = checkRanges(false))
        return failed;
    // The old file stays whole when the write fails; the user must hear that it did.
    if (!SaveMainSettings(m_workbench))
        m_ui.showMessage(fileTexts::errorTitle,
                         fileTexts::cannotWrite.arg(m_workbench.settingsPath(settingsFiles::main),
                                                    QStringLiteral("The settings were not saved.")),
                         MessageIcon::Error);
    return std::nullopt;
}

PreferencesSession::OkOutcome PreferencesSession::ok()
{
    OkOutcome outcome;
    outcome.failedField = checkRanges(true);
    if (outcome.failedField)
        return outcome;
    m_workbench.mainSettingsInForce = true;
    outcome.fontChanged =
        m_settings.listFontName != m_noted.listFontName || m_settings.listFontSize != m_noted.listFontSize;
    outcome.rebuildWindow = outcome.fontChanged || m_settings.windowSize != m_noted.windowSize ||
                            m_settings.rowPixelsPlus != m_noted.rowPixelsPlus;
    outcome.affAidChanged = m_settings.affAidLanguage != m_noted.affAidLanguage;
    return outcome;
}

void PreferencesSession::cancel()
{
    m_settings = m_noted;
}

} // namespace lexaloom
