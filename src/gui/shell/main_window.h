#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <map>
#include <memory>

#include "core/app/commands.h"
#include "core/app/dispatcher.h"
#include "core/app/shell_view.h"
#include "core/app/window_metrics.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QShortcut;
class QTabWidget;
class QTreeView;
class QTreeWidget;

namespace lexaloom {

class PagedListView;
class PlainListModel;
class Ui;
class Workbench;

// The main window: the tab strip with the six document tabs, the toolbar, the
// licence notice, the status bar and the menu bar. Every event goes to the
// CommandDispatcher; the window only shows what the core decides.
class MainWindow final : public QMainWindow, public ShellView {
    Q_OBJECT

public:
    MainWindow(Workbench &workbench, Ui &ui, const QString &posLanguage = QStringLiteral("English"),
               QWidget *parent = nullptr);
    ~MainWindow() override;

    CommandDispatcher &dispatcher() { return m_dispatcher; }

    static QString readyText() { return QStringLiteral("Ready."); }

    // The parts other code wires or tests read.
    QTabWidget *tabs() const { return m_tabs; }
    QLabel *statusField() const { return m_statusField; }
    QProgressBar *progressField() const { return m_progressField; }
    PagedListView *pagedList(DocumentKind kind) const;
    // The plain list of the AutoText tab (nullptr for the other tabs).
    QTreeWidget *plainList(DocumentKind kind) const;
    // The LanguageTool tab's chunk and category lists: views over models that ask the
    // outline for the rows they draw (the wiring gives them their rows).
    QTreeView *chunkList() const { return m_chunkList; }
    PlainListModel *chunkModel() const { return m_chunkModel; }
    QTreeView *categoryList() const { return m_categoryList; }
    PlainListModel *categoryModel() const { return m_categoryModel; }
    QTreeWidget *hyphenationResults() const { return m_hyphenationResults; }
    QLabel *hyphenationCountLabel() const { return m_hyphenationCount; }
    QLineEdit *wordField() const { return m_wordField; }
    QPlainTextEdit *affPane() const { return m_affPane; }
    QPlainTextEdit *hyphenationPane() const { return m_hyphenationPane; }
    QPlainTextEdit *xmlPane(DocumentKind kind) const;
    QAbstractButton *tabButton(DocumentKind kind, TabAction action) const;
    QAbstractButton *toolbarButton(CommandId id) const;
    QAction *menuAction(CommandId id, int index = 0) const;
    QMenu *toolMenu(DocumentKind kind) const { return m_toolMenus[static_cast<size_t>(kind)]; }
    QLabel *counterLabel(DocumentKind kind) const { return tab(kind).counter; }
    QLabel *changedLabel(DocumentKind kind) const { return tab(kind).changed; }
    QLabel *folderLabel(DocumentKind kind) const { return tab(kind).folder; }
    QLabel *fileLabel(DocumentKind kind) const { return tab(kind).file; }
    QLabel *selectedLabel(DocumentKind kind) const { return tab(kind).selected; }
    QLabel *ruleIdLabel(DocumentKind kind) const { return tab(kind).ruleId; }
    QLabel *ruleNameLabel(DocumentKind kind) const { return tab(kind).ruleName; }
    QLabel *licenceLabel() const { return m_licence; }
    QShortcut *shortcut(ShortcutCommand command) const;

    // Shows the Workbench's .aff and hyphenation texts in their panes without
    // counting as an edit.
    void showDocumentTexts();
    // Rebuilds the tabs and the footer after the preferences changed the window
    // size, the row offset or the list font. Keeps the documents, the panes' texts,
    // the hyphenation results and the current tab; the lists lose their focus.
    // Every widget of the tabs is new afterwards: nobody may keep a pointer to one,
    // and what wiring connects to a tab's widgets is connected again on layoutBuilt.
    void rebuildLayout();

