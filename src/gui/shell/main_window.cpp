#include "gui/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

#include "core/app/tab_labels.h"
#include "core/app/workbench.h"
#include "core/dictionary/aff_text.h"
#include "core/hyphenation/hyphenation_text.h"
#include "core/languagetool/grammar_rule_set.h"
#include "core/shell/app_identity.h"
#include "core/shell/document_kind.h"
#include "core/shell/list_document.h"
#include "core/shell/manual_url.h"
#include "core/shell/ui.h"
#include "gui/shell/paged_list_view.h"
#include "gui/shell/palette.h"
#include "gui/shell/plain_list_model.h"
#include "gui/shell/startup_gui.h"

namespace lexaloom {

namespace {

constexpr int textButtonWidth = 100;
constexpr int textButtonHeight = 34;
constexpr int imageButtonSize = 44;
constexpr int labelHeight = 18;

// The document image with a red dot: the tab of a changed document.
QIcon changedDocumentIcon()
{
    QPixmap pixmap(QStringLiteral(":/images/document.png"));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::red);
    painter.drawEllipse(
        QRectF(pixmap.width() * 0.5, pixmap.height() * 0.5, pixmap.width() * 0.5, pixmap.height() * 0.5));
    return QIcon(pixmap);
}
constexpr int fieldHeight = 34;
constexpr int gap = 4;
const QColor &toolbarColour = palette::panelGrey;
const QColor &amber = palette::amber;

QString textButtonCaption(TabAction action)
{
    switch (action) {
    case TabAction::Add:
        return QStringLiteral("Add");
    case TabAction::Edit:
    case TabAction::XmlEdit:
        return QStringLiteral("Edit");
    case TabAction::Delete:
        return QStringLiteral("Delete");
    case TabAction::Erase:
        return QStringLiteral("Erase");
    case TabAction::Sort:
        return QStringLiteral("Sort");
    case TabAction::Find:
        return QStringLiteral("Find");
    case TabAction::Goto:
        return QStringLiteral("Goto");
    case TabAction::Hyphenate:
        return QStringLiteral("Hyphenate");
    case TabAction::Update:
        return QStringLiteral("Update");
    case TabAction::XmlCancel:
        return QStringLiteral("Cancel");
    case TabAction::XmlOk:
        return QStringLiteral("OK");
    default:
        return {};
    }
}

// Image and tooltip of the image buttons.
std::pair<QString, QString> imageButtonLook(TabAction action)
{
    switch (action) {
    case TabAction::Undo:
        return {QStringLiteral(":/images/undo.png"), QStringLiteral("Undo")};
    case TabAction::Redo:
        return {QStringLiteral(":/images/redo.png"), QStringLiteral("Redo")};
    case TabAction::ListBottom:
    case TabAction::PaneBottom:
        return {QStringLiteral(":/images/go_bottom.png"), QStringLiteral("Go to bottom")};
    case TabAction::ListTop:
    case TabAction::PaneTop:
        return {QStringLiteral(":/images/go_top.png"), QStringLiteral("Go to top")};
    case TabAction::PaneClear:
        return {QStringLiteral(":/images/clear.png"), QStringLiteral("Clear")};
    default:
        return {};
    }
}

// Lists keep their selection visible when another control has the focus.
void keepSelectionVisible(QWidget *list)
{
    QPalette palette = list->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    list->setPalette(palette);
}

// The Dictionary and Hyphenation lists show the same entries.
QList<std::pair<QString, int>> dictionaryColumns(const WindowMetrics &m)
{
    return {{QStringLiteral("Words"), 160 + m.dx(10)}, {QStringLiteral("Postags/Comments"), 170}};
}

QString licenceAnchor()
{
    return manualAnchors::licence;
}

} // namespace

MainWindow::MainWindow(Workbench &workbench, Ui &ui, const QString &posLanguage, QWidget *parent)
    : QMainWindow(parent)
    , m_workbench(workbench)
    , m_ui(ui)
    , m_dispatcher(workbench, ui, *this)
    , m_metrics(WindowMetrics::fromSettings(workbench.settings))
    , m_listFont(workbench.settings.listFontName, workbench.settings.listFontSize.toInt())
{
    InitResources();
    setWindowTitle(identity::windowTitle());
    setWindowIcon(QIcon(QStringLiteral(":/images/document.png")));

    buildMenus(posLanguage);
    buildStatusBar();
    buildShortcuts();
    wireOperations();
    buildBody();
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::watchFocus);
    m_dispatcher.afterEvent();
}

void MainWindow::buildBody()
{
    buildTabs();
    buildFooter();
    const QSize size(m_metrics.clientWidth(), m_metrics.clientHeight());
    setMinimumSize(size);
    resize(size);
    showDocumentTexts();
    m_tabs->setCurrentIndex(static_cast<int>(m_workbench.currentTab));
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int index) { m_dispatcher.tabSelected(static_cast<DocumentKind>(index)); });
    for (DocumentKind kind : allDocumentKinds) {
        refreshListPage(kind);
        refreshFileInfo(kind);
    }
}

