#include "gui/languagetool/pos_settings_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/manual_url.h"
#include "core/shell/prefs_store.h"
#include "gui/shell/dialog_captions.h"
#include "gui/shell/palette.h"

namespace lexaloom {

namespace {

// The drop-down offers the first three languages of the table.
constexpr int offeredLanguages = 3;

const char *const popupItems[] = {"Add Above",   "Add Below",        "Edit",  "Clone Below",     nullptr, "Select All",
                                  "Select None", "Invert Selection", nullptr, "Delete Selected", "Delete"};

} // namespace

PosRuleDialog::PosRuleDialog(Ui &ui, const QString &rule, QWidget *parent)
    : QDialog(parent)
    , m_ui(ui)
{
    setWindowTitle(posSettingsTexts::editTitle);
    const QStringList parts = rule.split(u'\n');
    auto *layout = new QGridLayout(this);
    const char *const captions[] = {"POS source: .dic", "POS target: LanguageTool", "Comments"};
    for (int i = 0; i < 3; ++i) {
        layout->addWidget(new QLabel(QString::fromLatin1(captions[i]), this), i, 0);
        m_fields[i] = new QLineEdit(rule.isEmpty() ? QString() : parts.value(i), this);
        m_fields[i]->setMinimumWidth(360);
        layout->addWidget(m_fields[i], i, 1);
    }
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(okCaption(), this);
    ok->setDefault(true);
    auto *cancel = new QPushButton(cancelCaption(), this);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, &PosRuleDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &PosRuleDialog::reject);
}

void PosRuleDialog::accept()
{
    // The field that holds a tab is drawn red until it is fixed.
    const int faulty = PosRuleFieldWithSeparator(m_fields[0]->text(), m_fields[1]->text(), m_fields[2]->text());
    for (int i = 0; i < 3; ++i)
        m_fields[i]->setStyleSheet(
            i == faulty ? QStringLiteral("QLineEdit { background: %1; }").arg(palette::red.name()) : QString());
    m_result = AcceptPosRuleFields(m_ui, m_fields[0]->text(), m_fields[1]->text(), m_fields[2]->text());
    if (!m_result.isEmpty())
        QDialog::accept();
}

QString PosRuleDialog::EditPosRule(Ui &ui, const QString &rule, QWidget *parent)
{
    PosRuleDialog dialog(ui, rule, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.result() : QString();
}

PosSettingsWindow::PosSettingsWindow(Workbench &workbench, Ui &ui, PosSettingsSession::RuleEditor editor,
                                     QWidget *parent)
    : ToolWindow(ui, parent)
    , m_workbench(workbench)
    , m_session(workbench.windowSettings.pos, ui,
                editor ? std::move(editor) : PosSettingsSession::RuleEditor([this, &ui](const QString &rule) {
                    return PosRuleDialog::EditPosRule(ui, rule, this);
                }))
{
    setWindowTitle(posSettingsTexts::windowTitle);
    setManualAnchor(workbench.programFolder(), manualAnchors::posSettings);
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Use language:"), this));
    m_language = new QComboBox(this);
    const QStringList &languages = workbench.windowSettings.pos.languages;
    for (int i = 0; i < std::min<int>(offeredLanguages, int(languages.size())); ++i)
        m_language->addItem(languages[i]);
    top->addWidget(m_language);
    auto *remember = makeButton(QStringLiteral("Remember"));
    m_buttons << remember;
    top->addWidget(remember);
    top->addStretch();
    layout->addLayout(top);

    m_rules = new QTreeWidget(this);
    m_rules->setHeaderLabels(
        {QStringLiteral("POS source: .dic"), QStringLiteral("POS target: LanguageTool"), QStringLiteral("Comments")});
    m_rules->setRootIsDecorated(false);
    m_rules->setUniformRowHeights(true);
    m_rules->setAllColumnsShowFocus(true);
    m_rules->setColumnWidth(0, 260);
    m_rules->setColumnWidth(1, 180);
    m_rules->setColumnWidth(2, 320);
    m_rules->setContextMenuPolicy(Qt::CustomContextMenu);
    m_rules->setMinimumSize(780, 360);
    layout->addWidget(m_rules);

    auto *listButtons = new QHBoxLayout;
    for (const char *caption : {"Add", "Edit", "Delete"}) {
        auto *b = makeButton(QString::fromLatin1(caption));
        m_buttons << b;
        listButtons->addWidget(b);
    }
    const auto imageButton = [this](const char *image, const QString &tooltip) {
        auto *b = new QToolButton(this);
        b->setIcon(QIcon(QString::fromLatin1(image)));
        b->setIconSize(QSize(24, 24));
        b->setToolTip(tooltip);
        return b;
    };
    auto *bottom = imageButton(":/images/go_bottom.png", goBottomCaption());
    auto *topButton = imageButton(":/images/go_top.png", goTopCaption());
    listButtons->addWidget(bottom);
    listButtons->addWidget(topButton);
    m_found = new QLabel(this);
    m_selected = new QLabel(this);
    listButtons->addSpacing(12);
    listButtons->addWidget(m_found);
    listButtons->addSpacing(12);
    listButtons->addWidget(m_selected);
    listButtons->addStretch();
    for (const QString &caption : {QStringLiteral("Save"), okCaption(), cancelCaption()}) {
        auto *b = makeButton(caption);
        m_buttons << b;
        listButtons->addWidget(b);
    }
    layout->addLayout(listButtons);

    connect(m_language, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling)
            return;
        m_session.setLanguage(index);
        refresh();
    });
    const auto act = [this](void (PosSettingsSession::*action)()) {
        return [this, action] {
            (m_session.*action)();
            refresh();
        };
    };
    connect(button(QStringLiteral("Add")), &QPushButton::clicked, this, act(&PosSettingsSession::add));
    connect(button(QStringLiteral("Edit")), &QPushButton::clicked, this, act(&PosSettingsSession::edit));
    connect(button(QStringLiteral("Delete")), &QPushButton::clicked, this, act(&PosSettingsSession::deleteRule));
    connect(remember, &QPushButton::clicked, this, [this] {
        m_session.remember([this] { return SavePosSelection(m_workbench); }, settingsFiles::posSelection);
    });
    connect(button(QStringLiteral("Save")), &QPushButton::clicked, this,
            [this] { m_session.save([this] { return SavePosLists(m_workbench); }, settingsFiles::posLists); });
    connect(button(okCaption()), &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(button(cancelCaption()), &QPushButton::clicked, this, [this] {
        m_session.cancel();
        done(QDialog::Rejected);
    });
    connect(bottom, &QToolButton::clicked, this, [this] {
        if (const int n = m_rules->topLevelItemCount())
            m_rules->setCurrentItem(m_rules->topLevelItem(n - 1));
    });
    connect(topButton, &QToolButton::clicked, this, [this] {
        if (m_rules->topLevelItemCount())
            m_rules->setCurrentItem(m_rules->topLevelItem(0));
    });
    connect(m_rules, &QTreeWidget::itemChanged, this, &PosSettingsWindow::itemChanged);
    connect(m_rules, &QTreeWidget::currentItemChanged, this, &PosSettingsWindow::currentChanged);
    connect(m_rules, &QTreeWidget::itemDoubleClicked, this, act(&PosSettingsSession::edit));
    connect(m_rules, &QTreeWidget::customContextMenuRequested, this, &PosSettingsWindow::showPopup);
    // Shortcuts rather than key events: the list would take Ctrl+A as "select all rows".
    auto *deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), this);
    connect(deleteKey, &QShortcut::activated, this, act(&PosSettingsSession::deleteRule));
    auto *addKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_A), this);
    connect(addKey, &QShortcut::activated, this, act(&PosSettingsSession::add));
    refresh();
}

