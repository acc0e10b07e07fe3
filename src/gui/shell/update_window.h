#pragma once

#include "core/shell/update_check.h"

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace lexaloom {

class Ui;

// The About window's picture of the program: the tabs' document image, drawn at
// `size` pixels (times the screen's ratio) instead of scaled up from its 16 pixels.
QPixmap DocumentLogo(int size, qreal pixelRatio);

// "Update available for download!": the two versions, the release notes, three
// download links and the question whether to visit the download page.
class UpdateWindow final : public QDialog {
    Q_OBJECT

public:
    UpdateWindow(const UpdateOffer &offer, Ui &ui, QWidget *parent);

    QPlainTextEdit *yourVersion() const { return m_yours; }
    QPlainTextEdit *newestVersion() const { return m_newest; }
    QPlainTextEdit *releaseNotes() const { return m_notes; }
    QLabel *downloadLink(int k) const { return m_downloads[k]; }
    QPushButton *yesButton() const { return m_yes; }
    QPushButton *noButton() const { return m_no; }

private:
    QPlainTextEdit *m_yours = nullptr;
    QPlainTextEdit *m_newest = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    QLabel *m_downloads[3] = {};
    QPushButton *m_yes = nullptr;
    QPushButton *m_no = nullptr;
};

// The About window: identity, links to the release notes and the web site, credits.
// Escape, Return, the close box or a click outside the links close it.
class AboutWindow final : public QDialog {
    Q_OBJECT

public:
    AboutWindow(Ui &ui, QWidget *parent);

    QLabel *releaseNotesLink() const { return m_releaseNotes; }
    QLabel *siteLink() const { return m_site; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *m_releaseNotes = nullptr;
    QLabel *m_site = nullptr;
};

} // namespace lexaloom
