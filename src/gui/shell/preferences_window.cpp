#include "gui/shell/preferences_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

#include "core/app/window_metrics.h"
#include "core/shell/manual_url.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

constexpr int windowWidth = 894;
constexpr int baseHeight = 570;
constexpr int previewWidth = 220;

const char *const paletteNames[] = {"Black", "Green", "Blue", "Yellow", "Red", "Magenta", "Brown", "Grey"};

QPixmap warningPixmap(const QWidget *w, int size = 16)
{
    return w->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size);
}

QIcon swatch(const PaletteColour &c)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(QColor(c.red, c.green, c.blue));
    QPainter painter(&pixmap);
    painter.setPen(palette::lampRim);
    painter.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

QGroupBox *group(const QString &caption, const QRect &geometry, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setGeometry(geometry);
    return box;
}

QLabel *label(const QString &text, int x, int y, QWidget *parent, int width = 0)
{
    auto *l = new QLabel(text, parent);
    l->move(x, y);
    if (width > 0)
        l->setFixedWidth(width);
    return l;
}

} // namespace

QString preferencesTitle()
{
    return QStringLiteral("Preferences");
}

// ---- SpinField -----------------------------------------------------------------

SpinField::SpinField(int minimum, int maximum, QWidget *parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
    , m_minimum(minimum)
    , m_maximum(maximum)
{
    QToolButton *up = m_up;
    QToolButton *down = m_down;
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    up->setFocusPolicy(Qt::NoFocus);
    down->setFocusPolicy(Qt::NoFocus);
    connect(up, &QToolButton::clicked, this, [this] { step(1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });
    connect(m_edit, &QLineEdit::textEdited, this, &SpinField::textEdited);
    resize(80, 26);
}

void SpinField::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width() - 16;
    m_edit->setGeometry(0, 0, w, height());
    m_up->setGeometry(w, 0, 16, height() / 2);
    m_down->setGeometry(w, height() / 2, 16, height() - height() / 2);
}

void SpinField::setValue(int value)
{
    m_edit->setText(QString::number(value));
}

void SpinField::setInvalid(bool invalid)
{
    m_edit->setStyleSheet(invalid ? QStringLiteral("QLineEdit { background: %1; }").arg(palette::red.name())
                                  : QString());
}

void SpinField::step(int delta)
{
    bool ok = false;
    const int current = m_edit->text().toInt(&ok);
    const int next = std::clamp(ok ? current + delta : m_minimum, m_minimum, m_maximum);
    setValue(next);
    emit textEdited(m_edit->text());
}

// ---- PreferencesWindow -------------------------------------------------------------

PreferencesWindow::PreferencesWindow(PreferencesSession &session, const QString &programFolder, Ui &ui,
                                     std::function<void()> runManualCheck, QWidget *parent)
    : ToolWindow(ui, parent)
    , m_session(session)
    , m_runManualCheck(std::move(runManualCheck))
{
    setWindowTitle(preferencesTitle());
    setManualAnchor(programFolder, manualAnchors::preferences);
    build();
    layoutForSize();
}

QRadioButton *PreferencesWindow::resolutionOption(int index) const
{
    return m_resolutions.value(index);
}

QLabel *PreferencesWindow::resolutionWarning(int index) const
{
    return m_resolutionWarnings.value(index);
}

void PreferencesWindow::build()
{
    MainSettings &v = m_session.values();

    // Left column: the preview of the visible lines and the two row fields.
    m_previewCaption = label(QStringLiteral("# Visible lines (OS specific)"), 10, 8, this);
    m_preview = new QListWidget(this);
    m_preview->setFont(QFont(v.listFontName, v.listFontPointSize()));
    for (int n = 1; n <= 500; ++n)
        m_preview->addItem(QStringLiteral("Line ") + QString::number(n));
    connect(m_preview, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int row = m_preview->row(item) + 1;
        m_session.choosePreviewRow(row);
        field(PrefsField::VisibleLines)->setValue(row);
        field(PrefsField::VisibleLines)
            ->setInvalid(!ParseSpinText(PrefsField::VisibleLines, QString::number(row)).valid);
    });
    m_rowsCaption = new QLabel(QStringLiteral("Visible lines"), this);
    m_pixelsCaption = new QLabel(QStringLiteral("Plus/Minus Pixels"), this);

    const auto makeField = [this](PrefsField which, QWidget *parent, const QRect &geometry) {
        const PrefsFieldRange *range = nullptr;
        for (const PrefsFieldRange &r : prefsFieldRanges())
            if (r.field == which)
                range = &r;
        auto *f = new SpinField(range->minimum, range->maximum, parent);
        f->setGeometry(geometry);
        f->setValue(m_session.fieldValue(which));
        connect(f, &SpinField::textEdited, this, [this, which](const QString &text) { fieldEdited(which, text); });
        m_fields[which] = f;
        return f;
    };
    makeField(PrefsField::VisibleLines, this, QRect(0, 0, 70, 26));
    makeField(PrefsField::RowPixels, this, QRect(0, 0, 70, 26));

    // Middle column.
    const int midX = 245;
    const int midW = 318;
    QGroupBox *resolution = group(QStringLiteral("Resolution"), QRect(midX, 8, midW, 172), this);
    auto *resolutionGroup = new QButtonGroup(this);
    const QList<ResolutionOption> options = m_session.resolutionOptions();
    for (int i = 0; i < options.size(); ++i) {
        auto *radio = new QRadioButton(options[i].caption, resolution);
        radio->setGeometry(12, 24 + i * 28, 230, 24);
        radio->setEnabled(options[i].enabled);
        resolutionGroup->addButton(radio, i);
        m_resolutions.append(radio);
        auto *warn = new QLabel(resolution);
        warn->setPixmap(warningPixmap(this));
        warn->setGeometry(250, 28 + i * 28, 16, 16);
        warn->setVisible(options[i].warning);
        warn->setToolTip(QString());
        m_resolutionWarnings.append(warn);
    }
    if (QRadioButton *selected = m_resolutions.value(m_session.selectedResolution()))
        selected->setChecked(true);
    connect(resolutionGroup, &QButtonGroup::idClicked, this, [this](int id) {
        m_session.chooseResolution(id);
        layoutForSize();
    });

    QGroupBox *languageTool = group(QStringLiteral("LanguageTool"), QRect(midX, 186, midW, 60), this);
    label(QStringLiteral("Minimum lines between rules"), 12, 28, languageTool);
    makeField(PrefsField::MinLinesBetweenRules, languageTool, QRect(220, 24, 84, 26));

    QGroupBox *affAid = group(QStringLiteral(".AFF Aid Language"), QRect(midX, 252, midW, 60), this);
    m_affAid = new QComboBox(affAid);
    m_affAid->setGeometry(12, 24, 292, 26);
    for (const PreferencesSession::AffAidChoice &choice : m_session.affAidChoices())
        m_affAid->addItem(choice.imagePath.isEmpty() ? QIcon() : QIcon(choice.imagePath), choice.caption);
    m_affAid->setCurrentIndex(m_session.selectedAffAid());
    connect(m_affAid, &QComboBox::activated, this, [this](int index) { m_session.chooseAffAid(index); });

    QGroupBox *separator = group(QStringLiteral("Number separator character"), QRect(midX, 318, midW, 60), this);
    m_separator = new QLineEdit(v.thousandsSeparator, separator);
    m_separator->setGeometry(12, 24, 34, 26);
    m_separator->setMaxLength(1);
    m_separator->setAlignment(Qt::AlignCenter);
    m_separator->setToolTip(QStringLiteral("One character only. It can be left blank."));
    m_separatorPreview = label(m_session.separatorPreview(), 60, 28, separator, 240);
    connect(m_separator, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_session.setSeparator(text);
        m_separatorPreview->setText(m_session.separatorPreview());
    });

    QGroupBox *autocorrect = group(QStringLiteral("Autocorrect"), QRect(midX, 384, midW, 60), this);
    label(QStringLiteral("Spaces on the left of each line"), 12, 28, autocorrect);
    makeField(PrefsField::AutocorrectSpaces, autocorrect, QRect(220, 24, 84, 26));

    // Right column.
    const int rightX = 571;
    const int rightW = 313;
    QGroupBox *warnOver =
        group(QStringLiteral("Warn over N words decoding (RAM/SSD/HDD)"), QRect(rightX, 8, rightW, 60), this);
    makeField(PrefsField::DecodeWarnLimit, warnOver, QRect(12, 24, 110, 26));
    label(QStringLiteral("Words (0 disables)"), 132, 28, warnOver);
    auto *warnIcon = new QLabel(warnOver);
    warnIcon->setPixmap(warningPixmap(this, 24));
    warnIcon->setGeometry(276, 24, 24, 24);

    QGroupBox *updates = group(QStringLiteral("Check for Updates"), QRect(rightX, 74, rightW, 106), this);
    auto *frequencyGroup = new QButtonGroup(this);
    const QStringList captions{QStringLiteral("Manual"), QStringLiteral("Daily"), QStringLiteral("Weekly"),
                               QStringLiteral("Monthly")};
    const QStringList frequencies = PreferencesSession::updateFrequencies();
    for (int i = 0; i < 4; ++i) {
        auto *radio = new QRadioButton(captions[i], updates);
        radio->setGeometry(12 + i * 74, 22, 74, 24);
        radio->setChecked(v.updateFrequency == frequencies[i]);
        frequencyGroup->addButton(radio, i);
    }
    connect(frequencyGroup, &QButtonGroup::idClicked, this,
            [this, frequencies](int id) { m_session.setUpdateFrequency(frequencies[id]); });
    m_lastChecked = label(m_session.lastCheckedText(), 12, 52, updates, 290);
    auto *check = makeButton(QStringLiteral("Check"), QStringLiteral("check"));
    check->setParent(updates);
    check->setGeometry(222, 72, 78, 28);
    connect(check, &QPushButton::clicked, this, [this] {
        m_session.checkNow(m_runManualCheck);
        m_lastChecked->setText(m_session.lastCheckedText());
    });

    QGroupBox *colours = group(QStringLiteral("Affix Colours"), QRect(rightX, 186, rightW, 92), this);
    const struct {
        const char *caption;
        PreferencesSession::Colour which;
        qint32 value;
    } colourFields[] = {{"Primary ", PreferencesSession::Colour::Primary, v.colourPrimary},
                        {"Suffix ", PreferencesSession::Colour::Suffix, v.colourSuffix},
                        {"Prefix ", PreferencesSession::Colour::Prefix, v.colourPrefix},
                        {"Both ", PreferencesSession::Colour::Both, v.colourBoth}};
    for (int i = 0; i < 4; ++i) {
        const int x = 12 + (i % 2) * 150;
        const int y = 24 + (i / 2) * 32;
        label(QString::fromLatin1(colourFields[i].caption), x, y + 4, colours);
        auto *combo = new QComboBox(colours);
        combo->setGeometry(x + 52, y, 90, 26);
        for (int c = 0; c < MainSettings::paletteSize; ++c)
            combo->addItem(swatch(paletteColour(c)), QString::fromLatin1(paletteNames[c]));
        combo->setCurrentIndex(colourFields[i].value);
        const PreferencesSession::Colour which = colourFields[i].which;
        connect(combo, &QComboBox::activated, this, [this, which](int index) { m_session.setColour(which, index); });
    }

    QGroupBox *font = group(QStringLiteral("Font for language"), QRect(rightX, 284, rightW, 160), this);
    m_fontName = new QLineEdit(v.listFontName, font);
    m_fontName->setReadOnly(true);
    m_fontName->setGeometry(12, 24, 190, 26);
    m_fontSize = new QLineEdit(v.listFontSize, font);
    m_fontSize->setReadOnly(true);
    m_fontSize->setGeometry(206, 24, 40, 26);
    auto *fontButton = makeButton(QStringLiteral("Font..."), QStringLiteral("font"));
    fontButton->setParent(font);
    fontButton->setGeometry(250, 22, 52, 30);
    connect(fontButton, &QPushButton::clicked, this, &PreferencesWindow::openFontDialog);
    m_fontTest = new QLineEdit(font);
    m_fontTest->setGeometry(12, 60, 290, 86);
    m_fontTest->setToolTip(QStringLiteral("Test the font here"));
    m_fontTest->setFont(QFont(v.listFontName, v.listFontPointSize()));

    // Bottom.
    m_saveIcon = new QLabel(this);
    m_saveIcon->setPixmap(style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(24, 24));
    m_save = makeButton(QStringLiteral("Save"), QStringLiteral("save"));
    m_ok = makeButton(QStringLiteral("OK"), QStringLiteral("ok"));
    m_cancel = makeButton(QStringLiteral("Cancel"), QStringLiteral("cancel"));
    for (QPushButton *b : {m_save, m_ok, m_cancel}) {
        b->setParent(this);
        b->setFixedSize(90, 34);
    }
    connect(m_save, &QPushButton::clicked, this, &PreferencesWindow::pressSave);
    connect(m_ok, &QPushButton::clicked, this, &PreferencesWindow::pressOk);
    connect(m_cancel, &QPushButton::clicked, this, &PreferencesWindow::reject);
}

