#include "main/workspace/ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QStyleFactory>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/prompter.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/program_start.h"
#include "common/qt/screen_twips.h"
#include "main/analysis/ui/grade_comparison_dialog.h"
#include "main/document/data_file.h"
#include "main/document/document_life.h"
#include "main/document/new_table.h"
#include "main/document/new_table_wizard.h"
#include "main/document/ui/class_info_dialog.h"
#include "main/document/ui/table_copier.h"
#include "main/document/ui/table_font_setting.h"
#include "main/document/ui/table_window.h"
#include "main/exchange/ui/dbf_converter_dialog.h"
#include "main/workbook/ui/sheet_import_dialog.h"
#include "main/formula/sort_rows.h"
#include "main/formula/ui/find_window.h"
#include "main/formula/ui/formula_help_dialog.h"
#include "main/formula/ui/sort_dialog.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/ui/about_dialog.h"
#include "main/workspace/ui/school_editor_dialog.h"
#include "main/workspace/ui/toolbar_pictures.h"
#include "main/workspace/ui/tree_pictures.h"
#include "main/workspace/window_arrangement.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr int kKeyRole = Qt::UserRole;
constexpr std::string_view kHelpMessage =
    "本软件目前还处于测试阶段。不提供帮助文档。帮助文档将随正式版一同发布。";

// The toolbar, position by position: tool tip, picture, whether it needs a table, two-state.
struct ToolbarEntry {
    int position;
    const char* tip;
    int picture;
};
const ToolbarEntry kButtons[] = {
    {2, "新建/编辑学校关系树", 1},
    {3, "打开", 2},
    {4, "保存", 3},
    {6, "撤消", 16},
    {8, "剪切", 5},
    {9, "复制", 4},
    {10, "粘贴", 6},
    {11, "查找", 8},
    {13, "打印", 7},
    {15, "方向键控制", 14},
    {16, "横向输入", 12},
    {17, "纵向输入", 13},
    {19, "升序排列", 10},
    {20, "降序排列", 11},
    {22, "成绩表属性", 9},
    {24, "帮助", 15},
};

// The buttons that work on the active table; they follow the table windows' activation.
const int kTableButtons[] = {
    MainWindow::kSave,           MainWindow::kCut,   MainWindow::kCopy,          MainWindow::kPaste,
    MainWindow::kFind,           MainWindow::kPrint, MainWindow::kSortAscending, MainWindow::kSortDescending,
    MainWindow::kTableProperties};

// A menu entry's text shows "&" as it is.
QString menuText(const std::string& name) {
    return qs(name).replace('&', QStringLiteral("&&"));
}

}  // namespace

MainWindow::MainWindow(Prompter& prompter, DialogRunner& dialogs, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), dialogs_(dialogs) {
    setObjectName("MDIForm1");
    setWindowTitle(QStringLiteral("KVL'S Scorvane"));
    designerFolder_ = QCoreApplication::applicationDirPath();

    buildTreePanel();
    buildPopup();
    buildToolbar();
    buildStatusBar();
    buildMenus();
    // The new-table wizard's data format and field steps, each on the new table.
    wizardDialogs_.dataFormat = [](TableWindow& table) { table.setDataFormat(); };
    wizardDialogs_.fieldManager = [](TableWindow& table) { table.runFieldManagerForNewTable(); };
    showTableState(nullptr);
    updateMenuBar();
    resize(1000, 700);
}

MainWindow::~MainWindow() {
    // The table windows go before the frame they report to.
    disconnect(area_, nullptr, this, nullptr);
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (QWidget* table = sub->widget()) {
            table->disconnect(this);
        }
        delete sub;
    }
    while (busyDepth_ > 0) {
        setBusy(false);
    }
}

// ---- building the frame

