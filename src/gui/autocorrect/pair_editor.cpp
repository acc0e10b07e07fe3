#include "gui/autocorrect/pair_editor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

constexpr int iconSize = 16;

// The field's icon: a dot in the field's colour.
QLabel *fieldIcon(const QColor &colour, const QString &tooltip, QWidget *parent)
{
    QPixmap pixmap(iconSize, iconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette::lampRim, 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1.5, 1.5, iconSize - 3, iconSize - 3));
    auto *label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->setToolTip(tooltip);
    return label;
}

} // namespace

PairEditor::PairEditor(Ui &ui, PairEditorMode mode, const PairTexts &initial, const QString &programFolder,
                       QWidget *parent)
    : ToolWindow(ui, parent)
    , m_model(ui, mode, initial)
{
    setWindowTitle(m_model.title());
    setManualAnchor(programFolder, QString());

    auto *root = new QVBoxLayout(this);
    auto *fields = new QGridLayout;
    m_incorrect = new QLineEdit(initial.incorrect, this);
    m_incorrect->setObjectName(QStringLiteral("incorrect"));
    m_incorrect->setMinimumWidth(360);
    m_correct = new QLineEdit(initial.correct, this);
    m_correct->setObjectName(QStringLiteral("correct"));
    fields->addWidget(fieldIcon(palette::red, QStringLiteral("Incorrect"), this), 0, 0);
    fields->addWidget(m_incorrect, 0, 1);
    fields->addWidget(fieldIcon(palette::green, QStringLiteral("Correct"), this), 1, 0);
    fields->addWidget(m_correct, 1, 1);
    m_toggle = new QToolButton(this);
    m_toggle->setText(QStringLiteral("\u21C5"));
    m_toggle->setToolTip(pairEditorTexts::toggleTooltip);
    m_toggle->setAutoRaise(false);
    m_toggle->setFixedSize(32, 52);
    fields->addWidget(m_toggle, 0, 2, 2, 1);
    root->addLayout(fields);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    m_cancel = makeButton(QStringLiteral("Cancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    root->addLayout(buttons);

    connect(m_incorrect, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_model.setIncorrect(text);
        showField(m_incorrect, palette::red);
    });
    connect(m_correct, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_model.setCorrect(text);
        showField(m_correct, palette::green);
    });
    connect(m_toggle, &QToolButton::clicked, this, [this] {
        m_model.toggle();
        const PairTexts texts = m_model.texts();
        m_incorrect->setText(texts.incorrect);
        m_correct->setText(texts.correct);
    });
    connect(m_ok, &QPushButton::clicked, this, &PairEditor::accept);
    connect(m_cancel, &QPushButton::clicked, this, &PairEditor::reject);

    showField(m_incorrect, palette::red);
    showField(m_correct, palette::green);
    m_incorrect->setFocus();
}

void PairEditor::showField(QLineEdit *field, const QColor &textColour)
{
    // Faulty spaces turn the field red with black text, so they show while typing.
    const bool faulty = PairEditorModel::hasInvalidSpaces(field->text());
    const QString style = faulty ? QStringLiteral("QLineEdit { background-color: %1; color: #000000; }")
                                       .arg(palette::red.name(QColor::HexRgb).toUpper())
                                 : palette::textColourStyle(textColour, QStringLiteral("QLineEdit"));
    if (field->styleSheet() != style)
        field->setStyleSheet(style);
    field->setProperty("faulty", faulty);
}

void PairEditor::accept()
{
    if (const std::optional<PairEditorModel::Field> refused = m_model.accept()) {
        (*refused == PairEditorModel::Field::Incorrect ? m_incorrect : m_correct)->setFocus();
        return;
    }
    ToolWindow::accept();
}

} // namespace lexaloom
