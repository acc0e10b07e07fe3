#pragma once

#include <QList>
#include <QString>

#include "core/hyphenation/hyphenate.h"

namespace lexaloom {

struct HyphenationRow;
class Ui;

namespace resultCopyTexts {
inline const QString noWords = QStringLiteral("No words found.");
inline const QString noWordSelected = hyphenationTexts::noWordSelected;
inline const QString noRule = QStringLiteral("No rule found.");
} // namespace resultCopyTexts

enum class ResultCopy { Word, Rule, WordAndRule };

// The result list's pop-up: the Word column, the Rule column or word + "→" + rule of
// the selected row onto the clipboard. `row` is -1 without a selection. True when
// something was copied; otherwise says why.
bool CopyHyphenationResult(const QList<HyphenationRow> &rows, int row, ResultCopy what, Ui &ui);

} // namespace lexaloom
