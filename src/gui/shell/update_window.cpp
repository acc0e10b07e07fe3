#include "gui/shell/update_window.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

#include "core/shell/app_identity.h"
#include "core/shell/ui.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

QPlainTextEdit *readOnlyText(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *pane = new QPlainTextEdit(text, parent);
    pane->setReadOnly(true);
    pane->setGeometry(geometry);
    return pane;
}

QLabel *caption(const QString &text, int x, int y, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->move(x, y);
    return l;
}

// A blue underlined label that opens `url` through the Ui; greyed without a url.
QLabel *linkLabel(const QString &text, const QString &url, const QString &tooltip, Ui &ui, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::RichText);
    if (url.isEmpty()) {
        // A download the site does not offer: plain grey text, nothing to click.
        l->setText(text.toHtmlEscaped());
        l->setEnabled(false);
        return l;
    }
    l->setText(QStringLiteral("<a href=\"%1\" style=\"color:%2;\">%3</a>")
                   .arg(url.toHtmlEscaped(), palette::link.name(), text.toHtmlEscaped()));
    l->setToolTip(tooltip);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    l->setEnabled(!url.isEmpty());
    QObject::connect(l, &QLabel::linkActivated, l, [&ui](const QString &link) { ui.openUrl(link); });
    return l;
}

} // namespace

UpdateWindow::UpdateWindow(const UpdateOffer &offer, Ui &ui, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(updateTexts::windowTitle);
    setModal(true);
    setFixedSize(845, 435);

    caption(QStringLiteral("Your version"), 16, 12, this);
    m_yours = readOnlyText(offer.yourVersion, QRect(16, 34, 250, 66), this);
    caption(QStringLiteral("Newest version"), 16, 112, this);
    m_newest = readOnlyText(offer.newestVersion, QRect(16, 134, 250, 66), this);
    auto *icon = new QLabel(this);
    icon->setPixmap(
        style()->standardIcon(offer.newerMajor ? QStyle::SP_MessageBoxWarning : QStyle::SP_ArrowUp).pixmap(32, 32));
    icon->setGeometry(16, 212, 32, 32);
    icon->setToolTip(offer.newerMajor ? QStringLiteral("A new major version") : QStringLiteral("A new build"));

    caption(QStringLiteral("Release notes"), 290, 12, this);
    m_notes = readOnlyText(offer.releaseNotes, QRect(290, 34, 539, 300), this);

    for (int k = 0; k < 3; ++k) {
        auto *download = new QLabel(this);
        download->setPixmap(style()->standardIcon(QStyle::SP_ArrowDown).pixmap(24, 24));
        download->setGeometry(16 + k * 90, 262, 24, 24);
        download->setEnabled(!offer.downloadUrls[k].isEmpty());
        m_downloads[k] = linkLabel(QStringLiteral("Download"), offer.downloadUrls[k], offer.downloadUrls[k], ui, this);
        m_downloads[k]->setGeometry(42 + k * 90, 264, 62, 20);
    }

    auto *question = new QLabel(QStringLiteral("Visit download website?"), this);
    question->setGeometry(290, 352, 300, 24);
    m_yes = new QPushButton(QStringLiteral("Yes"), this);
    m_no = new QPushButton(QStringLiteral("No"), this);
    m_yes->setGeometry(290, 384, 90, 34);
    m_no->setGeometry(392, 384, 90, 34);
    const QString page = offer.downloadsPageUrl;
    connect(m_yes, &QPushButton::clicked, this, [this, &ui, page] {
        ui.openUrl(page);
        accept();
    });
    connect(m_no, &QPushButton::clicked, this, &QDialog::reject);
}

QPixmap DocumentLogo(int size, qreal pixelRatio)
{
    // The tabs' document picture (a framed page with three lines of text), drawn at
    // the size shown rather than blown up from its 16 pixels.
    QPixmap pixmap(QSize(size, size) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const qreal stroke = s / 16.0;
    const QRectF page(0.16 * s, 0.07 * s, 0.68 * s, 0.86 * s);
    painter.setPen(QPen(QColor(72, 74, 94), stroke, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::white);
    painter.drawRect(page.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2));
    painter.setPen(QPen(QColor(45, 98, 204), stroke, Qt::SolidLine, Qt::RoundCap));
    for (const qreal y : {0.30, 0.47, 0.64})
        painter.drawLine(QPointF(0.29 * s, y * s), QPointF(0.71 * s, y * s));
    return pixmap;
}

AboutWindow::AboutWindow(Ui &ui, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(685, 353);

    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(DocumentLogo(96, devicePixelRatioF()));
    logo->setGeometry(30, 30, 96, 96);

    const QString style = palette::textColourStyle(palette::captionBlue) + QStringLiteral(" font-weight: bold;");
    const QString values[][2] = {{QStringLiteral("Name:"), QStringLiteral("Lexaloom")},
                                 {QStringLiteral("Version:"), AboutVersionText()},
                                 {QStringLiteral("Core:"), QStringLiteral("64-bit")},
                                 {QStringLiteral("Released:"), identity::buildDate}};
    for (int i = 0; i < 4; ++i) {
        auto *name = new QLabel(values[i][0], this);
        name->setStyleSheet(style);
        name->setGeometry(160, 30 + i * 28, 90, 24);
        auto *value = new QLabel(values[i][1], this);
        value->setGeometry(255, 30 + i * 28, 300, 24);
        value->setTextInteractionFlags(Qt::NoTextInteraction);
    }
    m_releaseNotes = linkLabel(QStringLiteral("Release Notes"), siteUrl(QStringLiteral("/#update")),
                               QStringLiteral("View Release Notes"), ui, this);
    m_releaseNotes->setGeometry(160, 150, 120, 24);
    const QString site = siteUrl(QStringLiteral("/"));
    m_site = linkLabel(QUrl(site).host(), site, QStringLiteral("Visit the Website"), ui, this);
    m_site->setGeometry(300, 150, 200, 24);

    auto *credits = new QLabel(this);
    credits->setGeometry(30, 196, 625, 130);
    credits->setWordWrap(true);
    credits->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    credits->setText(
        QStringLiteral("<b>Credits</b><br>Built with Qt, PCRE2, libarchive and libcurl.<br>"
                       "Thanks to the maintainers of Hunspell dictionaries, thesauri and hyphenation patterns "
                       "whose files and reports shaped this workbench.<br><br>"
                       "Lexaloom is free software, released under the Apache License V2.0."));
}

void AboutWindow::mousePressEvent(QMouseEvent *event)
{
    // The links take their own clicks; anything else closes the window.
    QDialog::mousePressEvent(event);
    accept();
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lexaloom