void MainWindow::rebuildLayout()
{
    // What the new layout takes over from the old one.
    std::map<DocumentKind, qint64> scrolls;
    for (DocumentKind kind : {DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Autocorrect})
        scrolls[kind] = pagedList(kind)->scrollPosition();
    const auto takeRows = [](QTreeWidget *list) {
        QList<QTreeWidgetItem *> rows;
        while (list->topLevelItemCount() > 0)
            rows.append(list->takeTopLevelItem(0));
        return rows;
    };
    const QList<QTreeWidgetItem *> results = takeRows(m_hyphenationResults);
    const QList<QTreeWidgetItem *> autoTextRows = takeRows(plainList(DocumentKind::AutoText));
    const QString hyphenationCount = m_hyphenationCount->text();
    const QString word = m_wordField->text();
    const QString autoTextXml = xmlPane(DocumentKind::AutoText)->toPlainText();
    const QString grammarXml = xmlPane(DocumentKind::LanguageTool)->toPlainText();
    std::map<DocumentKind, QStringList> ruleLabels;
    for (DocumentKind kind : {DocumentKind::AutoText, DocumentKind::LanguageTool})
        ruleLabels[kind] = {ruleIdLabel(kind)->text(), ruleNameLabel(kind)->text()};

    PrepareLayoutRebuild(m_workbench);
    m_focusBeforeCommand = nullptr;
    delete takeCentralWidget();
    m_tabParts = {};
    m_xmlPanes = {};
    m_metrics = WindowMetrics::fromSettings(m_workbench.settings);
    m_listFont = QFont(m_workbench.settings.listFontName, m_workbench.settings.listFontSize.toInt());
    buildBody();

    m_hyphenationResults->addTopLevelItems(results);
    plainList(DocumentKind::AutoText)->addTopLevelItems(autoTextRows);
    m_hyphenationCount->setText(hyphenationCount);
    m_wordField->setText(word);
    xmlPane(DocumentKind::AutoText)->setPlainText(autoTextXml);
    xmlPane(DocumentKind::LanguageTool)->setPlainText(grammarXml);
    for (const auto &[kind, texts] : ruleLabels) {
        ruleIdLabel(kind)->setText(texts[0]);
        ruleNameLabel(kind)->setText(texts[1]);
    }
    for (const auto &[kind, scroll] : scrolls)
        pagedList(kind)->setScrollPosition(scroll);
    emit layoutBuilt();
    m_dispatcher.afterEvent();
}

MainWindow::~MainWindow()
{
    disconnect(qApp, &QApplication::focusChanged, this, &MainWindow::watchFocus);
}

// ---- Menus -------------------------------------------------------------------

void MainWindow::buildMenus(const QString &posLanguage)
{
    for (const MenuSpec &menuSpec : MainMenuBar(posLanguage)) {
        QMenu *menu = menuBar()->addMenu(menuSpec.title);
        m_menus.append(menu);
        menu->menuAction()->setData(menuSpec.hasTab ? static_cast<int>(menuSpec.tab) : -1);
        if (menuSpec.hasTab)
            m_toolMenus[static_cast<size_t>(menuSpec.tab)] = menu;
        addMenuItems(menu, menuSpec.items);
    }
}

void MainWindow::addMenuItems(QMenu *menu, const QList<MenuItemSpec> &items)
{
    for (const MenuItemSpec &item : items) {
        if (item.separatorBefore)
            menu->addSeparator();
        if (!item.submenu.isEmpty()) {
            QMenu *submenu = menu->addMenu(item.caption);
            addMenuItems(submenu, item.submenu);
            // The Recent Files items are rewritten at every turn of the loop; a menu that
            // opens before any command ran (at start-up) must not show them blank.
            const bool recentFiles = std::any_of(item.submenu.cbegin(), item.submenu.cend(),
                                                 [](const MenuItemSpec &i) { return i.id == CommandId::RecentFile; });
            if (recentFiles) {
                for (QMenu *shown : {menu, submenu})
                    connect(shown, &QMenu::aboutToShow, this, [this] {
                        if (!m_dispatcher.isBusy())
                            m_dispatcher.afterEvent();
                    });
            }
            continue;
        }
        // The text after "\t" is shown as the shortcut; the keys themselves are the
        // window's shortcuts, so a menu action never competes with them.
        QAction *action = menu->addAction(item.caption);
        m_actions[{item.id, item.index}] = action;
        if (item.kind == CommandKind::AlwaysDisabled)
            action->setEnabled(false);
        const CommandId id = item.id;
        const int index = item.index;
        connect(action, &QAction::triggered, this, [this, id, index] { m_dispatcher.runMenuCommand(id, index); });
    }
}

QAction *MainWindow::menuAction(CommandId id, int index) const
{
    const auto it = m_actions.find({id, index});
    return it == m_actions.end() ? nullptr : it->second;
}

// ---- Tabs --------------------------------------------------------------------

void MainWindow::buildTabs()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    m_tabs = new QTabWidget(central);
    m_tabs->setGeometry(10, 2, 1004 + m_metrics.dx(100), 448 + m_metrics.dy(100) + m_metrics.rowPixelsPlus);
    const QIcon documentIcon(QStringLiteral(":/images/document.png"));
    for (DocumentKind kind : allDocumentKinds) {
        TabParts &parts = tab(kind);
        parts.page = new QWidget;
        m_tabs->addTab(parts.page, documentIcon, TabCaption(kind));
    }
    buildDictionaryTab();
    buildThesaurusTab();
    buildHyphenationTab();
    buildAutocorrectTab();
    buildReadOnlyTab(DocumentKind::AutoText);
    buildReadOnlyTab(DocumentKind::LanguageTool);
}

