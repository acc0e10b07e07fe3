#pragma once

#include <QStringList>
#include <QTextStream>

namespace lexaloom::cli {

// "roundtrip DIC OUTDIR": loads a .dic/.aff pair and saves it into OUTDIR under the
// same names, through the same load and save commands as File > Open and Save As.
int runRoundtrip(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace lexaloom::cli
