#pragma once

#include <QString>

#include <functional>

namespace lexaloom {

struct DictionaryDocument;
struct MainSettings;
class Ui;

namespace possessiveTexts {
inline const QString windowTitle = QStringLiteral("Import places/people names with possessives");
inline const QString inputHint = QStringLiteral("Paste here the full text with the names.");
inline const QString manualAnchor = QStringLiteral("#5.2.5.3.import_places_names_possessives");
} // namespace possessiveTexts

// "Possessives:" and the two "Remove:" strings, kept while the program runs.
struct PossessiveSettings {
    QString possessives = QStringLiteral("/M");
    QString remove1 = QStringLiteral("'s");
    QString remove2 = QStringLiteral("\u2019s");

    bool operator==(const PossessiveSettings &) const = default;
};

// The first step: line ends, a final "\n", punctuation, digits, dashes between spaces
// and the "Remove:" strings made spaces, double spaces halved.
QString NormaliseNamesText(const QString &text, const PossessiveSettings &settings);

// Dictionary Tools > "Import places/people names adding possessives": every capitalised
// word of the input that no dictionary entry holds with the possessive flags yet is
// added with them. The window pulls the output and the count after each action.
class PossessiveNamesSession final {
public:
    PossessiveNamesSession(DictionaryDocument &dictionary, PossessiveSettings &possessives,
                           const MainSettings &settings, Ui &ui);
    PossessiveNamesSession(const PossessiveNamesSession &) = delete;
    PossessiveNamesSession &operator=(const PossessiveNamesSession &) = delete;

    PossessiveSettings &possessives() { return m_possessives; }

    QString input;
    bool logIndexOn = true;
    qint64 logIndexStart = 1;
    std::function<void()> onTick;

    const QString &output() const { return m_output; }
    qint64 found() const { return m_found; }
    QString foundText() const;
    void clearOutput();

    // "Process"; true when it ran to the end.
    bool process();

private:
    DictionaryDocument &m_dictionary;
    PossessiveSettings &m_possessives;
    const MainSettings &m_settings;
    Ui &m_ui;
    QString m_output;
    qint64 m_found = 0;
};

} // namespace lexaloom