PagedListView *MainWindow::addPagedList(DocumentKind kind, int width, const QList<std::pair<QString, int>> &columns)
{
    QList<PagedListView::Column> cols;
    for (const auto &[caption, w] : columns)
        cols.append({caption, w});
    const Workbench::PagedListSource source = m_workbench.pagedListSource(kind);
    PagedListStyle style = PagedListStyle::Dictionary;
    if (KindFacts(kind).layout == EntryLayout::HeadAndMeanings)
        style = PagedListStyle::Plain;
    else if (KindFacts(kind).layout == EntryLayout::IncorrectAndCorrect)
        style = PagedListStyle::Autocorrect;
    TabParts &parts = tab(kind);
    auto *list = new PagedListView(*source.entries, *source.selectedIndex, style, cols,
                                   m_workbench.settings.listPageRows, parts.page);
    list->bindScrollPosition(source.scrollPosition);
    list->setGeometry(4, 6, width + PagedListView::scrollBarWidth, 315 + m_metrics.dy(100) + m_metrics.rowPixelsPlus);
    list->tree()->setFont(m_listFont);
    keepSelectionVisible(list->tree());
    parts.paged = list;
    parts.controls << list->tree() << list->scrollBar();
    connect(list, &PagedListView::focusMoved, this, [this, kind] { m_dispatcher.listEvent(kind); });
    connect(list, &PagedListView::marksChanged, this, [this, kind] {
        // The Dictionary and Hyphenation lists show the same marks.
        if (kind == DocumentKind::Dictionary)
            refreshListPage(DocumentKind::Hyphenation);
        else if (kind == DocumentKind::Hyphenation)
            refreshListPage(DocumentKind::Dictionary);
        m_dispatcher.listEvent(kind);
    });
    connect(list, &PagedListView::entryActivated, this, [this, kind] {
        if (kind == DocumentKind::Hyphenation) {
            const qint64 i = m_workbench.hyphenation.selectedIndex;
            if (i >= 0 && i < m_workbench.dictionary.entries.size())
                m_wordField->setText(m_workbench.dictionary.entries.at(i).section(QLatin1Char('\n'), 0, 0));
        } else {
            m_dispatcher.runTabAction(kind, TabAction::Edit);
        }
    });
    return list;
}

QTreeWidget *MainWindow::addPlainList(QWidget *page, const QRect &geometry, const QStringList &captions,
                                      const QList<int> &widths, bool checkBoxes)
{
    auto *list = new QTreeWidget(page);
    list->setGeometry(geometry);
    list->setColumnCount(static_cast<int>(captions.size()));
    list->setHeaderLabels(captions);
    list->header()->setStretchLastSection(false);
    for (int i = 0; i < widths.size(); ++i)
        list->setColumnWidth(i, widths[i]);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setFont(m_listFont);
    keepSelectionVisible(list);
    Q_UNUSED(checkBoxes); // StylePlainListRow gives the rows of such a list their check boxes
    return list;
}

QTreeView *MainWindow::addPlainView(QWidget *page, const QRect &geometry, const QStringList &captions,
                                    const QList<int> &widths, bool checkBoxes, PlainListModel *&model)
{
    auto *view = new QTreeView(page);
    model = new PlainListModel(captions, checkBoxes, view);
    view->setModel(model);
    view->setGeometry(geometry);
    view->header()->setStretchLastSection(false);
    for (int i = 0; i < widths.size(); ++i)
        view->setColumnWidth(i, widths[i]);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setFont(m_listFont);
    keepSelectionVisible(view);
    return view;
}

QPlainTextEdit *MainWindow::addPane(DocumentKind kind, const QRect &geometry, const QString &tooltip, bool readOnly)
{
    auto *pane = new QPlainTextEdit(tab(kind).page);
    pane->setGeometry(geometry);
    pane->setToolTip(tooltip);
    pane->setReadOnly(readOnly);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane->setFont(m_listFont);
    tab(kind).controls << pane;
    return pane;
}

QLabel *MainWindow::addLabel(QWidget *page, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, page);
    label->setGeometry(geometry);
    return label;
}

QAbstractButton *MainWindow::addTextButton(DocumentKind kind, TabAction action, const QString &caption, int x, int y)
{
    auto *button = new QPushButton(caption, tab(kind).page);
    button->setGeometry(x, y, textButtonWidth, textButtonHeight);
    tab(kind).buttons[action] = button;
    tab(kind).controls << button;
    connect(button, &QPushButton::clicked, this, [this, kind, action] { m_dispatcher.runTabAction(kind, action); });
    return button;
}

QAbstractButton *MainWindow::addImageButton(DocumentKind kind, TabAction action, int x, int y)
{
    const auto [image, tooltip] = imageButtonLook(action);
    auto *button = new QToolButton(tab(kind).page);
    button->setGeometry(x, y, imageButtonSize, imageButtonSize);
    button->setIcon(QIcon(image));
    button->setIconSize(QSize(32, 32));
    button->setToolTip(tooltip);
    tab(kind).buttons[action] = button;
    tab(kind).controls << button;
    connect(button, &QToolButton::clicked, this, [this, kind, action] { m_dispatcher.runTabAction(kind, action); });
    return button;
}

