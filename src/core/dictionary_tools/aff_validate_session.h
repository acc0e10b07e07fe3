#pragma once

#include "core/dictionary_tools/aff_panel.h"
#include "core/dictionary_tools/aff_validate.h"

#include <QString>

namespace lexaloom {

struct AffixTable;
struct DictionaryDocument;
struct MainSettings;

// Everything the AFF Validate window does beyond showing widgets: loading the .aff
// text into the line panel, "Process", "Refresh" and "OK". It acts on the dictionary's
// .aff text and the AffixTable; the window reads the panel and the display after each
// refresh of the host. The panel, its snapshots and the captured text live as long as
// the window.
class AffValidateSession final {
public:
    AffValidateSession(DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings, Ui &ui,
                       AffValidateHost &host);
    AffValidateSession(const AffValidateSession &) = delete;
    AffValidateSession &operator=(const AffValidateSession &) = delete;

    // The report area's text on opening and after "Clear".
    static QString introductionText();
    static QString windowTitle();
    static QString manualAnchor();
    // The Go to noun of the line panel.
    static QString gotoNoun();

    // Before the window opens: the AffixTable from the dictionary's current .aff text.
    static void prepare(const DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings, Ui &ui);

    AffPanel &panel() { return m_panel; }
    const AffPanel &panel() const { return m_panel; }
    const AffValidateDisplay &display() const { return m_display; }
    bool isBusy() const { return m_display.busy; }
    // The .aff text as it was when the window opened, line ends made "\n".
    const QString &capturedText() const { return m_captured; }
    // "Found:" + line count.
    QString foundText() const;
    // The last text typed into the panel's Go to dialog.
    QString &gotoText() { return m_gotoText; }

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
    void setBusy(bool busy);
    bool warnWhenEmpty();

    DictionaryDocument &m_dictionary;
    AffixTable &m_table;
    const MainSettings &m_settings;
    Ui &m_ui;
    AffValidateHost &m_host;
    AffPanel m_panel;
    AffValidateDisplay m_display;
    QString m_captured;
    QString m_gotoText;
};

} // namespace lexaloom
