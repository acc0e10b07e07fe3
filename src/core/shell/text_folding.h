#pragma once

#include <QString>
#include <QStringView>

namespace lexaloom {

// The accent- and case-blind sort key: lower-cased, then the accented letters of
// a fixed table replaced by their base letters. Keeps the length of the text.
QString FoldAccents(const QString &text);
// The same written to `out` (text.size() units), for keys built into one buffer.
void FoldAccentsInto(QStringView text, char16_t *out);

// Leading and trailing spaces removed and every run of spaces made one space.
// Tabs are not touched.
QString CollapseSpaces(const QString &text);

} // namespace lexaloom
