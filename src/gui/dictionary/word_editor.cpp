#include "gui/dictionary/word_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/manual_url.h"
#include "core/shell/prefs_store.h"
#include "core/shell/settings.h"
#include "core/shell/ui.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

// How often the window re-checks its fields and the expansion's due time.
constexpr int tickMs = 50;
// How long the engine may run between two looks at the window's events.
constexpr qint64 pumpEveryMs = 20;
constexpr int indicatorSize = 16;

QColor rgb(int packed)
{
    return palette::fromRgb(quint32(packed));
}

// A round lamp: the images of the indicators.
QPixmap lamp(const QColor &colour)
{
    QPixmap pixmap(indicatorSize, indicatorSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette::lampRim, 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1.5, 1.5, indicatorSize - 3, indicatorSize - 3));
    return pixmap;
}

const QColor &lampOff = palette::lampOff;
const QColor &lampOn = palette::lampOn;

QLabel *indicator(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setToolTip(caption);
    label->setPixmap(lamp(lampOff));
    label->setFixedSize(indicatorSize, indicatorSize);
    return label;
}

void setLamp(QLabel *label, bool on)
{
    label->setPixmap(lamp(on ? lampOn : lampOff));
    label->setProperty("on", on);
}

QString toneStyle(FieldTone tone)
{
    switch (tone) {
    case FieldTone::Amber:
        return palette::textColourStyle(palette::amber, QStringLiteral("QLineEdit"));
    case FieldTone::Red:
        return palette::textColourStyle(palette::red, QStringLiteral("QLineEdit"));
    case FieldTone::Normal:
        break;
    }
    return {};
}

QLabel *redCaption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(palette::textColourStyle(palette::red));
    return label;
}

QListWidget *tagList(const QString &caption, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setToolTip(caption);
    list->setObjectName(caption);
    return list;
}

} // namespace