void PreferencesWindow::layoutForSize()
{
    const int height = baseHeight + WindowMetrics::fromSettings(m_session.values()).dy(100);
    setFixedSize(windowWidth, height);
    const int listHeight = std::max(40, m_session.previewListHeight());
    m_preview->setGeometry(10, 28, previewWidth, listHeight);
    int y = 28 + listHeight + 10;
    m_rowsCaption->setGeometry(10, y + 4, 130, 20);
    field(PrefsField::VisibleLines)->setGeometry(150, y, 80, 26);
    y += 32;
    m_pixelsCaption->setGeometry(10, y + 4, 130, 20);
    field(PrefsField::RowPixels)->setGeometry(150, y, 80, 26);

    const int buttonsY = height - 34 - 12;
    const int buttonsX = (windowWidth - (3 * 90 + 2 * 20)) / 2;
    m_save->move(buttonsX, buttonsY);
    m_ok->move(buttonsX + 110, buttonsY);
    m_cancel->move(buttonsX + 220, buttonsY);
    m_saveIcon->setGeometry(buttonsX + 33, buttonsY - 28, 24, 24);

    const int rows = m_session.values().listPageRows;
    if (rows >= 1 && rows <= m_preview->count()) {
        m_preview->setCurrentRow(rows - 1);
        m_preview->scrollToItem(m_preview->item(rows - 1));
    }
}

