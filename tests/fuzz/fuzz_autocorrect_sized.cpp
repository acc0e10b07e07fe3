// The autocorrect list reader, the duplicates search and AC Validate's list steps over
// large generated lists (see fuzz_sized.h): millions of blank lines, one pair repeated,
// one huge pair. Input: the description of the DocumentList.xml.
#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/autocorrect/autocorrect_tools.h"
#include "core/autocorrect/autocorrect_validate.h"
#include "core/dictionary/affix_table.h"
#include "core/dictionary/dictionary_document.h"
#include "core/shell/settings.h"

#include "fuzz_sized.h"

using namespace lexaloom;

namespace {

class FuzzHost final : public AcValidateHost {
public:
    explicit FuzzHost(Ui &ui)
        : m_ui(ui)
    {
    }
    Ui &taskUi() override { return m_ui; }
    void refresh(const AcValidateDisplay &) override {}

private:
    Ui &m_ui;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::scratchFolder() + QStringLiteral("DocumentList_sized.xml");
    fuzz::writeFile(path, fuzz::expandSized(fuzz::bytesOf(data, size)));

    fuzz::FuzzUi ui;
    const MainSettings settings;
    AutocorrectList list;
    if (!ReadAutocorrectFile(ui, settings, path, list).done() || list.entries.isEmpty())
        return 0;
    (void)FindAutocorrectDuplicates(list, settings, ui);
    // No dictionary: steps 2 and 4 only, with a budget well inside libFuzzer's limit.
    DictionaryDocument dictionary;
    AffixTable table;
    FuzzHost host(ui);
    AcValidateSession session(dictionary, table, list, settings, ui, host, qint64(256) << 20);
    (void)session.process();
    return 0;
}
