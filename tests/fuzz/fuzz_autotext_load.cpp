// The AutoText catalogue reader (BlockList.xml) and its content files over hostile
// input. Input: the catalogue's bytes; bytes after a line "#content" are the
// content file of every package it names.
#include "core/autocorrect/autocorrect_list.h"
#include "core/autocorrect/autotext_files.h"
#include "core/shell/settings.h"

#include "fuzz_support.h"

#include <QDir>

using namespace lexaloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::SplitInput input = fuzz::splitAt(fuzz::bytesOf(data, size), "#content");
    const QString folder = fuzz::scratchFolder() + QStringLiteral("autotext/");
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder))
        std::abort();
    const QString path = folder + QStringLiteral("BlockList.xml");
    fuzz::writeFile(path, input.first);
    // Three packages the seeds name, each with the same content file.
    if (input.hasSecond) {
        for (const char *package : {"a", "b", "x"}) {
            const QString packageFolder = folder + QLatin1String(package);
            if (!QDir().mkpath(packageFolder))
                std::abort();
            fuzz::writeFile(packageFolder + QStringLiteral("/content.xml"), input.second);
        }
    }

    fuzz::FuzzUi ui;
    const MainSettings settings;
    AutoTextList list;
    (void)ReadAutoTextFile(ui, settings, path, list);
    // Reading never creates a file beside the catalogue.
    const QStringList after = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : after) {
        if (name != QStringLiteral("BlockList.xml") && !(input.hasSecond && (name == u"a" || name == u"b" || name == u"x")))
            fuzz::fail("reading the catalogue created a file");
    }
    (void)AutoTextContent(QString::fromUtf8(input.second));
    return 0;
}
