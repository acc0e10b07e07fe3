#include "gui/thesaurus/synonym_editor.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "core/shell/long_task.h"
#include "core/shell/ui.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

constexpr int counterPeriodMs = 300;
const QColor exampleGrey(128, 128, 128);

} // namespace

SynonymEditor::SynonymEditor(Ui &ui, SynonymEditorMode mode, const SynonymEditorTexts &initial,
                             const QString &programFolder, QWidget *parent)
    : ToolWindow(ui, parent)
{
    setWindowTitle(mode == SynonymEditorMode::Add ? synonymTexts::addTitle : synonymTexts::editTitle);
    setManualAnchor(programFolder, QString());
    resize(720, 420);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Synonym:"), this), 0, 0);
    m_word = new QLineEdit(initial.word, this);
    m_word->setObjectName(QStringLiteral("synonymWord"));
    grid->addWidget(m_word, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Meanings:"), this), 1, 0, Qt::AlignTop);
    m_meanings = new QPlainTextEdit(this);
    m_meanings->setObjectName(QStringLiteral("synonymMeanings"));
    m_meanings->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_meanings->setPlainText(initial.meanings);
    QPalette grey = m_meanings->palette();
    grey.setColor(QPalette::PlaceholderText, exampleGrey);
    m_meanings->setPalette(grey);
    m_meanings->installEventFilter(this);
    grid->addWidget(m_meanings, 1, 1);

    auto *footer = new QHBoxLayout;
    m_counter = new QLabel(this);
    m_bar = new QLabel(this);
    footer->addWidget(m_counter);
    footer->addSpacing(12);
    footer->addWidget(m_bar);
    footer->addStretch();
    m_ok = makeButton(okCaption(), QStringLiteral("ok"));
    m_ok->setDefault(false);
    QPushButton *cancel = makeButton(cancelCaption(), QStringLiteral("cancel"));
    footer->addWidget(m_ok);
    footer->addWidget(cancel);
    grid->addLayout(footer, 2, 1);
    connect(m_ok, &QPushButton::clicked, this, &SynonymEditor::accept);
    connect(cancel, &QPushButton::clicked, this, &SynonymEditor::reject);

    connect(m_word, &QLineEdit::textChanged, this, &SynonymEditor::refreshWordColour);
    m_counterTimer = new QTimer(this);
    m_counterTimer->setInterval(counterPeriodMs);
    connect(m_counterTimer, &QTimer::timeout, this, &SynonymEditor::refreshCounters);
    m_counterTimer->start();
    refreshCounters();
    refreshWordColour();

    // Edit starts in the meanings, Add in the word.
    if (mode == SynonymEditorMode::Edit)
        m_meanings->setFocus();
    else
        m_word->setFocus();
    refreshUsageExample();
}

SynonymEditorTexts SynonymEditor::texts() const
{
    return {m_word->text(), m_meanings->toPlainText()};
}

bool SynonymEditor::showsUsageExample() const
{
    return !m_meanings->placeholderText().isEmpty() && m_meanings->document()->isEmpty();
}

void SynonymEditor::accept()
{
    const SynonymCheck check = CheckSynonymTexts(texts());
    if (!check.ok()) {
        ui().showMessage(LongTask::warningTitle(), check.message, MessageIcon::Warning);
        if (check.field == SynonymField::Word)
            m_word->setFocus();
        else
            m_meanings->setFocus();
        return;
    }
    ToolWindow::accept();
}

bool SynonymEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_meanings && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        QTimer::singleShot(0, this, &SynonymEditor::refreshUsageExample);
    return ToolWindow::eventFilter(watched, event);
}

void SynonymEditor::refreshCounters()
{
    const int n = EditorMeaningCount(m_meanings->toPlainText());
    const QString counter = MeaningCounterText(n);
    if (m_counter->text() != counter)
        m_counter->setText(counter);
    const QString bar = MeaningBarText(n);
    if (m_bar->text() != bar)
        m_bar->setText(bar);
}

void SynonymEditor::refreshWordColour()
{
    const bool red = HasInvalidSpaces(m_word->text());
    m_word->setStyleSheet(red ? QStringLiteral("QLineEdit { background-color: ") + palette::red.name() +
                                    QStringLiteral("; }")
                              : QString());
}

void SynonymEditor::refreshUsageExample()
{
    // The example is a placeholder: it never reaches the text, so never counts.
    const QString wanted = m_meanings->hasFocus() ? QString() : synonymTexts::usageExample;
    if (m_meanings->placeholderText() != wanted)
        m_meanings->setPlaceholderText(wanted);
}

} // namespace lexaloom