int MainWindow::addListButtons(DocumentKind kind, int x, int y)
{
    const int textY = y + (imageButtonSize - textButtonHeight) / 2;
    if (kind == DocumentKind::Hyphenation) {
        addLabel(tab(kind).page, QStringLiteral("Word:"), QRect(x, textY + 8, 40, labelHeight));
        m_wordField = new QLineEdit(tab(kind).page);
        m_wordField->setGeometry(x + 42, textY, 165, fieldHeight);
        m_wordField->setFont(m_listFont);
        tab(kind).controls << m_wordField;
        connect(m_wordField, &QLineEdit::textChanged, this, &MainWindow::hyphenationWordChanged);
        x += 42 + 165 + gap + 2;
        for (TabAction action : {TabAction::Hyphenate, TabAction::Find, TabAction::Goto}) {
            addTextButton(kind, action, textButtonCaption(action), x, textY);
            x += textButtonWidth + 2;
        }
    } else {
        for (TabAction action : {TabAction::Add, TabAction::Edit, TabAction::Delete, TabAction::Erase, TabAction::Sort,
                                 TabAction::Find, TabAction::Goto}) {
            addTextButton(kind, action, textButtonCaption(action), x, textY);
            x += textButtonWidth + 2;
        }
    }
    x += gap;
    for (TabAction action : {TabAction::Undo, TabAction::Redo, TabAction::ListBottom, TabAction::ListTop}) {
        addImageButton(kind, action, x, y);
        x += imageButtonSize + gap;
    }
    tab(kind).page->setProperty("listButtonsEnd", x);
    return y + imageButtonSize + gap;
}

void MainWindow::addPaneButtons(DocumentKind kind, int right, int y)
{
    int x = right - 3 * imageButtonSize - 2 * gap;
    for (TabAction action : {TabAction::PaneClear, TabAction::PaneBottom, TabAction::PaneTop}) {
        addImageButton(kind, action, x, y);
        x += imageButtonSize + gap;
    }
}

void MainWindow::addFileInfo(DocumentKind kind, int y, bool extensionIcon, bool readOnlyIcon)
{
    TabParts &parts = tab(kind);
    QWidget *page = parts.page;
    // Wide enough for the largest counts, so that the closing "]" is never cut off.
    parts.counter = addLabel(page, QString(), QRect(4, y, 180, labelHeight));
    const int counterWidth = std::max(
        180, parts.counter->fontMetrics().horizontalAdvance(QStringLiteral("Synonym: [888,888,888/888,888,888]")) + 4);
    parts.counter->resize(counterWidth, labelHeight);
    parts.changed = addLabel(page, QString(), QRect(4 + counterWidth + 2, y, 14, labelHeight));
    parts.changed->setStyleSheet(palette::textColourStyle(palette::red) + QStringLiteral(" font-weight: bold;"));
    int x = 4 + counterWidth + 2 + 18;
    const auto icon = [&](const QString &image, const QString &tooltip) {
        QLabel *label = addLabel(page, QString(), QRect(x, y + 1, 16, 16));
        label->setPixmap(QPixmap(image));
        label->setToolTip(tooltip);
        x += 20;
    };
    if (extensionIcon)
        icon(QStringLiteral(":/images/extension.png"), QString());
    if (readOnlyIcon)
        icon(QStringLiteral(":/images/read_only.png"), QStringLiteral("Read only"));
    icon(QStringLiteral(":/images/folder.png"), QString());
    parts.folder = addLabel(page, QString(), QRect(x, y, 440, labelHeight));
    x += 444;
    icon(QStringLiteral(":/images/file.png"), QString());
    parts.file = addLabel(page, QString(), QRect(x, y, 300, labelHeight));
    parts.selected = addLabel(page, SelectedLabelText(0, 0), QRect(4, y + labelHeight + 2, 160, labelHeight));
    if (parts.paged && kind != DocumentKind::Hyphenation)
        parts.paged->setSelectedLabel(parts.selected);
}

void MainWindow::buildDictionaryTab()
{
    const DocumentKind kind = DocumentKind::Dictionary;
    const WindowMetrics &m = m_metrics;
    const int listWidth = 435 + m.dx(10);
    const int listHeight = 315 + m.dy(100) + m.rowPixelsPlus;
    addPagedList(kind, listWidth, dictionaryColumns(m));
    const int paneX = 4 + listWidth + PagedListView::scrollBarWidth + 6;
    const int paneWidth = 518 + m.dx(100) - m.dx(10);
    m_affPane = addPane(kind, QRect(paneX, 6, paneWidth, listHeight), QStringLiteral("The .aff file"), false);
    connect(m_affPane, &QPlainTextEdit::textChanged, this, [this] {
        if (m_showingTexts)
            return;
        SetAffText(m_workbench.dictionary, m_affPane->toPlainText());
        refreshFileInfo(DocumentKind::Dictionary);
    });
    const int buttonsY = 6 + listHeight + 6;
    const int infoY = addListButtons(kind, 4, buttonsY);
    // On narrow windows the pane's buttons drop to the information line's row.
    const int paneButtonsX = paneX + paneWidth - 3 * imageButtonSize - 2 * gap;
    const bool crowded = paneButtonsX < tab(kind).page->property("listButtonsEnd").toInt() + gap;
    addPaneButtons(kind, paneX + paneWidth, crowded ? infoY : buttonsY);
    addFileInfo(kind, infoY, true, false);
}