void MainWindow::buildTreePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("Picture1");
    hint_ = new QLabel(QStringLiteral("   右键树形列表项目，可编辑树形目录/新建,打开表格。"), panel);
    hint_->setObjectName("Label1");
    hint_->setWordWrap(true);
    tree_ = new QTreeWidget(panel);
    tree_->setObjectName("TreeView1");
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setIconSize(QSize(16, 16));
    tree_->setIndentation(19);
    // The classic style draws the tree's lines and its plus and minus buttons.
    if (QStyle* lines = QStyleFactory::create(QStringLiteral("Windows"))) {
        lines->setParent(tree_);
        tree_->setStyle(lines);
    }
    tree_->viewport()->installEventFilter(this);
    tree_->installEventFilter(this);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(hint_);
    layout->addWidget(tree_, 1);

    area_ = new QMdiArea(this);
    area_->setObjectName("MDIArea");
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A closing window hands over to the one that was active before it.
    area_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    connect(area_, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(panel);
    splitter->addWidget(area_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 800});
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);
}

void MainWindow::buildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName("menuPop1");
    QAction* edit = popup_->addAction(QStringLiteral("新建/编辑学校关系树(&C)"));
    edit->setObjectName("menuEditTV");
    connect(edit, &QAction::triggered, this, &MainWindow::editSchool);
    QAction* outside = popup_->addAction(QStringLiteral("新建一张不棣属任何班级的表格(&D)"));
    outside->setObjectName("menuTabelD");
    connect(outside, &QAction::triggered, this, &MainWindow::newTableOutsideClass);
    newFileMenu_ = popup_->addMenu(QStringLiteral("新建表格(&N)"));
    newFileMenu_->setObjectName("menuNewFileList");
    newFileMenu_->menuAction()->setObjectName("menuNewFile");
    QAction* wizard = newFileMenu_->addAction(QStringLiteral("新建表格向导>>&>"));
    wizard->setObjectName("menuNewXD");
    connect(wizard, &QAction::triggered, this, &MainWindow::newTableWizard);
    QAction* direct = newFileMenu_->addAction(QStringLiteral("直接新建表格(&S)"));
    direct->setObjectName("menuNewonly");
    connect(direct, &QAction::triggered, this, &MainWindow::newTableDirectly);
    compareGrade_ = popup_->addAction(QStringLiteral("年级成绩对比(&G)..."));
    compareGrade_->setObjectName("menuGradeCompare");
    connect(compareGrade_, &QAction::triggered, this, &MainWindow::compareGrade);
    openHere_ = popup_->addSeparator();
    openHere_->setObjectName("menuOpenHere");
    openHere_->setEnabled(false);
}

void MainWindow::buildToolbar() {
    toolbar_ = new QToolBar(QStringLiteral("工具栏"), this);
    toolbar_->setObjectName("Toolbar1");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(20, 20));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, toolbar_);

    const ToolbarEntry* entry = std::begin(kButtons);
    for (int position = 1; position <= kButtonCount; ++position) {
        QAction* a = nullptr;
        if (entry != std::end(kButtons) && entry->position == position) {
            a = toolbar_->addAction(ToolbarPicture(entry->picture), QString::fromUtf8(entry->tip));
            a->setToolTip(QString::fromUtf8(entry->tip));
            a->setObjectName(QStringLiteral("Button%1").arg(position));
            ++entry;
            if (position == kDirectionKeys || position == kEnterAlongRow || position == kEnterDownColumn) {
                a->setCheckable(true);
                a->setChecked(position != kEnterDownColumn);
                if (position != kDirectionKeys) {
                    connect(a, &QAction::toggled, this,
                            [this, position](bool down) { directionButtonToggled(position, down); });
                }
            } else {
                connect(a, &QAction::triggered, this, [this, position] { runToolbarButton(position); });
            }
        } else {
            a = toolbar_->addSeparator();
            a->setObjectName(QStringLiteral("Separator%1").arg(position));
        }
        buttons_ << a;
    }
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(true);
    panel1_ = new QLabel(qs(kStatusReady), bar);
    panel1_->setObjectName("Panel1");
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1_->setFixedWidth(TwipsToPixelsX(2540, *this));
    panel2_ = new QLabel(bar);
    panel2_->setObjectName("Panel2");
    panel2_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel2_->setFixedWidth(TwipsToPixelsX(9525, *this));
    bar->addWidget(panel1_);
    bar->addWidget(panel2_);
}