WordEditor::WordEditor(WordEditorContext context, Ui &ui, WordEditorMode mode, const WordEditorTexts &initial,
                       int &legendRow, QWidget *parent)
    : ToolWindow(ui, parent)
    , m_context(std::move(context))
    , m_mode(mode)
    , m_initial(initial)
    , m_legendRow(legendRow)
    , m_model(m_context.affixTable, m_context.settings, m_context.affAidEntries)
{
    BuildAffixTable(m_context.affixTable, m_context.affText);
    setWindowTitle(mode == WordEditorMode::Add ? editingTexts::addTitle : editingTexts::editTitle);
    setManualAnchor(m_context.programFolder, QString());

    auto *root = new QVBoxLayout(this);

    // Word, Refresh and Taboo; Postags, OK and Cancel.
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(wordEditorTexts::wordCaption, this), 0, 0);
    m_word = new QLineEdit(initial.word, this);
    fields->addWidget(m_word, 0, 1);
    m_refresh = new QPushButton(QStringLiteral("Refresh"), this);
    m_refresh->setAutoDefault(false);
    fields->addWidget(m_refresh, 0, 2);
    auto *tabooBox = new QHBoxLayout;
    tabooBox->addWidget(new QLabel(QStringLiteral("Taboo:"), this));
    m_taboo = new QToolButton(this);
    m_taboo->setToolTip(QStringLiteral("NOSUGGEST Flag"));
    m_taboo->setAutoRaise(true);
    tabooBox->addWidget(m_taboo);
    fields->addLayout(tabooBox, 0, 3);
    fields->addWidget(new QLabel(wordEditorTexts::tagsCaption, this), 1, 0);
    m_tags = new QLineEdit(initial.tags, this);
    fields->addWidget(m_tags, 1, 1);
    m_ok = new QPushButton(okCaption(), this);
    m_ok->setDefault(true);
    m_cancel = makeButton(cancelCaption());
    fields->addWidget(m_ok, 1, 2);
    fields->addWidget(m_cancel, 1, 3);
    fields->setColumnStretch(1, 1);
    root->addLayout(fields);

    auto *body = new QHBoxLayout;
    root->addLayout(body, 1);

    // The derived words with Display and Match.
    auto *left = new QVBoxLayout;
    m_derived = new QTreeWidget(this);
    m_derived->setRootIsDecorated(false);
    m_derived->setUniformRowHeights(true);
    m_derived->setHeaderLabels({EditorRowsSink::derivedWordsHeading(0).section(u' ', 0, 1), QStringLiteral("Type"),
                                QStringLiteral("Flag"), QStringLiteral("Flag Position"), QStringLiteral("Rule")});
    m_derived->setColumnWidth(0, 190);
    m_derived->setColumnWidth(1, 60);
    m_derived->setColumnWidth(2, 40);
    m_derived->setColumnWidth(3, 80);
    m_derived->setContextMenuPolicy(Qt::CustomContextMenu);
    m_derived->setMinimumWidth(560);
    left->addWidget(m_derived, 1);
    auto *matchRow = new QHBoxLayout;
    m_display = new QPushButton(QStringLiteral("Display"), this);
    m_display->setAutoDefault(false);
    m_display->setEnabled(false);
    matchRow->addWidget(m_display);
    matchRow->addSpacing(12);
    matchRow->addWidget(new QLabel(wordEditorTexts::wordCaption, this));
    m_matchField = new QLineEdit(this);
    matchRow->addWidget(m_matchField, 1);
    auto *matchButton = new QPushButton(QStringLiteral("Match"), this);
    matchButton->setAutoDefault(false);
    matchRow->addWidget(matchButton);
    m_matchResult = new QLabel(this);
    m_matchResult->setMinimumWidth(50);
    matchRow->addWidget(m_matchResult);
    left->addLayout(matchRow);
    body->addLayout(left, 3);

    // The .aff pane with the sort choice; the summaries; the legend.
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral(".AFF:"), this));
    m_affPane = new QPlainTextEdit(this);
    m_affPane->setReadOnly(true);
    m_affPane->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_affPane->setPlainText(editorAffText(m_context.affixTable));
    right->addWidget(m_affPane, 3);
    auto *sortRow = new QHBoxLayout;
    m_sortChoice = new QComboBox(this);
    m_sortChoice->addItems(derivedSortCaptions());
    const int choice = std::clamp(m_context.derivedSortChoice, int(DerivedSort::Default), int(DerivedSort::RuleFlag));
    m_sortChoice->setCurrentIndex(choice - 1);
    sortRow->addWidget(m_sortChoice, 1);
    auto *sortButton = new QPushButton(QStringLiteral("Sort"), this);
    sortButton->setAutoDefault(false);
    auto *rememberButton = new QPushButton(QStringLiteral("Remember"), this);
    rememberButton->setAutoDefault(false);
    sortRow->addWidget(sortButton);
    sortRow->addWidget(rememberButton);
    right->addLayout(sortRow);
    right->addWidget(new QLabel(QStringLiteral("Summary:"), this));
    auto *summaries = new QHBoxLayout;
    auto *topBox = new QVBoxLayout;
    topBox->addWidget(new QLabel(QStringLiteral("Top level tags"), this));
    m_topTags = tagList(QStringLiteral("Top level tags"), this);
    topBox->addWidget(m_topTags);
    auto *nestedBox = new QVBoxLayout;
    nestedBox->addWidget(new QLabel(QStringLiteral("Nested tags"), this));
    m_nestedTags = tagList(QStringLiteral("Nested tags"), this);
    nestedBox->addWidget(m_nestedTags);
    summaries->addLayout(topBox);
    summaries->addLayout(nestedBox);
    right->addLayout(summaries, 2);
    body->addLayout(right, 2);

    auto *legendBox = new QVBoxLayout;
    const AffAidLegend &legend = m_model.legend();
    m_legendCaption = new QLabel(affAidCaption(legend), this);
    legendBox->addWidget(m_legendCaption);
    m_legend = new QListWidget(this);
    m_legend->setMinimumWidth(300);
    const QIcon legendIcon = legend.imagePath.isEmpty() ? QIcon() : QIcon(legend.imagePath);
    for (const QString &line : legend.lines)
        new QListWidgetItem(legendIcon, line, m_legend);
    if (m_legendRow >= 0 && m_legendRow < m_legend->count()) {
        m_legend->setCurrentRow(m_legendRow);
        m_legend->scrollToItem(m_legend->currentItem(), QAbstractItemView::PositionAtCenter);
    }
    legendBox->addWidget(m_legend, 1);
    body->addLayout(legendBox, 2);

    // Reports and indicators.
    auto *reports = new QHBoxLayout;
    reports->addWidget(redCaption(QStringLiteral("⚠ 🏁:"), this));
    m_missing = new QLabel(this);
    m_missing->setMinimumWidth(80);
    m_missing->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reports->addWidget(m_missing);
    reports->addWidget(redCaption(QStringLiteral("⚠ 🏁🏁:"), this));
    m_missingNested = new QLabel(this);
    m_missingNested->setMinimumWidth(80);
    m_missingNested->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reports->addWidget(m_missingNested);
    reports->addStretch(1);
    const auto addIndicator = [&](const QString &caption) {
        reports->addWidget(new QLabel(caption.section(u' ', 0, 0) + u':', this));
        QLabel *label = indicator(caption, this);
        reports->addWidget(label);
        reports->addSpacing(8);
        return label;
    };
    m_keepCase = addIndicator(QStringLiteral("KEEPCASE Flag"));
    m_needAffix = addIndicator(QStringLiteral("NEEDAFFIX Flag"));
    m_forbidden = addIndicator(QStringLiteral("FORBIDDENWORD Flag"));
    m_complexPrefixes = addIndicator(QStringLiteral("COMPLEXPREFIXES Flag"));
    m_circumfix = addIndicator(QStringLiteral("CIRCUMFIX Flag"));
    m_flagMode = new QLabel(m_model.flagModeText().section(u' ', 1), this);
    m_flagMode->setToolTip(m_model.flagModeText());
    m_flagMode->setFrameShape(QFrame::Box);
    reports->addWidget(m_flagMode);
    reports->addSpacing(8);
    reports->addWidget(redCaption(QStringLiteral("⚠ COMPLEX PREFIXES not supported yet!"), this));
    root->addLayout(reports);

    connect(m_word, &QLineEdit::textChanged, this, [this] { m_model.wordChanged(this->ui().clock().monotonicMs()); });
    connect(m_refresh, &QPushButton::clicked, this,
            [this] { m_model.refreshPressed(this->ui().clock().monotonicMs()); });
    connect(m_ok, &QPushButton::clicked, this, &WordEditor::accept);
    connect(m_cancel, &QPushButton::clicked, this, &WordEditor::reject);
    connect(m_display, &QPushButton::clicked, this, &WordEditor::display);
    connect(m_derived, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_display->isEnabled())
            display();
    });
    connect(m_derived, &QTreeWidget::itemSelectionChanged, this, [this] { m_display->setEnabled(selectedRow() > 0); });
    connect(m_derived, &QTreeWidget::customContextMenuRequested, this, &WordEditor::showPopup);
    connect(matchButton, &QPushButton::clicked, this, &WordEditor::match);
    connect(sortButton, &QPushButton::clicked, this, &WordEditor::sortNow);
    connect(rememberButton, &QPushButton::clicked, this, &WordEditor::remember);
    connect(m_sortChoice, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_context.derivedSortChoice = index + 1; });

    if (mode == WordEditorMode::Edit)
        m_model.startStale(ui.clock().monotonicMs(), 300);
    m_timer = new QTimer(this);
    m_timer->setInterval(tickMs);
    connect(m_timer, &QTimer::timeout, this, &WordEditor::tick);
    m_timer->start();
    updateLiveState();
    fitAndCentre(QSize(1400, 640));
}

