// The AutoText catalogue reader over large generated catalogues and content files (see
// fuzz_sized.h): many entries naming one large content file, content files of nothing
// but ">", long runs of paragraphs. Input: the description of the catalogue; after a
// line "#content", the description of the content file every package shares.
#include "core/autocorrect/autocorrect_list.h"
#include "core/autocorrect/autotext_files.h"
#include "core/shell/settings.h"

#include "fuzz_sized.h"

#include <QDir>

using namespace lexaloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::SplitInput input = fuzz::splitAt(fuzz::bytesOf(data, size), "#content");
    const QString folder = fuzz::scratchFolder() + QStringLiteral("autotext_sized/");
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder))
        std::abort();
    const QString path = folder + QStringLiteral("BlockList.xml");
    fuzz::writeFile(path, fuzz::expandSized(input.first));
    if (input.hasSecond) {
        const QByteArray content = fuzz::expandSized(input.second);
        for (const char *package : {"a", "b", "x"}) {
            const QString packageFolder = folder + QLatin1String(package);
            if (!QDir().mkpath(packageFolder))
                std::abort();
            fuzz::writeFile(packageFolder + QStringLiteral("/content.xml"), content);
        }
    }
    fuzz::FuzzUi ui;
    const MainSettings settings;
    AutoTextList list;
    (void)ReadAutoTextFile(ui, settings, path, list, qint64(512) << 20);
    return 0;
}
