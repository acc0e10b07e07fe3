#pragma once

#include "dictionary_tools/aff_panel.h"
#include "shell/ui.h"

#include <QString>
#include <QtGlobal>

namespace lexaloom {

struct AffixTable;

// The two groups of status controls of the AFF Validate window: the report side
// ("Processing:" label, percentage, progress bar, elapsed time, abort hint) and the
// line panel's own progress bar with its elapsed-time and abort-hint labels.
enum class AffStatusSide { Report, Panel };

// What the AFF Validate runs write to and read from their window. The window
// implements it with its widgets, the tests and the command line with fakes.
class AffValidateView {
public:
    virtual ~AffValidateView() = default;

    // Appends to the report area as it is (the caller adds the line breaks).
    virtual void appendReport(const QString &text) = 0;
    // "Processing:3/6" beside the report's progress bar.
    virtual void setStatusLabel(const QString &text) = 0;
    virtual void setPercentText(const QString &text) = 0;
    // "Found:" + count under the line panel.
    virtual void setFoundText(const QString &text) = 0;
    virtual void setProgressMaximum(AffStatusSide side, qint64 maximum) = 0;
    virtual void setProgressValue(AffStatusSide side, qint64 value) = 0;
    virtual void setElapsedText(AffStatusSide side, const QString &text) = 0;
    virtual void setAbortHint(AffStatusSide side, const QString &text) = 0;
    // The controls are disabled while a run works.
    virtual void setBusy(bool busy) = 0;
    // A line's colour changed in the panel records; -1 for all lines.
    virtual void lineColourChanged(qsizetype row) = 0;
    // Pending window events without waiting; the window's own Escape, once per press.
    virtual void processEvents() = 0;
    virtual bool takeAbortRequest() = 0;
};

// The long-operation convention inside the AFF Validate window: its own timer period
// (800 ms for loading, 900 ms for validation), its own progress bar, and Escape with
// "Really abort?" through the Ui.
class AffWindowTask final {
public:
    struct PollResult {
        bool ticked = false;
        bool abortRequested = false;
    };

    AffWindowTask(Ui &ui, AffValidateView &view, AffStatusSide side, qint64 periodMs);

    void begin(qint64 maximum);
    PollResult poll();
    void setValue(qint64 value) { m_value = value; }
    qint64 value() const { return m_value; }
    qint64 maximum() const { return m_maximum; }
    void setMaximum(qint64 maximum);
    // Writes the progress bar and the elapsed-time label (and, on the report side, the percentage).
    void refresh();
    qint64 elapsedMs() const;

private:
    Ui &m_ui;
    AffValidateView &m_view;
    AffStatusSide m_side;
    qint64 m_periodMs;
    qint64 m_startMs = 0;
    qint64 m_nextTickMs = 0;
    qint64 m_nextPumpMs = 0;
    qint64 m_maximum = 0;
    qint64 m_value = 0;
};

enum class AffValidateOutcome { NoErrors, ErrorsFound, Aborted };

// The six checks of "Process" over the panel lines, reading the header list of the
// AffixTable as it was last built (so header line numbers refer to the text it was
// built from). Writes the report, colours the offending lines and never changes a
// line's text.
AffValidateOutcome ValidateAff(AffPanel &panel, const AffixTable &table, AffValidateView &view, Ui &ui);

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
