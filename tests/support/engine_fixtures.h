#pragma once

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include "core/dictionary/affix_table.h"

namespace lexaloom::testing {

// A file of tests/fixtures/engine/.
inline QString engineFixture(const char *name)
{
    return QStringLiteral(LEXALOOM_FIXTURES "/engine/") + QLatin1String(name);
}

inline QString readEngineFixture(const char *name)
{
    QFile file(engineFixture(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

inline AffixTable tableOf(const QString &aff)
{
    AffixTable table;
    BuildAffixTable(table, aff);
    return table;
}

} // namespace lexaloom::testing