void MainWindow::buildThesaurusTab()
{
    const DocumentKind kind = DocumentKind::Thesaurus;
    const WindowMetrics &m = m_metrics;
    QList<std::pair<QString, int>> columns{{QStringLiteral("Synonyms"), 160 + m.dx(5)}};
    for (int n = 1; n <= 100; ++n)
        columns.append({QStringLiteral("Meaning ") + QString::number(n), 186 + m.dx(10)});
    addPagedList(kind, 960 + m.dx(100), columns);
    const int infoY = addListButtons(kind, 4, 6 + 315 + m.dy(100) + m.rowPixelsPlus + 6);
    addFileInfo(kind, infoY, true, false);
}

void MainWindow::buildHyphenationTab()
{
    const DocumentKind kind = DocumentKind::Hyphenation;
    const WindowMetrics &m = m_metrics;
    QWidget *page = tab(kind).page;
    const int listWidth = 435 + m.dx(10);
    const int listHeight = 315 + m.dy(100) + m.rowPixelsPlus;
    addPagedList(kind, listWidth, dictionaryColumns(m));
    const int paneX = 4 + listWidth + PagedListView::scrollBarWidth + 6;
    const int paneWidth = 518 + m.dx(100) - m.dx(10);
    const int paneHeight = 144 + m.dy(50) + m.rowPixelsPlus;
    m_hyphenationPane = addPane(kind, QRect(paneX, 6, paneWidth, paneHeight), QStringLiteral("The .dic file"), false);
    connect(m_hyphenationPane, &QPlainTextEdit::textChanged, this, [this] {
        if (m_showingTexts)
            return;
        SetHyphenationText(m_workbench.hyphenation, m_hyphenationPane->toPlainText());
        m_dispatcher.refreshCommandStates();
        refreshFileInfo(DocumentKind::Hyphenation);
    });
    int y = 6 + paneHeight + gap;
    addPaneButtons(kind, paneX + paneWidth, y);
    y += imageButtonSize + gap;
    const int resultsHeight = 78 + m.dy(50);
    m_hyphenationResults = addPlainList(page, QRect(paneX, y, paneWidth, resultsHeight),
                                        {QStringLiteral("Word"), QStringLiteral("Code"), QStringLiteral("Rule")},
                                        {165 + m.dx(30), 68, 385 + m.dx(15)}, false);
    m_hyphenationResults->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tab(kind).controls << m_hyphenationResults;
    y += resultsHeight + gap;
    addTextButton(kind, TabAction::Update, textButtonCaption(TabAction::Update), paneX, y);
    m_hyphenationCount =
        addLabel(page, HyphenationCountText(0), QRect(paneX + textButtonWidth + 8, y + 8, 200, labelHeight));
    const int infoY = addListButtons(kind, 4, 6 + listHeight + 6);
    addFileInfo(kind, infoY, true, false);
}

void MainWindow::buildAutocorrectTab()
{
    const DocumentKind kind = DocumentKind::Autocorrect;
    const WindowMetrics &m = m_metrics;
    addPagedList(kind, 960 + m.dx(100), {{QStringLiteral("Incorrect"), 210}, {QStringLiteral("Correct"), 570}});
    const int infoY = addListButtons(kind, 4, 6 + 315 + m.dy(100) + m.rowPixelsPlus + 6);
    addFileInfo(kind, infoY, false, false);
}

void MainWindow::buildReadOnlyTab(DocumentKind kind)
{
    const WindowMetrics &m = m_metrics;
    TabParts &parts = tab(kind);
    const int listHeight = 315 + m.dy(100) + m.rowPixelsPlus;
    const int paneHeight = 265 + m.dy(100) + m.rowPixelsPlus;
    int listWidth = 0;
    int paneWidth = 0;
    int right = 0; // right edge of the buttons under the pane
    const QString line = PagedListView::lineColumnCaption();
    if (kind == DocumentKind::AutoText) {
        listWidth = 435 + m.dx(10);
        parts.plain = addPlainList(
            parts.page, QRect(4, 6, listWidth + PagedListView::scrollBarWidth, listHeight),
            {line, QStringLiteral("abbreviated-name"), QStringLiteral("package-name"), QStringLiteral("Name")},
            {85, 115, 115, 170 + m.dx(10)}, true);
        paneWidth = 518 + m.dx(100) - m.dx(10);
        parts.controls << parts.plain;
        connect(parts.plain, &QTreeWidget::currentItemChanged, this, [this, kind, list = parts.plain] {
            emit plainListRowChanged(kind, list->indexOfTopLevelItem(list->currentItem()));
        });
    } else {
        listWidth = 335 + m.dx(10);
        const int wide = 170 + m.dx(10);
        const int narrow = 90 + m.dx(10);
        // A grammar.xml may hold a million chunks: the list asks for the rows it draws.
        m_chunkList = addPlainView(parts.page, QRect(4, 6, listWidth + PagedListView::scrollBarWidth, listHeight),
                                   {line, QStringLiteral("Chunk Type"), QStringLiteral("ID"), QStringLiteral("Name"),
                                    QStringLiteral("Type"), QStringLiteral("Tags"), QStringLiteral("Default")},
                                   {85, 115, wide, wide, narrow, narrow, narrow}, true, m_chunkModel);
        paneWidth = 353 + m.dx(100) - 2 * m.dx(10);
        parts.controls << m_chunkList;
    }
    const int paneX = 4 + listWidth + PagedListView::scrollBarWidth + 6;
    m_xmlPanes[static_cast<size_t>(kind)] =
        addPane(kind, QRect(paneX, 6, paneWidth, paneHeight), QStringLiteral("The .xml code"), true);
    right = paneX + paneWidth;
    if (kind == DocumentKind::LanguageTool) {
        const int categoryWidth = 255 + m.dx(10);
        m_categoryList = addPlainView(parts.page, QRect(right + 6, 6, categoryWidth, paneHeight),
                                      {line, grammarTexts::categoryColumn}, {85, categoryWidth - 85}, false,
                                      m_categoryModel);
        parts.controls << m_categoryList;
        right += 6 + categoryWidth;
    }
    const int y = 6 + paneHeight + gap;
    parts.ruleId = addLabel(parts.page, RuleIdText(QString()), QRect(paneX, y + 2, 240, labelHeight));
    parts.ruleName =
        addLabel(parts.page, RuleNameText(QString()), QRect(paneX, y + 2 + labelHeight + 2, 240, labelHeight));
    int x = right - 3 * (textButtonWidth + 2) - 3 * imageButtonSize - 2 * gap - gap;
    const int textY = y + (imageButtonSize - textButtonHeight) / 2;
    for (TabAction action : {TabAction::XmlCancel, TabAction::XmlOk, TabAction::XmlEdit}) {
        addTextButton(kind, action, textButtonCaption(action), x, textY);
        x += textButtonWidth + 2;
    }
    addPaneButtons(kind, right, y);
    const int infoY = addListButtons(kind, 4, 6 + listHeight + 6);
    addFileInfo(kind, infoY, kind == DocumentKind::AutoText, true);
}