WordEditor::~WordEditor() = default;

WordEditorTexts WordEditor::texts() const
{
    return {m_word->text(), m_tags->text()};
}

void WordEditor::tick()
{
    updateLiveState();
    if (m_model.expansionDue(ui().clock().monotonicMs()))
        runExpansion();
}

void WordEditor::runExpansion()
{
    m_derived->clear();
    m_topTags->clear();
    m_nestedTags->clear();
    m_refresh->setEnabled(false);
    QElapsedTimer sincePump;
    sincePump.start();
    const int stop = m_model.expand([this] { return m_word->text(); },
                                    [&sincePump] {
                                        if (sincePump.elapsed() < pumpEveryMs)
                                            return;
                                        QApplication::processEvents();
                                        sincePump.restart();
                                    },
                                    DerivedSort(m_sortChoice->currentIndex() + 1));
    m_refresh->setEnabled(true);
    using After = WordEditorModel::AfterExpansion;
    const After after = WordEditorModel::afterExpansion(stop, m_word->text(), m_tags->text());
    if (after == After::CloseRejected) {
        reject();
        return;
    }
    if (after == After::CloseAccepted) {
        accept();
        return;
    }
    fillRows();
    m_topTags->addItems(m_model.summary().topLevel);
    m_nestedTags->addItems(m_model.summary().nested);
    m_missing->setText(m_model.missingFlags());
    m_missingNested->setText(m_model.missingContinuationFlags());
    updateLiveState();
    if (after == After::ShowRowsThenOk)
        accept(); // shows the check that failed
}