QPushButton *PosSettingsWindow::button(const QString &caption) const
{
    for (QPushButton *b : m_buttons) {
        if (b->text() == caption)
            return b;
    }
    return nullptr;
}

void PosSettingsWindow::refresh()
{
    m_filling = true;
    m_language->setCurrentIndex(
        m_session.pos().selectedLanguage < m_language->count() ? m_session.pos().selectedLanguage : -1);
    m_rules->clear();
    const QStringList &rules = m_session.rules();
    QList<QTreeWidgetItem *> rows;
    for (qsizetype i = 0; i < rules.size(); ++i) {
        const QStringList parts = rules[i].split(u'\n');
        auto *row = new QTreeWidgetItem(QStringList{parts.value(0), parts.value(1), parts.value(2)});
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, m_session.ticks().value(i) ? Qt::Checked : Qt::Unchecked);
        rows.append(row);
    }
    m_rules->addTopLevelItems(rows);
    if (m_session.selectedRow() >= 0)
        m_rules->setCurrentItem(m_rules->topLevelItem(m_session.selectedRow()));
    m_found->setText(m_session.foundText());
    m_selected->setText(m_session.selectedText());
    m_filling = false;
}

void PosSettingsWindow::itemChanged(QTreeWidgetItem *item, int column)
{
    if (m_filling || column != 0)
        return;
    m_session.setTicked(m_rules->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    m_selected->setText(m_session.selectedText());
}

void PosSettingsWindow::currentChanged()
{
    if (!m_filling)
        m_session.setSelectedRow(m_rules->indexOfTopLevelItem(m_rules->currentItem()));
}

void PosSettingsWindow::runPopupAction(const QString &caption)
{
    using S = PosSettingsSession;
    const struct {
        const char *caption;
        void (S::*action)();
    } actions[] = {{"Add Above", &S::addAbove},
                   {"Add Below", &S::addBelow},
                   {"Edit", &S::edit},
                   {"Clone Below", &S::cloneBelow},
                   {"Select All", &S::selectAll},
                   {"Select None", &S::selectNone},
                   {"Invert Selection", &S::invertSelection},
                   {"Delete Selected", &S::deleteSelected},
                   {"Delete", &S::deleteRule}};
    for (const auto &a : actions) {
        if (caption == QLatin1String(a.caption)) {
            (m_session.*a.action)();
            refresh();
            return;
        }
    }
}

void PosSettingsWindow::showPopup(const QPoint &position)
{
    QMenu menu(this);
    for (const char *item : popupItems) {
        if (!item) {
            menu.addSeparator();
            continue;
        }
        const QString caption = QString::fromLatin1(item);
        menu.addAction(caption, this, [this, caption] { runPopupAction(caption); });
    }
    menu.exec(m_rules->viewport()->mapToGlobal(position));
}

void PosSettingsWindow::Open(QWidget *parent, Workbench &workbench, Ui &ui)
{
    PosSettingsWindow window(workbench, ui, {}, parent);
    window.exec();
}

} // namespace lexaloom
