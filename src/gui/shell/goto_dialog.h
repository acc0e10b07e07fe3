#pragma once

#include "core/shell/document_kind.h"
#include "core/shell/goto.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace lexaloom {

class Workbench;

// Go to by entry number. `go` receives the 0-based index of the chosen entry.
class GotoDialog final : public QDialog {
    Q_OBJECT

public:
    GotoDialog(GotoRequest request, Ui &ui, QString &remembered, std::function<void(qint64)> go,
               QWidget *parent = nullptr);

    // Any list of `count` rows named by `noun` ("lines" for the AFF Validate panel);
    // `remembered` is the last text typed, read and updated.
    static void Open(QWidget *parent, Ui &ui, const QString &noun, qint64 count, QString &remembered,
                     std::function<void(qint64)> go);
    // Ctrl+G and the tab's "Goto" button. `showEntry` scrolls the tab's paged list so
    // the entry is the first row, makes it the focused entry and refreshes the page.
    static void OpenForTab(QWidget *parent, Workbench &workbench, Ui &ui, DocumentKind kind,
                           std::function<void(qint64)> showEntry);

    QLineEdit *field() const { return m_field; }
    QPushButton *okButton() const { return m_okButton; }

private:
    void updateFieldColour();
    void acceptPosition();

    GotoRequest m_request;
    Ui &m_ui;
    QString &m_remembered;
    std::function<void(qint64)> m_go;
    QLineEdit *m_field = nullptr;
    QPushButton *m_okButton = nullptr;
};

} // namespace lexaloom
