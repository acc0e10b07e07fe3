// "Process" of the AFF Validate window over a hostile .aff. Input: the .aff text;
// when a line "#panel" follows, the text after it is the panel as edited since the
// table was built (so the table's header lines no longer match the panel's lines).
#include "core/dictionary/affix_table.h"
#include "core/dictionary_tools/aff_panel.h"
#include "core/dictionary_tools/aff_validate.h"
#include "core/shell/settings.h"

#include "fuzz_support.h"

using namespace lexaloom;

namespace {

// Both sides of the window report into the same silent Ui; nothing is drawn.
class NullHost final : public AffValidateHost {
public:
    Ui &sideUi(AffStatusSide) override { return m_ui; }
    void refresh(const AffValidateDisplay &) override {}

private:
    fuzz::FuzzUi m_ui;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::SplitInput input = fuzz::splitAt(fuzz::bytesOf(data, size), "#panel");
    const QString tableText = QString::fromUtf8(input.first);
    const QString panelText = input.hasSecond ? QString::fromUtf8(input.second) : tableText;

    AffixTable table;
    BuildAffixTable(table, tableText);
    AffPanel panel;
    panel.reset(SplitAffLines(panelText));
    const QList<AffPanelLine> before = panel.lines();

    NullHost host;
    AffValidateDisplay display;
    ValidateAff(panel, table, MainSettings(), display, host);

    // A run colours lines; it never changes their text or their number.
    if (panel.count() != before.size())
        fuzz::fail("the run changed the number of panel lines");
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (panel.line(i).text != before[i].text)
            fuzz::fail("the run changed a panel line's text");
    }
    return 0;
}
