#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

#include "core/shell/settings.h"

namespace lexaloom {

class Ui;
class Workbench;

// The numeric fields of the Preferences window, in the order "Save" and "OK" check them.
enum class PrefsField { VisibleLines, MinLinesBetweenRules, RowPixels, DecodeWarnLimit, AutocorrectSpaces };

struct PrefsFieldRange {
    PrefsField field;
    qint32 minimum;
    qint32 maximum;
    QString message; // shown when the value lies outside the range
    bool okOnly;     // checked by "OK" only, not by "Save"
};

// The five fields with their ranges and messages, in checking order.
const QList<PrefsFieldRange> &prefsFieldRanges();

// True when `text` is a number the spin fields accept: not empty, digits with at most
// one leading "-" and at most one "." that neither starts nor ends it.
bool IsValidNumberText(const QString &text);

// What a spin field passes on for `text`: the field's minimum - 1 for an invalid text
// (so that the range check catches it), otherwise the value rounded to an integer.
struct SpinValue {
    qint32 value = 0;
    bool valid = false; // the text is a number within the range; red otherwise
};
SpinValue ParseSpinText(PrefsField field, const QString &text);

// What the window measures on the desktop before it opens.
struct DesktopMeasurements {
    int desktopWidth = 0;
    int desktopHeight = 0;
    // Client area of a maximised window, and the status bar plus menu bar heights.
    int maxClientWidth = 0;
    int maxClientHeight = 0;
    int barsHeight = 0;
    // How many rows of the list font fill a list `listHeight` pixels high, as the
    // window draws them; without it the first start scales the 13 default rows.
    int (*rowsFilling)(const QString &fontName, int pointSize, int listHeight) = nullptr;
};

struct ResolutionOption {
    QString caption; // "1280×600", ..., "Maximise Window (1366×680)"
    QString value;   // "1280x600", ..., the measured maximum
    bool warning = false;
    bool enabled = true;
};

// The state and actions of the Preferences window. The values live in the workbench's
// settings while the window is open, so that they take effect at once; the session
// keeps what was there on opening so that "Cancel" can put it back.
class PreferencesSession final {
public:
    PreferencesSession(Workbench &workbench, Ui &ui, const DesktopMeasurements &desktop);

    MainSettings &values() { return m_settings; }
    const MainSettings &noted() const { return m_noted; }

    QList<ResolutionOption> resolutionOptions() const;
    // The option whose value is windowSize; -1 for none.
    int selectedResolution() const;
    void chooseResolution(int option);

    // A spin field's text changed; true while it is valid (the field is red otherwise).
    bool setFieldText(PrefsField field, const QString &text);
    qint32 fieldValue(PrefsField field) const;
    // A click on row r (1-based) of the "# Visible lines" preview.
    void choosePreviewRow(int row);
    // Height of the preview list: as high as the Dictionary list.
    int previewListHeight() const;

    // "n/a" then the first line of each AFF Aid legend, with the legend's icon.
    struct AffAidChoice {
        QString caption;
        QString imagePath;
    };
    QList<AffAidChoice> affAidChoices() const;
    int selectedAffAid() const;
    void chooseAffAid(int index);

    void setSeparator(const QString &text);
    QString separatorPreview() const;

    static QStringList updateFrequencies();
    void setUpdateFrequency(const QString &frequency);
    QString lastCheckedText() const;
    // "Check": runs the manual update check, then stamps the time of the check.
    void checkNow(const std::function<void()> &runCheck);

    enum class Colour { Primary, Suffix, Prefix, Both };
    void setColour(Colour which, int paletteIndex);

    // The font dialog chose a font; true when it differs from the one noted on opening,
    // in which case the window loads it into the preview and the test field.
    bool setFont(const QString &name, int pointSize);

    // "Save": the first four range checks, then the main settings file. The failing
    // field when a check stopped it; a failed write is reported here.
    std::optional<PrefsField> save();

    struct OkOutcome {
        std::optional<PrefsField> failedField; // the window stays open with the focus there
        bool rebuildWindow = false;            // size, row pixels or font changed
        bool fontChanged = false;
        bool affAidChanged = false;
    };
    // "OK": all five range checks, then the values are in force for the running program.
    OkOutcome ok();
    // "Cancel", Escape and the close box: every noted value comes back.
    void cancel();

private:
    std::optional<PrefsField> checkRanges(bool includeOkOnly);

    Workbench &m_workbench;
    MainSettings &m_settings;
    Ui &m_ui;
    DesktopMeasurements m_desktop;
    MainSettings m_noted;
    QString m_maxWindowSize;
};

// Texts of the window.
QString affAidNone();
QString separatorPreviewPrefix();
QString lastCheckedPrefix();

} // namespace lexaloom
