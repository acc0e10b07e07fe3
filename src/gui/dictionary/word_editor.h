#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

#include "core/dictionary/aff_aid.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/word_editor_model.h"
#include "gui/shell/tool_window.h"

class QComboBox;
class QElapsedTimer;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QTreeWidget;

namespace lexaloom {

class Ui;

// What the word editor works on besides the two texts of its entry.
struct WordEditorContext {
    AffixTable &affixTable;
    // The dictionary's .aff text: the table is brought up to date from it on opening.
    const QString &affText;
    const MainSettings &settings;
    const QList<AffAidEntry> &affAidEntries;
    // The sort choice of the derived list (1 to 5), changed with the choice box.
    int &derivedSortChoice;
    // "Remember": writes the sort choice to the settings.
    std::function<void()> rememberSortChoice;
    // F1 opens the manual beside the program.
    QString programFolder;
};

// The word editor: the word and tags fields of one entry with the live expansion of
// the word, its tag summary, the decoded .aff and the legend of the flags. Modal;
// everything it decides lives in WordEditorModel.
class WordEditor final : public ToolWindow {
    Q_OBJECT

public:
    // `legendRow` is the legend line selected last time; OK stores the new one there.
    WordEditor(WordEditorContext context, Ui &ui, WordEditorMode mode, const WordEditorTexts &initial, int &legendRow,
               QWidget *parent = nullptr);
    ~WordEditor() override;

    // The texts after OK.
    WordEditorTexts texts() const;
    const WordEditorModel &model() const { return m_model; }

    // The parts tests drive.
    QLineEdit *wordField() const { return m_word; }
    QLineEdit *tagsField() const { return m_tags; }
    QTreeWidget *derivedList() const { return m_derived; }
    QListWidget *topLevelTags() const { return m_topTags; }
    QListWidget *nestedTags() const { return m_nestedTags; }
    QListWidget *legend() const { return m_legend; }
    QPlainTextEdit *affPane() const { return m_affPane; }
    QComboBox *sortChoice() const { return m_sortChoice; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *displayButton() const { return m_display; }
    QLabel *missingFlagsField() const { return m_missing; }
    QLabel *missingContinuationField() const { return m_missingNested; }
    QToolButton *tabooIndicator() const { return m_taboo; }
    QLabel *flagModeIndicator() const { return m_flagMode; }

    // OK as the button presses it; during an expansion it first stops it. Cancel,
    // Escape and the close box go through ToolWindow, which asks interruptWork().
    void accept() override;
    void done(int result) override;

protected:
    bool interruptWork() override;

private:
    void tick();
    void runExpansion();
    void fillRows();
    void updateLiveState();
    void display();
    void match();
    void sortNow();
    void remember();
    void copy(DerivedCopy kind);
    void removeFlag();
    void showPopup(const QPoint &pos);
    int selectedRow() const;
    void finishOk();

    WordEditorContext m_context;
    WordEditorMode m_mode;
    WordEditorTexts m_initial;
    int &m_legendRow;
    WordEditorModel m_model;

    QLineEdit *m_word = nullptr;
    QLineEdit *m_tags = nullptr;
    QPushButton *m_refresh = nullptr;
    QToolButton *m_taboo = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QTreeWidget *m_derived = nullptr;
    QPushButton *m_display = nullptr;
    QLineEdit *m_matchField = nullptr;
    QLabel *m_matchResult = nullptr;
    QPlainTextEdit *m_affPane = nullptr;
    QComboBox *m_sortChoice = nullptr;
    QListWidget *m_topTags = nullptr;
    QListWidget *m_nestedTags = nullptr;
    QLabel *m_legendCaption = nullptr;
    QListWidget *m_legend = nullptr;
    QLabel *m_missing = nullptr;
    QLabel *m_missingNested = nullptr;
    QLabel *m_keepCase = nullptr;
    QLabel *m_needAffix = nullptr;
    QLabel *m_forbidden = nullptr;
    QLabel *m_complexPrefixes = nullptr;
    QLabel *m_circumfix = nullptr;
    QLabel *m_flagMode = nullptr;
    QTimer *m_timer = nullptr;
    int m_tabooShown = -1;
};

} // namespace lexaloom