void MainWindow::buildMenus() {
    auto add = [this](QMenu* menu, const char* name, const QString& text, void (MainWindow::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    fileMenu_ = new QMenu(QStringLiteral("文件(&F)"), this);
    fileMenu_->setObjectName("menuFile");
    add(fileMenu_, "menuClass", QStringLiteral("新建/编辑学校关系树(&C)"), &MainWindow::editSchool);
    add(fileMenu_, "menuOpen", QStringLiteral("打开(&O)..."), &MainWindow::openCommand);
    add(fileMenu_, "menuOpenSheet", QStringLiteral("导入电子表格(&I)..."), &MainWindow::importWorkbook);
    fileMenu_->addSeparator();
    add(fileMenu_, "menuFoxExp", QStringLiteral("转换&FoxPro格式表格"), &MainWindow::convertFoxPro);
    fileMenu_->addSeparator();
    QAction* exit = fileMenu_->addAction(QStringLiteral("退出(&X)"));
    exit->setObjectName("menuExit");
    // Leaving the program takes the same way as the close box: every changed table is asked about.
    connect(exit, &QAction::triggered, this, &QWidget::close);

    helpMenu_ = new QMenu(QStringLiteral("帮助(&H)"), this);
    helpMenu_->setObjectName("menuHelp");
    add(helpMenu_, "menuHelpItem", QStringLiteral("帮助主题"), &MainWindow::showHelp);
    helpMenu_->addSeparator();
    add(helpMenu_, "menuAbout", QStringLiteral("关于(&A)..."), &MainWindow::showAbout);

    windowMenu_ = new QMenu(QStringLiteral("窗口(&W)"), this);
    windowMenu_->setObjectName("menuWindow");
    add(windowMenu_, "menuCD", QStringLiteral("层叠(&S)"), &MainWindow::cascade);
    add(windowMenu_, "menuZXPP", QStringLiteral("纵向平铺(&H)"), &MainWindow::tileAboveEachOther);
    add(windowMenu_, "menuHXPP", QStringLiteral("横向平铺(&E)"), &MainWindow::tileSideBySide);
    add(windowMenu_, "menuPL", QStringLiteral("排列图标(&A)"), &MainWindow::arrangeIcons);
    windowMenu_->addSeparator();
    connect(windowMenu_, &QMenu::aboutToShow, this, &MainWindow::fillWindowList);

    toolsMenu_ = new QMenu(QStringLiteral("工具(&T)"), this);
    toolsMenu_->setObjectName("menuTools");
    add(toolsMenu_, "menuGSBJ", QStringLiteral("公式编辑器(&G)"), &MainWindow::openFormulaEditor);
    add(toolsMenu_, "menuGSSM", QStringLiteral("公式说明(&V)"), &MainWindow::showFormulaHelp);
    toolsMenu_->addSeparator();
    add(toolsMenu_, "menuVelmora", QStringLiteral("报表编辑器"), &MainWindow::startDesigner);

    tableHelpMenu_ = new QMenu(QStringLiteral("帮助(&H)"), this);
    tableHelpMenu_->setObjectName("menuTableHelp");
    add(tableHelpMenu_, "menuTableHelpItem", QStringLiteral("帮助主题"), &MainWindow::showHelp);
    add(tableHelpMenu_, "menuTableAbout", QStringLiteral("关于...(&A)"), &MainWindow::showAbout);
}

QAction* MainWindow::toolbarButton(int position) const {
    if (position < 1 || position > buttons_.size()) {
        return nullptr;
    }
    return buttons_[position - 1];
}

QString MainWindow::statusText(int panel) const {
    return panel == 1 ? panel1_->text() : panel2_->text();
}

QAction* MainWindow::action(const char* objectName) const {
    const QString name = QString::fromUtf8(objectName);
    for (QMenu* menu :
         {fileMenu_, helpMenu_, windowMenu_, toolsMenu_, tableHelpMenu_, popup_, newFileMenu_}) {
        for (QAction* a : menu->actions()) {
            if (a->objectName() == name) {
                return a;
            }
        }
    }
    return nullptr;
}

// ---- start-up: the tree and the table font

void MainWindow::loadWorkspace() {
    rebuildTree();
    setTableFont(ReadTableFontSetting(tableFont_));
}

void MainWindow::rebuildTree() {
    tree_->clear();
    school_ = AddDot();
    QHash<QString, QTreeWidgetItem*> items;
    for (const SchoolNode& node : school_.nodes) {
        QTreeWidgetItem* parent = items.value(qs(node.parentKey));
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
        item->setText(0, qs(node.text));
        item->setIcon(0, TreePicture(static_cast<int>(node.image)));
        item->setData(0, kKeyRole, qs(node.key));
        items.insert(qs(node.key), item);
        if (node.image == SchoolNodeImage::Grade) {
            item->setExpanded(true);
        }
    }
    if (QTreeWidgetItem* school = items.value(QStringLiteral("School1"))) {
        school->setExpanded(true);
    }
    tree_->clearSelection();
    tree_->setEnabled(school_.enabled);
}

void MainWindow::setTableFont(const TableFont& font) {
    tableFont_ = font;
    if (active_) {
        active_->applyTableFont(tableQFont());
    }
}

QFont MainWindow::tableQFont() const {
    return TableQFont(tableFont_);
}

bool MainWindow::enterMovesAlongRow() const {
    return toolbarButton(kEnterAlongRow)->isChecked();
}

bool MainWindow::enterMovesDownColumn() const {
    return toolbarButton(kEnterDownColumn)->isChecked();
}

EnterDirection MainWindow::enterDirection() const {
    return enterMovesDownColumn() ? EnterDirection::DownColumn : EnterDirection::AlongRow;
}

// ---- the status bar

void MainWindow::setStatus(std::string_view text) {
    panel1_->setText(qs(text));
}

void MainWindow::setBusy(bool busy) {
    if (busy) {
        ++busyDepth_;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        panel1_->repaint();
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QGuiApplication::restoreOverrideCursor();
    }
}

// ---- table windows

QList<QMdiSubWindow*> MainWindow::tableSubWindows() const {
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (qobject_cast<TableWindow*>(sub->widget())) {
            subs << sub;
        }
    }
    return subs;
}

TableWindow* MainWindow::activeTable() const {
    return active_;
}

QList<TableWindow*> MainWindow::tables() const {
    QList<TableWindow*> list;
    for (QMdiSubWindow* sub : tableSubWindows()) {
        list << static_cast<TableWindow*>(sub->widget());
    }
    return list;
}

TableWindow* MainWindow::newTableWindow() {
    auto* window = new TableWindow(*this);
    addTableWindow(window);
    return window;
}

void MainWindow::addTableWindow(TableWindow* window) {
    if (recovery_) {
        AttachTableCopier(*window, *recovery_, ProgramFolder());
    }
    QMdiSubWindow* sub = area_->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(ToolbarPicture(9));
    sub->setWindowTitle(window->caption());
    connect(window, &TableWindow::captionChanged, this, [this, window, sub] {
        sub->setWindowTitle(window->caption());
        if (window == active_) {
            showTableState(window);
        }
    });
    connect(window, &TableWindow::findRequested, this, &MainWindow::showFind);
    connect(window, &TableWindow::undoAvailabilityChanged, this, [this, window] {
        if (window == active_) {
            toolbarButton(kUndo)->setEnabled(window->undoAvailable());
        }
    });
    // The close check switches the table's buttons off before it asks; a window that stays open
    // gets them back.
    connect(window, &TableWindow::closeCheckStarted, this, [this, window] {
        if (window == active_) {
            showTableState(nullptr);
        }
    });
    connect(window, &TableWindow::closeKept, this, [this, window] {
        if (window == active_) {
            showTableState(window);
        }
    });
    connect(window, &QObject::destroyed, this, [this] {
        if (!active_) {
            QMdiSubWindow* next = area_->activeSubWindow();
            active_ = nullptr;
            setActive(next ? qobject_cast<TableWindow*>(next->widget()) : nullptr);
            showTableState(active_);
            updateMenuBar();
        }
    });
    sub->show();
    area_->setActiveSubWindow(sub);
    setActive(window);
}

void MainWindow::subWindowActivated(QMdiSubWindow* sub) {
    TableWindow* table = sub ? qobject_cast<TableWindow*>(sub->widget()) : nullptr;
    // The area lets go of its window whenever the frame loses the focus (a dialog, another program);
    // the table stays the active one until another table window takes its place or it closes.
    if (!table && !tableSubWindows().isEmpty()) {
        return;
    }
    setActive(table);
}

void MainWindow::setActive(TableWindow* table) {
    if (table == active_) {
        return;
    }
    active_ = table;
    // The find window stays open and searches whichever table is active; it goes with the last one.
    if (find_) {
        if (table) {
            find_->setTable(table);
        } else {
            find_->close();
        }
    }
    if (table) {
        table->applyTableFont(tableQFont());
    }
    showTableState(table);
    updateMenuBar();
    emit activeTableChanged(table);
}

void MainWindow::showTableState(TableWindow* table) {
    panel2_->setText(qs(ActiveTableStatus(table ? &table->document() : nullptr)));
    for (int position : kTableButtons) {
        toolbarButton(position)->setEnabled(table != nullptr);
    }
    toolbarButton(kUndo)->setEnabled(table && table->undoAvailable());
}

void MainWindow::updateMenuBar() {
    QMenuBar* bar = menuBar();
    bar->clear();
    if (active_) {
        for (QMenu* menu : active_->menus()) {
            bar->addMenu(menu);
        }
        bar->addMenu(toolsMenu_);
        bar->addMenu(windowMenu_);
        bar->addMenu(tableHelpMenu_);
    } else {
        bar->addMenu(fileMenu_);
        bar->addMenu(helpMenu_);
    }
}

void MainWindow::fillWindowList() {
    for (QAction* a : windowListActions_) {
        windowMenu_->removeAction(a);
        delete a;
    }
    windowListActions_.clear();
    int n = 0;
    for (QMdiSubWindow* sub : tableSubWindows()) {
        auto* table = static_cast<TableWindow*>(sub->widget());
        QString text =
            QStringLiteral("&%1 %2").arg(++n).arg(table->caption().replace('&', QStringLiteral("&&")));
        QAction* a = windowMenu_->addAction(text);
        a->setCheckable(true);
        a->setChecked(table == active_);
        connect(a, &QAction::triggered, this, [this, sub] { area_->setActiveSubWindow(sub); });
        windowListActions_ << a;
    }
}

TableWindow* MainWindow::openTable(const std::string& pathWithoutExtension) {
    TableWindow* window = newTableWindow();
    window->document().table.filePath = pathWithoutExtension;
    if (window->loadData(pathWithoutExtension, true) == LoadOutcome::Loaded) {
        return window;
    }
    // A table that could not be read leaves no window behind.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        sub->close();
    }
    return nullptr;
}

