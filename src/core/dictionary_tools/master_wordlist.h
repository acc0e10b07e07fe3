#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "core/shell/shared_texts.h"

namespace lexaloom {

class Ui;
struct MainSettings;

namespace masterTexts {
inline const QString windowTitle = QStringLiteral("Words missing in Master Wordlist");
inline const QString masterType = QStringLiteral("Master");
inline const QString otherType = QStringLiteral("Other");
inline const QString tooManyFiles = QStringLiteral("Number of files is limited to 10.");
inline const QString oneMaster = QStringLiteral("You can only have one Master file.");
inline const QString selectTitle = QStringLiteral("Select %1 Text File");
inline const QString textFilter = QStringLiteral("Text File (*.txt)|*.txt");
inline const QString nothingToDelete = QStringLiteral("Nothing to delete.");
inline const QString deleteQuestion = QStringLiteral("Delete selected entries?");
inline const QString nothingToProcess = sharedTexts::nothingToProcess;
inline const QString needTwo = QStringLiteral("You need at least two wordlists.");
inline const QString needMaster = QStringLiteral("You need at least one Master wordlist.");
inline const QString idleStatus = QStringLiteral("Processing:0/0");
inline const QString notAvailable = QStringLiteral("N/A");
inline const QString totalPrefix = QStringLiteral("Total words:");
inline const QString missingPrefix = QStringLiteral("Missing words:");
inline const QString allFiles = QStringLiteral(" (All files)");
inline const QString loadingMaster = QStringLiteral(": Loading Master wordlist twice...");
inline const QString loadingOthers = QStringLiteral(": Loading Other wordlists... %1 of %2");
inline const QString sortingAscii = QStringLiteral(": Sorting wordlists in ASCII...");
inline const QString deleting1 = QStringLiteral(": eXclusive deleting words... 1 of 2");
inline const QString deleting2 = QStringLiteral(": eXclusive deleting words... 2 of 2");
inline const QString sortingLatin = QStringLiteral(": Sorting wordlists in Latin...");
inline const QString counting = QStringLiteral(": Counting number of unique words...");
inline const QString doneStep = QStringLiteral(": Done!");
inline const QString abortedStep = QStringLiteral(": Aborted.");
inline const QString noneMissing = QStringLiteral("No words are missing in Master wordlist.");
inline const QString nothingToSave = sharedTexts::nothingToSave;
inline const QString saveTitle = QStringLiteral("Save Text File");
inline const QString capitalsExtracted = QStringLiteral("UCase words extracted: ");
inline const QString abortHint = sharedTexts::escToAbort;
} // namespace masterTexts

// "Processing:" + step + "/6" + text.
QString MasterStepText(int step, const QString &text);

// What the window shows beside the file list while and after processing.
struct MasterDisplay {
    QString total = masterTexts::totalPrefix + masterTexts::notAvailable;
    QString missing = masterTexts::missingPrefix + masterTexts::notAvailable;
    QString elapsed;
    QString hint;
};

enum class MasterOutcome { Refused, Done, NoneMissing, Failed, Aborted };

struct MissingWords {
    MasterOutcome outcome = MasterOutcome::Refused;
    qint64 totalWords = 0; // lines read from every file, the Master once
    QStringList words;     // each missing line once, in accent-blind order
    QString failedPath;    // the file that was missing or empty
};

// The comparison: every distinct non-empty line of the Other files that is not a line of
// the Master file, ordered by FoldAccents (equal keys by code unit). Runs as a LongTask
// on `ui` with the six steps' status texts; a missing or empty file is told as "File not
// found.". `display` and `refresh` let a window show the counters on each tick.
MissingWords FindMissingWords(const QString &masterPath, const QStringList &otherPaths, Ui &ui,
                              const MainSettings &settings, MasterDisplay *display = nullptr,
                              const std::function<void()> &refresh = {});

// Whether the first character is an upper-case letter ("UCase Save as").
bool StartsWithCapital(const QString &word);

// Writes BOM + each word + "\n" through the atomic writer, only those starting with a
// capital when `capitalsOnly`; Escape stops the writing and keeps the old file. The
// number of words written, or -1 when aborted or the write failed (told through `ui`).
qint64 WriteMissingWords(const QString &path, const QStringList &words, bool capitalsOnly, Ui &ui,
                         const MainSettings &settings);

// The window's state: its file rows and the last result.
class MasterWordlistSession final {
public:
    static constexpr int maxRows = 10;

    struct Row {
        bool master = false;
        QString path;
        qint64 size = 0;
        bool ticked = false;
    };

    MasterWordlistSession(const MainSettings &settings, Ui &ui);

    const std::vector<Row> &rows() const { return m_rows; }
    const MasterDisplay &display() const { return m_display; }
    const QStringList &missingWords() const { return m_result.words; }
    // "Select Master" / "Select Others": true when a row was added.
    bool addFile(bool master);
    // "All" and "None".
    void tickAll(bool ticked);
    void setTicked(int row, bool ticked);
    // "Delete": removes the ticked rows; `selectedRow` is the list's current row (-1 for none).
    bool deleteTicked(int selectedRow);
    // "Import && Process" on `panelUi`.
    MasterOutcome process(Ui &panelUi, const std::function<void()> &refresh = {});
    // "Save as" and "UCase Save as".
    bool save(bool capitalsOnly);

    // The row's "Type" and "Filesize" cells.
    static QString typeText(const Row &row);
    static QString sizeText(const Row &row);

private:
    const MainSettings &m_settings;
    Ui &m_ui;
    std::vector<Row> m_rows;
    MasterDisplay m_display;
    MissingWords m_result;
};

} // namespace lexaloom