// ---- Footer, status bar, shortcuts --------------------------------------------

void MainWindow::buildFooter()
{
    QWidget *central = centralWidget();
    const int top = m_tabs->geometry().bottom() + 1 + gap;
    auto *panel = new QWidget(central);
    panel->setGeometry(10, top, 3 * imageButtonSize + 4 * 10, imageButtonSize + 10);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, toolbarColour);
    panel->setPalette(palette);
    const struct {
        CommandId id;
        const char *image;
        const char *tooltip;
    } buttons[] = {
        {CommandId::Open, ":/images/open.png", "Open..."},
        {CommandId::Save, ":/images/save.png", "Save"},
        {CommandId::SaveAs, ":/images/save_as.png", "Save as..."},
    };
    int x = 10;
    for (const auto &b : buttons) {
        auto *button = new QToolButton(panel);
        button->setGeometry(x, 5, imageButtonSize, imageButtonSize);
        button->setIcon(QIcon(QString::fromLatin1(b.image)));
        button->setIconSize(QSize(32, 32));
        button->setToolTip(QString::fromLatin1(b.tooltip));
        m_toolbar[b.id] = button;
        const CommandId id = b.id;
        connect(button, &QToolButton::clicked, this, [this, id] { m_dispatcher.runMenuCommand(id); });
        x += imageButtonSize + 10;
    }

    m_licence = new QLabel(central);
    m_licence->setGeometry(10, panel->geometry().bottom() + 1 + gap, 700, labelHeight + 2);
    m_licence->setTextFormat(Qt::RichText);
    m_licence->setText(QStringLiteral("Lexaloom is free software, released under the "
                                      "<a href=\"%1\" style=\"color:#0000ff;\">Apache License V2.0</a>")
                           .arg(licenceAnchor()));
    m_licence->setToolTip(QStringLiteral("View Licence"));
    m_licence->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(m_licence, &QLabel::linkActivated, this,
            [this](const QString &anchor) { m_ui.openUrl(ManualUrl(m_workbench.programFolder(), anchor)); });
}

void MainWindow::buildStatusBar()
{
    m_statusField = new QLabel(readyText());
    m_statusField->setFixedWidth(525);
    m_progressField = new QProgressBar;
    m_progressField->setRange(0, 0);
    m_progressField->setValue(0);
    m_progressField->setTextVisible(false);
    // An empty range would animate as "busy"; the idle bar is an empty bar.
    m_progressField->setRange(0, 1);
    statusBar()->addWidget(m_statusField);
    statusBar()->addWidget(m_progressField, 1);
}