bool MainWindow::closeAllTables() {
    for (QMdiSubWindow* sub : tableSubWindows()) {
        if (!sub->close()) {
            return false;
        }
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The auxiliary windows go first, then every table window with its close check.
    if (find_) {
        find_->close();
    }
    if (!closeAllTables()) {
        event->ignore();
        return;
    }
    event->accept();
}

// ---- commands

void MainWindow::openCommand() {
    std::string chosen = prompter_.openFile("*.skv", "打开数据文件");
    if (chosen.empty()) {
        return;
    }
    openTable(DataPathOf(chosen));
}

void MainWindow::saveCommand() {
    if (active_) {
        active_->save();
    }
}

void MainWindow::convertFoxPro() {
    RunDbfConverterDialog(prompter_, statusSink(), dialogs_, this);
}

void MainWindow::editSchool() {
    SchoolEditorDialog dialog(prompter_, ProgramFolder(), this);
    dialogs_.run(dialog);
    rebuildTree();
}

void MainWindow::importWorkbook() {
    if (std::optional<GradeTable> table = RunSheetImportDialog(prompter_, *this, dialogs_, this)) {
        openNewTable(std::move(*table));
    }
}

void MainWindow::newTableOutsideClass() {
    newTableWindow();
}

const SchoolNode* MainWindow::selectedNode() const {
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || !node->isSelected()) {
        const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
        node = selected.isEmpty() ? nullptr : selected.first();
    }
    return node ? school_.find(node->data(0, kKeyRole).toString().toStdString()) : nullptr;
}

