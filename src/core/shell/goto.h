#pragma once

#include "core/shell/ui.h"

#include <QString>

#include <optional>

namespace lexaloom {

// "No " + noun + " found.": the refusal of Find and Go to on an empty list.
QString NoEntriesFoundText(const QString &noun);

// Go to by entry number, for any list of `count` rows: the paged lists of the tabs
// ("words", "synonyms", "autocorrect words") and the AFF Validate panel ("lines").
class GotoRequest final {
public:
    // The field takes at most this many digits.
    static constexpr int maxDigits = 8;

    GotoRequest(QString noun, qint64 count);

    // "No " + noun + " found." when the list is empty; the window then does not open.
    bool checkCanOpen(Ui &ui) const;
    QString title() const;
    qint64 count() const { return m_count; }

    // The field's value; 0 when it is empty or not a number.
    static qint64 FieldValue(const QString &text);
    // The field turns red while this is false.
    bool isInRange(const QString &text) const;

    // "OK": the 0-based index to go to, and the text is remembered in `remembered`;
    // nothing, after the range message, when the value is outside 1 to count.
    std::optional<qint64> accept(const QString &text, Ui &ui, QString &remembered) const;

private:
    QString m_noun;
    qint64 m_count;
};

} // namespace lexaloom
