#pragma once

#include "core/app/preferences_session.h"
#include "gui/shell/tool_window.h"

#include <QWidget>

#include <functional>
#include <map>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QResizeEvent;
class QToolButton;

namespace lexaloom {

// A numeric field that takes any text, so that a half-typed number can show red;
// the arrows step the value within the field's range.
class SpinField final : public QWidget {
    Q_OBJECT

public:
    SpinField(int minimum, int maximum, QWidget *parent);
    QLineEdit *edit() const { return m_edit; }
    void setValue(int value);
    void setInvalid(bool invalid);

signals:
    void textEdited(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void step(int delta);

    QLineEdit *m_edit;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_minimum;
    int m_maximum;
};

// The Preferences window: draws the PreferencesSession and passes every change to it.
// What "OK" does to the main window is the caller's `apply`.
class PreferencesWindow final : public ToolWindow {
    Q_OBJECT

public:
    PreferencesWindow(PreferencesSession &session, const QString &programFolder, Ui &ui,
                      std::function<void()> runManualCheck, QWidget *parent);

    void reject() override;

    // The parts tests drive.
    SpinField *field(PrefsField which) const { return m_fields.at(which); }
    QListWidget *previewList() const { return m_preview; }
    QRadioButton *resolutionOption(int index) const;
    QLabel *resolutionWarning(int index) const;
    QLineEdit *separatorField() const { return m_separator; }
    QLabel *separatorPreview() const { return m_separatorPreview; }
    QLabel *lastCheckedLabel() const { return m_lastChecked; }
    QComboBox *affAidList() const { return m_affAid; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // What "OK" found; valid once the window was accepted.
    const PreferencesSession::OkOutcome &outcome() const { return m_outcome; }

    // The font the font dialog would have chosen; tests call it directly.
    void chooseFont(const QFont &font);
    // What the font dialog opens on: "Arial", 10, bold, as the installed family that
    // stands for Arial.
    static QFont fontDialogPreset();

private:
    void build();
    void layoutForSize();
    void fieldEdited(PrefsField which, const QString &text);
    void focusField(PrefsField which);
    void pressSave();
    void pressOk();
    void openFontDialog();
    void applyListFont();

    PreferencesSession &m_session;
    std::function<void()> m_runManualCheck;
    std::map<PrefsField, SpinField *> m_fields;
    QListWidget *m_preview = nullptr;
    QLabel *m_previewCaption = nullptr;
    QLabel *m_rowsCaption = nullptr;
    QLabel *m_pixelsCaption = nullptr;
    QList<QRadioButton *> m_resolutions;
    QList<QLabel *> m_resolutionWarnings;
    QComboBox *m_affAid = nullptr;
    QLineEdit *m_separator = nullptr;
    QLabel *m_separatorPreview = nullptr;
    QLabel *m_lastChecked = nullptr;
    QLineEdit *m_fontName = nullptr;
    QLineEdit *m_fontSize = nullptr;
    QLineEdit *m_fontTest = nullptr;
    QLabel *m_saveIcon = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    PreferencesSession::OkOutcome m_outcome;
};

// Texts of the window.
QString preferencesTitle();

} // namespace lexaloom