int MainWindow::filesListedForSelectedClass() const {
    const SchoolNode* node = selectedNode();
    if (!node || !IsClassNodeKey(node->key)) {
        return 0;
    }
    return static_cast<int>(ListTables(ClassFolder(node->fullPath)).size());
}

void MainWindow::newTableDirectly() {
    const SchoolNode* node = selectedNode();
    if (!node || !IsClassNodeKey(node->key)) {
        return;
    }
    const std::string path = node->fullPath;
    const int listed = filesListedForSelectedClass();
    TableWindow* window = newTableWindow();
    NewTableInClass(window->document(), prompter_, path, listed);
    window->refreshCaption();
}

void MainWindow::newTableWizard() {
    const SchoolNode* node = selectedNode();
    if (!node || !IsClassNodeKey(node->key)) {
        return;
    }
    const std::string path = node->fullPath;
    const int listed = filesListedForSelectedClass();
    TableWindow* window = newTableWindow();
    QPointer<TableWindow> guard(window);
    NewTableWizardSteps steps;
    steps.classInfo = [this, window] {
        if (RunClassInfoDialog(window->document(), dialogs_, this)) {
            window->tableReset();
        }
    };
    if (wizardDialogs_.dataFormat) {
        steps.dataFormat = [this, window] { wizardDialogs_.dataFormat(*window); };
    }
    if (wizardDialogs_.fieldManager) {
        steps.fieldManager = [this, window] { wizardDialogs_.fieldManager(*window); };
    }
    RunNewTableWizard(window->document(), prompter_, path, listed, steps);
    if (guard) {
        window->tableReset();
        window->refreshCaption();
    }
}