void WordEditor::fillRows()
{
    m_derived->clear();
    QList<QTreeWidgetItem *> items;
    for (const DerivedRow &row : m_model.rows()) {
        auto *item = new QTreeWidgetItem(QStringList{row.word, row.type, row.flag, row.positionText(), row.ruleText()});
        for (int c = 0; c < 5; ++c)
            item->setForeground(c, rgb(row.colour));
        items << item;
    }
    m_derived->addTopLevelItems(items);
    m_derived->headerItem()->setText(0, m_model.heading());
    m_matchResult->clear();
    m_display->setEnabled(false);
}

void WordEditor::updateLiveState()
{
    const QString word = m_word->text();
    const QString wordStyle = toneStyle(wordFieldTone(word));
    if (m_word->styleSheet() != wordStyle)
        m_word->setStyleSheet(wordStyle);
    const QString tagsStyle = toneStyle(tagsFieldTone(m_tags->text()));
    if (m_tags->styleSheet() != tagsStyle)
        m_tags->setStyleSheet(tagsStyle);

    const int taboo = int(m_model.taboo(word));
    if (taboo != m_tabooShown) {
        static const QColor tabooColours[] = {lampOff, lampOn, QColor(255, 0, 0), QColor(255, 201, 14)};
        m_taboo->setIcon(QIcon(lamp(tabooColours[taboo])));
        m_taboo->setProperty("state", taboo);
        m_tabooShown = taboo;
    }
    setLamp(m_keepCase, m_model.keepCaseOn());
    setLamp(m_needAffix, m_model.needAffixOn());
    setLamp(m_forbidden, m_model.forbiddenWordOn());
    setLamp(m_complexPrefixes, m_model.complexPrefixesOn());
    setLamp(m_circumfix, m_model.circumfixOn());
}

int WordEditor::selectedRow() const
{
    const QList<QTreeWidgetItem *> selected = m_derived->selectedItems();
    return selected.isEmpty() ? -1 : m_derived->indexOfTopLevelItem(selected.first());
}

void WordEditor::display()
{
    const int row = selectedRow();
    if (row <= 0 || row >= int(m_model.rows().size()))
        return;
    const int position = m_model.rows()[size_t(row)].position;
    QTextCursor cursor = m_affPane->textCursor();
    // Moving to the end first makes the header line come to the top of the pane.
    cursor.movePosition(QTextCursor::End);
    m_affPane->setTextCursor(cursor);
    cursor.setPosition(std::clamp(position - 1, 0, int(m_affPane->document()->characterCount()) - 1));
    cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    m_affPane->setTextCursor(cursor);
    m_affPane->ensureCursorVisible();
}

