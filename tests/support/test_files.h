#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace lexaloom::testing {

// The bytes of a file; none when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString readText(const QString &path)
{
    return QString::fromUtf8(readFile(path));
}

// Where the real resource corpus lies (LEXALOOM_CORPUS, or where get-corpus.sh puts
// it); the tests that need it skip when it is absent.
inline QString corpusRoot()
{
    return qEnvironmentVariable("LEXALOOM_CORPUS", QStringLiteral("/work/corpus-data"));
}

} // namespace lexaloom::testing