FindWindow* MainWindow::findWindow() const {
    return find_;
}

void MainWindow::showFind() {
    if (!active_) {
        return;
    }
    if (!find_) {
        find_ = new FindWindow(active_, this);
    }
    find_->setTable(active_);
    find_->show();
    find_->raise();
    find_->activateWindow();
    find_->findEdit()->setFocus();
}

void MainWindow::sortActiveTable(bool descending) {
    if (!active_) {
        return;
    }
    active_->commitEditor();
    if (!CheckSortable(active_->document().table, prompter_)) {
        return;
    }
    SortDialog dialog(active_->document(), active_->currentCol(), descending, prompter_, this);
    if (dialogs_.run(dialog) == QDialog::Accepted) {
        active_->tableReset();
        // The sort field's column becomes the current column.
        active_->setCurrentCell(active_->currentRow(), dialog.choice().sortField + 1);
    }
}

void MainWindow::openFormulaEditor() {
    if (active_) {
        active_->openFormulaEditor();
    }
}

void MainWindow::showFormulaHelp() {
    RunFormulaHelp(dialogs_, this);
}

void MainWindow::showHelp() {
    prompter_.message(kHelpMessage, "提示", Icon::Information);
}

void MainWindow::showAbout() {
    AboutDialog dialog(versionLine_, this);
    dialogs_.run(dialog);
}

