#include "gui/shell/goto_dialog.h"

#include "core/app/find_target.h"
#include "core/app/workbench.h"
#include "core/app/workbench.h"
#include "core/shell/find.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace lexaloom {

namespace {

const QColor &outOfRangeColour = palette::red;

} // namespace

GotoDialog::GotoDialog(GotoRequest request, Ui &ui, QString &remembered, std::function<void(qint64)> go,
                       QWidget *parent)
    : QDialog(parent)
    , m_request(std::move(request))
    , m_ui(ui)
    , m_remembered(remembered)
    , m_go(std::move(go))
{
    setWindowTitle(m_request.title());
    setFixedSize(345, 99);

    m_field = new QLineEdit(this);
    m_field->setMaxLength(GotoRequest::maxDigits);
    m_field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(GotoRequest::maxDigits)), m_field));
    m_field->setText(remembered);
    m_field->selectAll();
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setDefault(true);
    auto *closeButton = new QPushButton(closeCaption(), this);
    closeButton->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_field);
    layout->addLayout(buttons);

    connect(m_field, &QLineEdit::textChanged, this, &GotoDialog::updateFieldColour);
    connect(m_okButton, &QPushButton::clicked, this, &GotoDialog::acceptPosition);
    connect(closeButton, &QPushButton::clicked, this, &GotoDialog::reject);
    // An empty field is only red once the user has typed into it.
    if (!remembered.isEmpty())
        updateFieldColour();
    m_field->setFocus();
}

void GotoDialog::Open(QWidget *parent, Ui &ui, const QString &noun, qint64 count, QString &remembered,
                      std::function<void(qint64)> go)
{
    GotoRequest request(noun, count);
    if (!request.checkCanOpen(ui))
        return;
    GotoDialog dialog(std::move(request), ui, remembered, std::move(go), parent);
    dialog.exec();
}

void GotoDialog::OpenForTab(QWidget *parent, Workbench &workbench, Ui &ui, DocumentKind kind,
                            std::function<void(qint64)> showEntry)
{
    const std::optional<FindTarget> target = FindTargetFor(workbench, kind);
    if (!target)
        return;
    Open(parent, ui, target->gotoNoun, target->entries->size(), workbench.findMemory.gotoText, std::move(showEntry));
}

void GotoDialog::updateFieldColour()
{
    QPalette palette = m_field->palette();
    palette.setColor(QPalette::Base,
                     m_request.isInRange(m_field->text()) ? QPalette().color(QPalette::Base) : outOfRangeColour);
    m_field->setPalette(palette);
}

void GotoDialog::acceptPosition()
{
    const std::optional<qint64> index = m_request.accept(m_field->text(), m_ui, m_remembered);
    if (!index)
        return;
    if (m_go)
        m_go(*index);
    accept();
}

} // namespace lexaloom
