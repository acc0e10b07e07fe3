// "Process" of the AFF Validate window over a hostile .aff. Input: the .aff text;
// when a line "#panel" follows, the text after it is the panel as edited since the
// table was built (so the table's header lines no longer match the panel's lines).
#include "dictionary/affix_table.h"
#include "dictionary_tools/aff_panel.h"
#include "dictionary_tools/aff_validate.h"

#include "fuzz_support.h"

using namespace lexaloom;

namespace {

class NullView final : public AffValidateView {
public:
    void appendReport(const QString &text) override { m_reportSize += text.size(); }
    void setStatusLabel(const QString &) override {}
    void setPercentText(const QString &) override {}
    void setFoundText(const QString &) override {}
    void setProgressMaximum(AffStatusSide, qint64) override {}
    void setProgressValue(AffStatusSide, qint64) override {}
    void setElapsedText(AffStatusSide, const QString &) override {}
    void setAbortHint(AffStatusSide, const QString &) override {}
    void setBusy(bool) override {}
    void lineColourChanged(qsizetype) override {}
    void processEvents() override {}
    bool takeAbortRequest() override { return false; }

    qsizetype m_reportSize = 0;
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

    fuzz::FuzzUi ui;
    NullView view;
    ValidateAff(panel, table, view, ui);

    // A run colours lines; it never changes their text or their number.
    if (panel.count() != before.size())
        fuzz::fail("the run changed the number of panel lines");
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (panel.line(i).text != before[i].text)
            fuzz::fail("the run changed a panel line's text");
    }
    return 0;
}
