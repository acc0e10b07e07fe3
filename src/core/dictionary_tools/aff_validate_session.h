#pragma once

#include "dictionary_tools/aff_panel.h"
#include "dictionary_tools/aff_validate.h"

#include <QString>

namespace lexaloom {

class Workbench;

// Everything the AFF Validate window does beyond showing widgets: loading the .aff
// text into the line panel, "Process", "Refresh" and "OK". The panel, its snapshots
// and the captured text live as long as the window.
class AffValidateSession final {
public:
    AffValidateSession(Workbench &workbench, Ui &ui, AffValidateView &view);
    AffValidateSession(const AffValidateSession &) = delete;
    AffValidateSession &operator=(const AffValidateSession &) = delete;

    // The report area's text on opening and after "Clear".
    static QString introductionText();
    static QString windowTitle();

    // Before the window opens: the AffixTable from the dictionary's current .aff text.
    static void prepare(Workbench &workbench, Ui &ui);

    AffPanel &panel() { return m_panel; }
    const AffPanel &panel() const { return m_panel; }
    // The .aff text as it was when the window opened, line ends made "\n".
    const QString &capturedText() const { return m_captured; }
    // "Found:" + line count.
    QString foundText() const;

    // Captures the dictionary's .aff text and fills the panel; Escape keeps the lines read so far.
    void load();
    // "Process": ValidateAff over the panel with the AffixTable as last built.
    AffValidateOutcome process();
    // "Refresh": the AffixTable rebuilt from the panel lines; the .aff text stays as it was.
    void refresh();
    // "OK": writes the panel back when its text differs from the captured text; true when it did.
    bool accept();

private:
    QString foundText(qsizetype count) const;
    void report(const QString &text);
    bool warnWhenEmpty();

    Workbench &m_workbench;
    Ui &m_ui;
    AffValidateView &m_view;
    AffPanel m_panel;
    QString m_captured;
};

} // namespace lexaloom
