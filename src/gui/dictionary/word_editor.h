#pragma once

#include <QDialog>

#include <optional>

#include "dictionary/dictionary_editing.h"
#include "dictionary/word_editor_model.h"

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
class Workbench;

// The word editor: the word and tags fields of one entry with the live expansion of
// the word, its tag summary, the decoded .aff and the legend of the flags. Modal;
// everything it decides lives in WordEditorModel.
class WordEditor final : public QDialog {
    Q_OBJECT

public:
    // `legendRow` is the legend line selected last time; OK stores the new one there.
    WordEditor(Workbench &workbench, Ui &ui, WordEditorMode mode, const WordEditorTexts &initial, int &legendRow,
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

    // OK and Cancel as the buttons press them; during an expansion they first stop it.
    void accept() override;
    void reject() override;

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

    Workbench &m_wb;
    Ui &m_ui;
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