void MainWindow::startDesigner() {
    const QString program = QDir(designerFolder_).filePath(QStringLiteral("velmora"));
    if (!StartProgramDetached(program, designerFolder_, true)) {
        prompter_.message("无法找到组件：velmora", "错误", Icon::Error);
    }
}

// ---- window arrangement

void MainWindow::cascade() {
    area_->cascadeSubWindows();
}

namespace {

QList<QMdiSubWindow*> shownWindows(const QList<QMdiSubWindow*>& all) {
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* sub : all) {
        if (!sub->isMinimized() && sub->isVisible()) {
            shown << sub;
        }
    }
    return shown;
}

void place(const QList<QMdiSubWindow*>& windows, const std::vector<WindowRect>& rects) {
    for (int i = 0; i < windows.size() && static_cast<size_t>(i) < rects.size(); ++i) {
        const WindowRect& r = rects[static_cast<size_t>(i)];
        if (windows[i]->isMaximized()) {
            windows[i]->showNormal();
        }
        windows[i]->setGeometry(r.x, r.y, r.width, r.height);
    }
}

}  // namespace

void MainWindow::tileAboveEachOther() {
    QList<QMdiSubWindow*> windows = shownWindows(tableSubWindows());
    QSize size = area_->viewport()->size();
    place(windows, TileAboveEachOther(static_cast<int>(windows.size()), size.width(), size.height()));
}

void MainWindow::tileSideBySide() {
    QList<QMdiSubWindow*> windows = shownWindows(tableSubWindows());
    QSize size = area_->viewport()->size();
    place(windows, TileSideBySide(static_cast<int>(windows.size()), size.width(), size.height()));
}

void MainWindow::arrangeIcons() {
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* sub : tableSubWindows()) {
        if (sub->isMinimized()) {
            icons << sub;
        }
    }
    if (icons.isEmpty()) {
        return;
    }
    QSize icon = icons.first()->size();
    QSize size = area_->viewport()->size();
    std::vector<WindowRect> rects = ArrangeIcons(static_cast<int>(icons.size()), icon.width(), icon.height(),
                                                 size.width(), size.height());
    for (int i = 0; i < icons.size(); ++i) {
        icons[i]->move(rects[static_cast<size_t>(i)].x, rects[static_cast<size_t>(i)].y);
    }
}

// ---- the toolbar

void MainWindow::runToolbarButton(int position) {
    switch (position) {
        case kSchoolTree:
            showSchoolPopup(QCursor::pos());
            break;
        case kOpen:
            openCommand();
            break;
        case kSave:
            saveCommand();
            break;
        case kUndo:
            if (active_) {
                active_->undo();
            }
            break;
        case kCut:
            if (active_) {
                active_->cut();
            }
            break;
        case kCopy:
            if (active_) {
                active_->copy();
            }
            break;
        case kPaste:
            if (active_) {
                active_->paste();
            }
            break;
        case kFind:
            showFind();
            break;
        case kPrint:
            if (active_) {
                active_->printView();
            }
            break;
        case kSortAscending:
        case kSortDescending:
            sortActiveTable(position == kSortDescending);
            break;
        case kTableProperties:
            if (active_) {
                active_->setupClassInfo();
            }
            break;
        case kHelp:
            showHelp();
            break;
        default:
            break;
    }
}