void WordEditor::match()
{
    const std::optional<QList<int>> matches = matchDerivedRows(m_model.rows(), m_matchField->text(), ui());
    if (!matches)
        return;
    for (int i = 0; i < m_derived->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_derived->topLevelItem(i);
        const QColor colour = matches->contains(i) ? palette::red : rgb(m_model.rows()[size_t(i)].colour);
        for (int c = 0; c < 5; ++c)
            item->setForeground(c, colour);
    }
    m_matchResult->setText(u'(' + QString::number(matches->size()) + u')');
}

void WordEditor::sortNow()
{
    // The model's rows are the list's rows; sorting the model sorts what is shown.
    if (m_model.sortRows(DerivedSort(m_sortChoice->currentIndex() + 1), ui()))
        fillRows();
}

void WordEditor::remember()
{
    m_context.derivedSortChoice = m_sortChoice->currentIndex() + 1;
    if (m_context.rememberSortChoice)
        m_context.rememberSortChoice();
}

void WordEditor::copy(DerivedCopy kind)
{
    if (const std::optional<QString> text = derivedCopyText(m_model.rows(), selectedRow(), kind, ui()))
        ui().setClipboardText(*text);
}

void WordEditor::removeFlag()
{
    const int row = selectedRow();
    // The copy items' checks report an empty list or a missing selection alike.
    if (!derivedCopyText(m_model.rows(), row, DerivedCopy::Word, ui()))
        return;
    if (row == 0) {
        ui().showMessage(editingTexts::warningTitle, wordEditorTexts::primaryHasNoFlag, MessageIcon::Warning);
        return;
    }
    const FlagRemoval removal =
        removeFlagFromWordField(m_context.affixTable.flagMode, m_word->text(), m_model.rows()[size_t(row)].flag);
    if (!removal.message.isEmpty())
        ui().showMessage(editingTexts::warningTitle, removal.message, MessageIcon::Warning);
    if (!removal.wordField)
        return;
    m_word->setText(*removal.wordField);
    m_refresh->click();
}

void WordEditor::showPopup(const QPoint &pos)
{
    QMenu menu(this);
    const auto add = [&](const QString &caption, const std::function<void()> &action) {
        connect(menu.addAction(caption), &QAction::triggered, this, action);
    };
    add(QStringLiteral("Copy word"), [this] { copy(DerivedCopy::Word); });
    add(QStringLiteral("Copy all words"), [this] { copy(DerivedCopy::AllWords); });
    add(QStringLiteral("Copy word && rule"), [this] { copy(DerivedCopy::WordAndRule); });
    add(QStringLiteral("Copy all words && rules"), [this] { copy(DerivedCopy::AllWordsAndRules); });
    add(QStringLiteral("Copy flag rule"), [this] { copy(DerivedCopy::FlagRule); });
    menu.addSeparator();
    add(QStringLiteral("Remove 🏁 from textbox"), [this] { removeFlag(); });
    menu.exec(m_derived->viewport()->mapToGlobal(pos));
}

void WordEditor::accept()
{
    if (!m_model.okPressed())
        return;
    const std::optional<OkFailure> failure = checkWordEditorOk(m_word->text(), m_tags->text());
    if (failure) {
        ui().showMessage(editingTexts::warningTitle, failure->message, MessageIcon::Warning);
        (failure->field == EditorField::Word ? m_word : m_tags)->setFocus();
        return;
    }
    m_legendRow = m_legend->currentRow();
    ToolWindow::accept();
}

bool WordEditor::interruptWork()
{
    return !m_model.cancelPressed();
}

void WordEditor::done(int result)
{
    m_timer->stop();
    ToolWindow::done(result);
}

} // namespace lexaloom
