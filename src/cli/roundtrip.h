#pragma once

#include <QTextStream>

#include "cli/cli_command.h"

namespace lexaloom::cli {

// "roundtrip [--kind KIND] INPUT OUTDIR": loads a file of the kind (a .dic/.aff pair
// when left out) and saves it into OUTDIR under the same name, through the same load
// and save commands as File > Open and Save As.
int runRoundtrip(const CliArguments &arguments, QTextStream &out, QTextStream &err);
// The same for a hyphenation pattern file.
int runHyphenationRoundtrip(const CliArguments &arguments, QTextStream &out, QTextStream &err);

// "roundtrip --kind thesaurus DAT OUTDIR": the .dat with a fresh .idx, as Save As writes them.
int runThesaurusRoundtrip(const CliArguments &arguments, QTextStream &out, QTextStream &err);

} // namespace lexaloom::cli
