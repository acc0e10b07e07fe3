#pragma once

#include "core/dictionary_tools/aff_panel.h"
#include "core/shell/ui.h"

#include <QString>
#include <QtGlobal>

namespace lexaloom {

struct AffixTable;
struct MainSettings;

// The two groups of status controls of the AFF Validate window: the report side
// ("Processing:" label, percentage, progress bar, elapsed time, abort hint) and the
// line panel's own progress bar with its elapsed-time and abort-hint labels. Each side
// runs its own tasks.
enum class AffStatusSide { Report, Panel };

// What the AFF Validate runs leave for their window to show beside the line panel's
// records. The runs write it; the window reads it whenever the host is asked to
// refresh (each tick, each step, and when a run ends) and draws it.
struct AffValidateDisplay {
    // Everything the runs reported, in order; the window shows what it has not shown yet.
    QString report;
    // "Processing:3/6" beside the report's progress bar.
    QString statusLabel;
    QString percent;
    QString reportElapsed;
    QString panelElapsed;
    // "Found:" + count under the line panel.
    QString found;
    // The controls are disabled while a run works.
    bool busy = false;

    const QString &elapsed(AffStatusSide side) const;
    // The status text of a running side's task, in its abort-hint label.
    static QString abortHint();
};

// The window an AFF Validate session runs in. Each side's Ui is the window's PanelUi
// for that side: its progress bar, its abort-hint label as the task's status text, and
// Escape as the abort request. `refresh` is the moment to redraw from the display and
// the panel's records.
class AffValidateHost {
public:
    virtual ~AffValidateHost() = default;
    virtual Ui &sideUi(AffStatusSide side) = 0;
    virtual void refresh(const AffValidateDisplay &display) = 0;
};

enum class AffValidateOutcome { NoErrors, ErrorsFound, Aborted };

// The six checks of "Process" over the panel lines, reading the header list of the
// AffixTable as it was last built (so header line numbers refer to the text it was
// built from). Writes the report, colours the offending lines and never changes a
// line's text. A LongTask on the report side with the window's 900 ms period.
AffValidateOutcome ValidateAff(AffPanel &panel, const AffixTable &table, const MainSettings &settings,
                               AffValidateDisplay &display, AffValidateHost &host);

// The fields of one entry of the AffixTable's header summary.
struct AffHeaderEntry {
    QString kind;
    QString crossProduct;
    QString flag;
    qsizetype line = 0;
    QString count; // as written in the header
};
QList<AffHeaderEntry> ParseAffHeaderSummary(const QString &headerSummary);

// Bracket and "^" consistency of a rule condition; only conditions holding "[", "]"
// or "^" can fail.
bool IsAffConditionFaulty(const QString &condition);

} // namespace lexaloom