void PreferencesWindow::fieldEdited(PrefsField which, const QString &text)
{
    const bool valid = m_session.setFieldText(which, text);
    field(which)->setInvalid(!valid);
    if (!valid)
        return;
    if (which == PrefsField::VisibleLines) {
        m_preview->setCurrentRow(m_session.values().listPageRows - 1);
        m_preview->scrollToItem(m_preview->currentItem());
    } else if (which == PrefsField::RowPixels) {
        layoutForSize();
    }
}

void PreferencesWindow::focusField(PrefsField which)
{
    field(which)->edit()->setFocus();
    field(which)->edit()->selectAll();
}

void PreferencesWindow::pressSave()
{
    if (const auto failed = m_session.save())
        focusField(*failed);
}

void PreferencesWindow::pressOk()
{
    m_outcome = m_session.ok();
    if (m_outcome.failedField) {
        focusField(*m_outcome.failedField);
        return;
    }
    accept();
}

void PreferencesWindow::reject()
{
    m_session.cancel();
    ToolWindow::reject();
}

QFont PreferencesWindow::fontDialogPreset()
{
    QFont preset(QStringLiteral("Arial"), 10);
    preset.setBold(true);
    // The dialog finds its preset by the name in its list of installed families; where
    // Arial itself is missing, that is the face the font system answers for it
    // (Liberation Sans on most Linux desktops), not the first family of the list.
    const QString installed = QFontInfo(preset).family();
    if (!installed.isEmpty())
        preset.setFamilies({installed});
    return preset;
}

void PreferencesWindow::openFontDialog()
{
    QFontDialog dialog(fontDialogPreset(), this);
    dialog.setObjectName(QStringLiteral("fontDialog"));
    if (dialog.exec() == QDialog::Accepted)
        chooseFont(dialog.selectedFont());
}

void PreferencesWindow::chooseFont(const QFont &font)
{
    const QString oldName = m_session.values().listFontName;
    const QString oldSize = m_session.values().listFontSize;
    const int size = font.pointSize() > 0 ? font.pointSize() : 10;
    if (m_session.setFont(font.family(), size)) {
        if (!QFontDatabase::hasFamily(font.family())) {
            ui().showMessage(QStringLiteral("Error"),
                             QStringLiteral("Can't load ") + font.family() + QStringLiteral(" font."),
                             MessageIcon::Error);
            m_session.setFont(oldName, oldSize.toInt());
            return;
        }
    }
    m_fontName->setText(m_session.values().listFontName);
    m_fontSize->setText(m_session.values().listFontSize);
    applyListFont();
}

void PreferencesWindow::applyListFont()
{
    const QFont f(m_session.values().listFontName, m_session.values().listFontPointSize());
    m_preview->setFont(f);
    m_fontTest->setFont(f);
}

} // namespace lexaloom