    // ShellView.
    void beginCommand() override;
    void applyCommandStates(const CommandStates &states) override;
    void refreshListPage(DocumentKind kind) override;
    qint64 listRowCount(DocumentKind kind) const override;
    bool listHasFocus(DocumentKind kind) const override;
    void moveListFocus(DocumentKind kind, ListKey key) override;
    void refreshFileInfo(DocumentKind kind) override;
    void selectTab(DocumentKind kind) override;
    void setListKeysRegistered(bool registered) override;
    void closeWindow() override;

signals:
    // The tabs' widgets were built anew (rebuildLayout).
    void layoutBuilt();
    // The Escape shortcut: a running long task takes it through the Ui.
    void abortRequested();
    // The current row of the AutoText or LanguageTool list moved (-1: none).
    void plainListRowChanged(DocumentKind kind, int row);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct TabParts {
        QWidget *page = nullptr;
        PagedListView *paged = nullptr;
        QTreeWidget *plain = nullptr;
        QLabel *counter = nullptr;
        QLabel *changed = nullptr;
        QLabel *folder = nullptr;
        QLabel *file = nullptr;
        QLabel *selected = nullptr;
        QLabel *ruleId = nullptr; // AutoText and LanguageTool
        QLabel *ruleName = nullptr;
        std::map<TabAction, QAbstractButton *> buttons;
        // Everything BeginCommand disables on this tab.
        QList<QWidget *> controls;
    };

    TabParts &tab(DocumentKind kind) { return m_tabParts[static_cast<size_t>(kind)]; }
    const TabParts &tab(DocumentKind kind) const { return m_tabParts[static_cast<size_t>(kind)]; }

    void buildBody();
    void buildMenus(const QString &posLanguage);
    void addMenuItems(QMenu *menu, const QList<MenuItemSpec> &items);
    void buildTabs();
    void buildDictionaryTab();
    void buildThesaurusTab();
    void buildHyphenationTab();
    void buildAutocorrectTab();
    void buildReadOnlyTab(DocumentKind kind);
    void buildFooter();
    void buildStatusBar();
    void buildShortcuts();
    void wireOperations();

    PagedListView *addPagedList(DocumentKind kind, int width, const QList<std::pair<QString, int>> &columns);
    QTreeWidget *addPlainList(QWidget *page, const QRect &geometry, const QStringList &captions,
                              const QList<int> &widths, bool checkBoxes);
    // A plain list over a model of its own (`model` receives it).
    QTreeView *addPlainView(QWidget *page, const QRect &geometry, const QStringList &captions,
                            const QList<int> &widths, bool checkBoxes, PlainListModel *&model);
    QPlainTextEdit *addPane(DocumentKind kind, const QRect &geometry, const QString &tooltip, bool readOnly);
    QAbstractButton *addTextButton(DocumentKind kind, TabAction action, const QString &caption, int x, int y);
    QAbstractButton *addImageButton(DocumentKind kind, TabAction action, int x, int y);
    // The row of buttons under a tab's list; returns the y of the file-information line.
    int addListButtons(DocumentKind kind, int x, int y);
    // "Clear", "Go to bottom", "Go to top" ending at `right`.
    void addPaneButtons(DocumentKind kind, int right, int y);
    void addFileInfo(DocumentKind kind, int y, bool extensionIcon, bool readOnlyIcon);
    QLabel *addLabel(QWidget *page, const QString &text, const QRect &geometry);

    bool forwardToPlainList(ShortcutCommand command, QKeyCombination keys);
    void watchFocus(QWidget *old, QWidget *now);
    void hyphenationWordChanged(const QString &text);

    Workbench &m_workbench;
    Ui &m_ui;
    CommandDispatcher m_dispatcher;
    WindowMetrics m_metrics;
    QFont m_listFont;

    QTabWidget *m_tabs = nullptr;
    std::array<TabParts, documentKindCount> m_tabParts;
    std::array<QMenu *, documentKindCount> m_toolMenus{};
    QList<QMenu *> m_menus;
    std::map<std::pair<CommandId, int>, QAction *> m_actions;
    std::map<CommandId, QAbstractButton *> m_toolbar;
    std::map<ShortcutCommand, QShortcut *> m_shortcuts;
    QList<QShortcut *> m_listKeyShortcuts;

    QPlainTextEdit *m_affPane = nullptr;
    QPlainTextEdit *m_hyphenationPane = nullptr;
    std::array<QPlainTextEdit *, documentKindCount> m_xmlPanes{};
    QTreeWidget *m_hyphenationResults = nullptr;
    QTreeView *m_chunkList = nullptr;
    PlainListModel *m_chunkModel = nullptr;
    QTreeView *m_categoryList = nullptr;
    PlainListModel *m_categoryModel = nullptr;
    QLabel *m_hyphenationCount = nullptr;
    QLineEdit *m_wordField = nullptr;
    QLabel *m_licence = nullptr;
    QLabel *m_statusField = nullptr;
    QProgressBar *m_progressField = nullptr;

    // Text set by the program, not typed by the user.
    bool m_showingTexts = false;
    bool m_closeConfirmed = false;
    QPointer<QWidget> m_focusBeforeCommand;
};

} // namespace lexaloom