void MainWindow::directionButtonToggled(int position, bool down) {
    // Exactly one of the two stands down: whichever the user moved, the other takes the opposite state.
    QAction* other = toolbarButton(position == kEnterAlongRow ? kEnterDownColumn : kEnterAlongRow);
    QSignalBlocker block(other);
    other->setChecked(!down);
}

// ---- the tree and its pop-up menu

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // From the keyboard the pop-up menu opens with the Menu key or Shift+F10, at the current node; the
    // context-menu event that follows (or that a right press brings) is the same menu, already shown.
    if (watched == tree_ || watched == tree_->viewport()) {
        if (event->type() == QEvent::ContextMenu) {
            return true;
        }
        if (watched == tree_ && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Menu ||
                (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
                QTreeWidgetItem* item = tree_->currentItem();
                const QRect place = item ? tree_->visualItemRect(item) : QRect();
                treeRightPressed(item,
                                 tree_->viewport()->mapToGlobal(place.isValid() ? place.center() : QPoint()));
                return true;
            }
        }
    }
    if (watched == tree_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                treeRightPressed(tree_->itemAt(mouse->position().toPoint()),
                                 mouse->globalPosition().toPoint());
                return true;
            }
            openHere_->setEnabled(false);
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                treeDoubleClicked(tree_->itemAt(mouse->position().toPoint()),
                                  mouse->globalPosition().toPoint());
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::treeRightPressed(QTreeWidgetItem* item, const QPoint& globalPos) {
    // The node under the pointer is the one the menu is about.
    if (item) {
        tree_->setCurrentItem(item);
        item->setSelected(true);
    }
    preparePopup(true);
    popup_->popup(globalPos);
}

void MainWindow::treeDoubleClicked(QTreeWidgetItem* item, const QPoint& globalPos) {
    if (item && IsClassNodeKey(item->data(0, kKeyRole).toString().toStdString())) {
        treeRightPressed(item, globalPos);
    }
}

void MainWindow::showSchoolPopup(const QPoint& globalPos) {
    preparePopup(false);
    popup_->popup(globalPos);
}

void MainWindow::preparePopup(bool listTables) {
    openHere_->setEnabled(false);
    for (QAction* a : tableEntries_) {
        popup_->removeAction(a);
        delete a;
    }
    tableEntries_.clear();
    listedTables_.clear();

    const SchoolNode* node = selectedNode();
    const bool isClass = node && IsClassNodeKey(node->key);
    newFileMenu_->menuAction()->setEnabled(isClass);
    compareGrade_->setEnabled(node && node->image == SchoolNodeImage::Grade);
    if (!isClass || !listTables) {
        return;
    }
    listedTables_ = PrepareClassTables(node->fullPath);
    for (const std::string& name : listedTables_) {
        QAction* a = popup_->addAction(menuText(name));
        a->setObjectName("menufileList");
        const QString table = qs(name);
        connect(a, &QAction::triggered, this, [this, table] { openListedTable(table); });
        tableEntries_ << a;
    }
}

QList<QAction*> MainWindow::tableEntries() const {
    return tableEntries_;
}

void MainWindow::openListedTable(const QString& name) {
    const SchoolNode* node = selectedNode();
    if (!node) {
        return;
    }
    std::string path = ClassTablePath(node->fullPath, name.toStdString());
    if (!path.empty()) {
        openTable(path);
    }
}

void MainWindow::compareGrade() {
    const SchoolNode* node = selectedNode();
    if (!node || node->image != SchoolNodeImage::Grade) {
        return;
    }
    std::optional<GradeTable> result = RunGradeComparisonDialog(school_, *node, prompter_, dialogs_, this);
    if (result) {
        openNewTable(std::move(*result));
    }
}

void MainWindow::openNewTable(GradeTable table) {
    TableWindow* window = newTableWindow();
    window->document().table = std::move(table);
    window->document().table.filePath.clear();
    window->document().setModified();
    window->tableReset();
    window->refreshCaption();
}

}  // namespace scorvane