void MainWindow::buildShortcuts()
{
    using S = ShortcutCommand;
    const auto add = [this](S command, const QKeySequence &keys, bool listKey) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(true);
        if (!m_shortcuts.count(command))
            m_shortcuts[command] = shortcut;
        if (listKey)
            m_listKeyShortcuts.append(shortcut);
        const QKeyCombination combination = keys[0];
        connect(shortcut, &QShortcut::activated, this, [this, command, combination] {
            // Escape only means something to a running task; an idle press must not
            // linger and abort the next one.
            if (command == S::Abort && m_dispatcher.isBusy())
                emit abortRequested();
            if (forwardToPlainList(command, combination))
                return;
            m_dispatcher.runShortcut(command);
        });
    };
    add(S::Abort, QKeySequence(Qt::Key_Escape), false);
    add(S::Find, QKeySequence(Qt::CTRL | Qt::Key_F), false);
    add(S::Open, QKeySequence(Qt::CTRL | Qt::Key_O), false);
    add(S::Save, QKeySequence(Qt::CTRL | Qt::Key_S), false);
    add(S::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), false);
    add(S::Exit, QKeySequence(Qt::CTRL | Qt::Key_Q), false);
    add(S::NextTab, QKeySequence(Qt::CTRL | Qt::Key_Tab), false);
    // Shift+Tab arrives as Backtab.
    add(S::PreviousTab, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), false);
    add(S::PreviousTab, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), false);
    add(S::Goto, QKeySequence(Qt::CTRL | Qt::Key_G), false);
    add(S::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z), false);
    add(S::Redo, QKeySequence(Qt::CTRL | Qt::Key_Y), false);
    add(S::Help, QKeySequence(Qt::Key_F1), false);

    add(S::Delete, QKeySequence(Qt::Key_Delete), true);
    add(S::Return, QKeySequence(Qt::Key_Return), true);
    add(S::Return, QKeySequence(Qt::Key_Enter), true);
    add(S::Up, QKeySequence(Qt::Key_Up), true);
    add(S::Down, QKeySequence(Qt::Key_Down), true);
    add(S::PageUp, QKeySequence(Qt::Key_PageUp), true);
    add(S::PageDown, QKeySequence(Qt::Key_PageDown), true);
    add(S::Home, QKeySequence(Qt::Key_Home), true);
    add(S::End, QKeySequence(Qt::Key_End), true);
    add(S::Add, QKeySequence(Qt::CTRL | Qt::Key_A), true);
    setListKeysRegistered(m_dispatcher.listKeys().isRegistered());
}

bool MainWindow::forwardToPlainList(ShortcutCommand command, QKeyCombination keys)
{
    // The arrows, Page Up/Down, Home and End stay the plain lists' own: the window
    // shortcuts would otherwise take them from the AutoText, LanguageTool and
    // hyphenation result lists.
    using S = ShortcutCommand;
    if (command != S::Up && command != S::Down && command != S::PageUp && command != S::PageDown &&
        command != S::Home && command != S::End)
        return false;
    auto *list = qobject_cast<QTreeView *>(QApplication::focusWidget());
    if (!list)
        return false;
    for (const TabParts &parts : m_tabParts) {
        if (parts.paged && parts.paged->tree() == list)
            return false;
    }
    // Delivery looks for shortcuts again: step aside while the list takes the key.
    setListKeysRegistered(false);
    QKeyEvent press(QEvent::KeyPress, keys.key(), keys.keyboardModifiers());
    QCoreApplication::sendEvent(list, &press);
    setListKeysRegistered(m_dispatcher.listKeys().isRegistered());
    return true;
}

QShortcut *MainWindow::shortcut(ShortcutCommand command) const
{
    const auto it = m_shortcuts.find(command);
    return it == m_shortcuts.end() ? nullptr : it->second;
}

void MainWindow::wireOperations()
{
    m_dispatcher.setOperation(CommandId::HtmlHelp,
                              [this](int) { m_ui.openUrl(ManualUrl(m_workbench.programFolder())); });
    m_dispatcher.setOperation(CommandId::AboutToolkit, [this](int) { QMessageBox::aboutQt(this); });
    // "Go to bottom" and "Go to top" under the paged lists move as End and Home do.
    for (DocumentKind kind :
         {DocumentKind::Dictionary, DocumentKind::Thesaurus, DocumentKind::Hyphenation, DocumentKind::Autocorrect}) {
        m_dispatcher.setTabOperation(kind, TabAction::ListBottom, [this, kind] { moveListFocus(kind, ListKey::End); });
        m_dispatcher.setTabOperation(kind, TabAction::ListTop, [this, kind] { moveListFocus(kind, ListKey::Home); });
    }
}

// ---- Accessors ----------------------------------------------------------------

PagedListView *MainWindow::pagedList(DocumentKind kind) const
{
    return tab(kind).paged;
}

QTreeWidget *MainWindow::plainList(DocumentKind kind) const
{
    return tab(kind).plain;
}

QPlainTextEdit *MainWindow::xmlPane(DocumentKind kind) const
{
    return m_xmlPanes[static_cast<size_t>(kind)];
}

QAbstractButton *MainWindow::tabButton(DocumentKind kind, TabAction action) const
{
    const auto &buttons = tab(kind).buttons;
    const auto it = buttons.find(action);
    return it == buttons.end() ? nullptr : it->second;
}

QAbstractButton *MainWindow::toolbarButton(CommandId id) const
{
    const auto it = m_toolbar.find(id);
    return it == m_toolbar.end() ? nullptr : it->second;
}

void MainWindow::showDocumentTexts()
{
    m_showingTexts = true;
    if (m_affPane->toPlainText() != m_workbench.dictionary.affText)
        m_affPane->setPlainText(m_workbench.dictionary.affText);
    if (m_hyphenationPane->toPlainText() != m_workbench.hyphenation.text)
        m_hyphenationPane->setPlainText(m_workbench.hyphenation.text);
    m_showingTexts = false;
}

// ---- ShellView ------------------------------------------------------------------

void MainWindow::beginCommand()
{
    m_focusBeforeCommand = QApplication::focusWidget();
    for (QMenu *menu : m_menus)
        menu->menuAction()->setEnabled(false);
    m_tabs->tabBar()->setEnabled(false);
    for (const auto &[id, button] : m_toolbar)
        button->setEnabled(false);
    for (TabParts &parts : m_tabParts) {
        for (QWidget *w : parts.controls)
            w->setEnabled(false);
    }
}

void MainWindow::applyCommandStates(const CommandStates &states)
{
    for (QMenu *menu : m_menus) {
        const int tabOfMenu = menu->menuAction()->data().toInt();
        menu->menuAction()->setEnabled(tabOfMenu < 0 || states.toolMenuEnabled[static_cast<size_t>(tabOfMenu)]);
    }
    for (CommandId id : {CommandId::Save, CommandId::SaveAs}) {
        menuAction(id)->setEnabled(states.saveEnabled);
        m_toolbar[id]->setEnabled(states.saveEnabled);
    }
    m_toolbar[CommandId::Open]->setEnabled(true);
    m_tabs->tabBar()->setEnabled(true);

    for (DocumentKind kind : allDocumentKinds) {
        TabParts &parts = tab(kind);
        for (QWidget *w : parts.controls)
            w->setEnabled(true);
        for (const auto &[action, button] : parts.buttons)
            button->setEnabled(states.isButtonEnabled(kind, action));
    }
    // The page length follows the preference.
    for (TabParts &parts : m_tabParts) {
        if (parts.paged && parts.paged->pageRows() != m_workbench.settings.listPageRows)
            parts.paged->setPageRows(m_workbench.settings.listPageRows);
    }
    // Disabling moved the focus away; give it back to where the user left it.
    if (m_focusBeforeCommand && m_focusBeforeCommand->isEnabled() && m_focusBeforeCommand->isVisible())
        m_focusBeforeCommand->setFocus();
    m_focusBeforeCommand = nullptr;
}

void MainWindow::refreshListPage(DocumentKind kind)
{
    if (PagedListView *list = pagedList(kind))
        list->refreshListPage();
}

qint64 MainWindow::listRowCount(DocumentKind kind) const
{
    const PagedListView *list = pagedList(kind);
    return list ? list->rowCount() : 0;
}

bool MainWindow::listHasFocus(DocumentKind kind) const
{
    const PagedListView *list = pagedList(kind);
    return list && list->listHasFocus();
}

void MainWindow::moveListFocus(DocumentKind kind, ListKey key)
{
    if (PagedListView *list = pagedList(kind))
        list->handleListKey(key);
}

void MainWindow::refreshFileInfo(DocumentKind kind)
{
    const FileInfoTexts texts = TabFileInfo(m_workbench, kind);
    TabParts &parts = tab(kind);
    const auto set = [](QLabel *label, const QString &text) {
        if (label->text() != text)
            label->setText(text);
    };
    set(parts.counter, texts.counter);
    // A counter wider than its label pushes the marker along, to stay on its right.
    const int counterWidth = parts.counter->fontMetrics().horizontalAdvance(texts.counter) + 4;
    if (counterWidth > parts.counter->width()) {
        parts.counter->resize(counterWidth, parts.counter->height());
        parts.changed->move(parts.counter->geometry().right() + 3, parts.changed->y());
    }
    set(parts.changed, texts.changed);
    // The Dictionary tab's icon follows its changed marker.
    if (kind == DocumentKind::Dictionary) {
        const bool changed = !texts.changed.isEmpty();
        const int index = m_tabs->indexOf(parts.page);
        if (m_tabs->tabBar()->tabData(index).toBool() != changed) {
            m_tabs->setTabIcon(index, changed ? changedDocumentIcon() : QIcon(QStringLiteral(":/images/document.png")));
            m_tabs->tabBar()->setTabData(index, changed);
        }
    }
    set(parts.folder, texts.folder);
    set(parts.file, texts.file);
    set(parts.selected, texts.selected);
}

void MainWindow::selectTab(DocumentKind kind)
{
    m_tabs->setCurrentIndex(static_cast<int>(kind));
}

void MainWindow::setListKeysRegistered(bool registered)
{
    for (QShortcut *shortcut : m_listKeyShortcuts)
        shortcut->setEnabled(registered);
}

void MainWindow::closeWindow()
{
    m_closeConfirmed = true;
    close();
}

// ---- Events ---------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeConfirmed || m_dispatcher.confirmClose()) {
        m_closeConfirmed = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // WidenLastColumn for the six tab lists.
    const int minimum = width() + 40;
    for (TabParts &parts : m_tabParts) {
        if (parts.paged)
            parts.paged->widenLastColumn(minimum);
        if (parts.plain) {
            const int last = parts.plain->columnCount() - 1;
            if (parts.plain->columnWidth(last) < minimum)
                parts.plain->setColumnWidth(last, minimum);
        }
    }
    if (m_chunkList) {
        const int last = m_chunkList->header()->count() - 1;
        if (m_chunkList->columnWidth(last) < minimum)
            m_chunkList->setColumnWidth(last, minimum);
    }
}

void MainWindow::watchFocus(QWidget *, QWidget *now)
{
    if (!now || now->window() != this)
        return;
    FocusRole role = FocusRole::Other;
    if (now == m_affPane)
        role = FocusRole::AffPane;
    else if (now == m_hyphenationPane)
        role = FocusRole::HyphenationPane;
    else if (now == m_hyphenationResults)
        role = FocusRole::HyphenationResults;
    else if (now == m_wordField)
        role = FocusRole::HyphenationWordField;
    m_dispatcher.controlEvent(role);
}

void MainWindow::hyphenationWordChanged(const QString &text)
{
    QPalette palette = m_wordField->palette();
    palette.setColor(QPalette::Text, IsCommentEntry(text) ? amber : QColor(Qt::black));
    m_wordField->setPalette(palette);
}

} // namespace lexaloom
