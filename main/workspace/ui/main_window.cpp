#include "main/workspace/ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>

#include "common/file_io.h"
#include "common/prompter.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/program_start.h"
#include "main/analysis/ui/exam_history_dialog.h"
#include "main/analysis/ui/exam_order_dialog.h"
#include "main/analysis/ui/grade_comparison_dialog.h"
#include "main/analysis/ui/borderline_dialog.h"
#include "main/analysis/ui/grade_ranking_dialog.h"
#include "main/analysis/ui/line_analysis_dialog.h"
#include "main/analysis/ui/score_assignment_dialog.h"
#include "main/analysis/ui/teaching_evaluation_dialog.h"
#include "main/analysis/teacher_table.h"
#include "main/document/data_file.h"
#include "main/document/document_life.h"
#include "main/document/new_table.h"
#include "main/document/new_table_wizard.h"
#include "main/document/ui/class_info_dialog.h"
#include "main/document/ui/table_copier.h"
#include "main/document/ui/table_font_setting.h"
#include "main/document/ui/table_window.h"
#include "main/exchange/ui/dbf_converter_dialog.h"
#include "main/formula/sort_rows.h"
#include "main/formula/ui/find_window.h"
#include "main/formula/ui/formula_help_dialog.h"
#include "main/formula/ui/sort_dialog.h"
#include "main/workbook/ui/grade_split_dialog.h"
#include "main/workbook/ui/sheet_import_dialog.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/ui/about_dialog.h"
#include "main/workspace/ui/school_editor_dialog.h"
#include "main/workspace/ui/toolbar_pictures.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

constexpr std::string_view kHelpMessage =
    "本软件目前还处于测试阶段。不提供帮助文档。帮助文档将随正式版一同发布。";

}  // namespace

MainWindow::MainWindow(Prompter& prompter, DialogRunner& dialogs, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), dialogs_(dialogs) {
    setObjectName("MDIForm1");
    setWindowTitle(QStringLiteral("KVL'S Scorvane"));
    designerFolder_ = QCoreApplication::applicationDirPath();

    buildPanels();
    buildMenus();
    // The new-table wizard's data format and field steps, each on the new table.
    wizardDialogs_.dataFormat = [](TableWindow& table) { table.setDataFormat(); };
    wizardDialogs_.fieldManager = [](TableWindow& table) { table.runFieldManagerForNewTable(); };
    showTableState(nullptr);
    updateMenuBar();
    resize(1000, 700);
}

MainWindow::~MainWindow() {
    // The table windows go before the frame they report to, also those closed whose deletion is still
    // pending (closed as the program ends): the area no longer lists them.
    disconnect(area_, nullptr, this, nullptr);
    for (QMdiSubWindow* sub : area_->findChildren<QMdiSubWindow*>()) {
        if (QWidget* table = sub->widget()) {
            table->disconnect(this);
        }
        delete sub;
    }
}

// ---- building the frame

void MainWindow::buildPanels() {
    treePanel_ = new SchoolTreePanel(this);
    connect(treePanel_, &SchoolTreePanel::editSchoolRequested, this, &MainWindow::editSchool);
    connect(treePanel_, &SchoolTreePanel::tableOutsideClassRequested, this,
            &MainWindow::newTableOutsideClass);
    connect(treePanel_, &SchoolTreePanel::tableWizardRequested, this, &MainWindow::newTableWizard);
    connect(treePanel_, &SchoolTreePanel::tableDirectlyRequested, this, &MainWindow::newTableDirectly);
    connect(treePanel_, &SchoolTreePanel::gradeComparisonRequested, this, &MainWindow::compareGrade);
    connect(treePanel_, &SchoolTreePanel::gradeRankingRequested, this, &MainWindow::rankGrade);
    connect(treePanel_, &SchoolTreePanel::examOrderRequested, this, &MainWindow::orderExams);
    connect(treePanel_, &SchoolTreePanel::lineAnalysisRequested, this, &MainWindow::analyseLines);
    connect(treePanel_, &SchoolTreePanel::borderlineRequested, this, &MainWindow::findBorderline);
    connect(treePanel_, &SchoolTreePanel::gradeImportRequested, this, &MainWindow::importGradeMarks);
    connect(treePanel_, &SchoolTreePanel::teacherTableRequested, this, &MainWindow::openTeacherTable);
    connect(treePanel_, &SchoolTreePanel::teachingEvaluationRequested, this, &MainWindow::evaluateTeaching);
    connect(treePanel_, &SchoolTreePanel::examHistoryRequested, this, &MainWindow::classHistory);
    connect(treePanel_, &SchoolTreePanel::gradeScoreAssignmentRequested, this, &MainWindow::assignGradeScores);
    connect(treePanel_, &SchoolTreePanel::tableChosen, this,
            [this](const std::string& path) { openTable(path); });

    area_ = new DocumentArea(this);
    connect(area_, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(treePanel_);
    splitter->addWidget(area_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 800});
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);

    toolbar_ = new FrameToolbar(this);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    connect(toolbar_, &FrameToolbar::buttonTriggered, this, &MainWindow::runToolbarButton);

    statusBar_ = new FrameStatusBar(this);
    setStatusBar(statusBar_);
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
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] { area_->listWindows(windowMenu_, active_); });

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
    return toolbar_->button(position);
}

QString MainWindow::statusText(int panel) const {
    return statusBar_->panelText(panel);
}

QAction* MainWindow::action(const char* objectName) const {
    const QString name = QString::fromUtf8(objectName);
    for (QMenu* menu : {fileMenu_, helpMenu_, windowMenu_, toolsMenu_, tableHelpMenu_, treePanel_->popup(),
                        treePanel_->newFileMenu()}) {
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
    treePanel_->rebuild();
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
    return toolbar_->enterMovesAlongRow();
}

bool MainWindow::enterMovesDownColumn() const {
    return toolbar_->enterMovesDownColumn();
}

EnterDirection MainWindow::enterDirection() const {
    return enterMovesDownColumn() ? EnterDirection::DownColumn : EnterDirection::AlongRow;
}

// ---- table windows

TableWindow* MainWindow::activeTable() const {
    return active_;
}

QList<TableWindow*> MainWindow::tables() const {
    return area_->tableWindows();
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
            toolbar_->setUndoAvailable(window->undoAvailable());
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
    area_->placeNewWindow(sub);
    area_->setActiveSubWindow(sub);
    setActive(window);
}

void MainWindow::subWindowActivated(QMdiSubWindow* sub) {
    TableWindow* table = sub ? qobject_cast<TableWindow*>(sub->widget()) : nullptr;
    // The area lets go of its window whenever the frame loses the focus (a dialog, another program);
    // the table stays the active one until another table window takes its place or it closes.
    if (!table && !area_->tableSubWindows().isEmpty()) {
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
    // A table open without a lock beside it says so again whenever it comes forward.
    if (table && !table->document().file.note().empty()) {
        statusBar_->setStatus(table->document().file.note());
    }
    updateMenuBar();
    emit activeTableChanged(table);
}

void MainWindow::showTableState(TableWindow* table) {
    statusBar_->setTableStatus(ActiveTableStatus(table ? &table->document() : nullptr));
    toolbar_->showTableState(table != nullptr, table && table->undoAvailable());
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

TableWindow* MainWindow::openTable(const std::string& pathWithoutExtension) {
    // A table this frame has open comes forward, before any lock is looked at.
    if (TableWindow* open = area_->bringForward(pathWithoutExtension)) {
        return open;
    }
    TableWindow* window = newTableWindow();
    window->document().table.filePath = pathWithoutExtension;
    if (window->openTable(pathWithoutExtension) == LoadOutcome::Loaded) {
        return window;
    }
    // A table that could not be read leaves no window behind.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        sub->close();
    }
    return nullptr;
}

bool MainWindow::closeAllTables() {
    for (QMdiSubWindow* sub : area_->tableSubWindows()) {
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

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && treePanel_->schoolFileChanged()) {
        rebuildTree();
    }
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
    if (std::optional<GradeTable> table = RunSheetImportDialog(prompter_, *statusBar_, dialogs_, this)) {
        openNewTable(std::move(*table), NewTableKind::Ordinary);
    }
}

void MainWindow::newTableOutsideClass() {
    newTableWindow();
}

const SchoolNode* MainWindow::selectedNode() const {
    return treePanel_->selectedNode();
}

const SchoolNode* MainWindow::selectedClass(int& listedTables) const {
    const SchoolNode* node = selectedNode();
    if (!node || !IsClassNodeKey(node->key)) {
        return nullptr;
    }
    listedTables = static_cast<int>(ListTables(ClassFolder(node->fullPath)).size());
    return node;
}

std::string MainWindow::chosenClassFolder() const {
    const SchoolNode* node = selectedNode();
    if (!node || !IsClassNodeKey(node->key)) {
        return {};
    }
    const std::string folder = ClassFolder(node->fullPath);
    return DirectoryExists(folder) ? folder : std::string();
}

void MainWindow::newTableDirectly() {
    int listed = 0;
    const SchoolNode* node = selectedClass(listed);
    if (!node) {
        return;
    }
    const std::string path = node->fullPath;
    TableWindow* window = newTableWindow();
    NewTableInClass(window->document(), prompter_, path, listed);
    window->refreshCaption();
}

void MainWindow::newTableWizard() {
    int listed = 0;
    const SchoolNode* node = selectedClass(listed);
    if (!node) {
        return;
    }
    const std::string path = node->fullPath;
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

void MainWindow::tileAboveEachOther() {
    area_->tileAboveEachOther();
}

void MainWindow::tileSideBySide() {
    area_->tileSideBySide();
}

void MainWindow::arrangeIcons() {
    area_->arrangeIcons();
}

// ---- the toolbar

void MainWindow::runToolbarButton(int position) {
    // The buttons that work on the active table call its command.
    const std::pair<int, void (TableWindow::*)()> tableCommands[] = {
        {kUndo, &TableWindow::undo},       {kCut, &TableWindow::cut},
        {kCopy, &TableWindow::copy},       {kPaste, &TableWindow::paste},
        {kPrint, &TableWindow::printView}, {kTableProperties, &TableWindow::setupClassInfo}};
    for (const auto& [button, command] : tableCommands) {
        if (position == button && active_) {
            (active_.data()->*command)();
        }
    }
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
        case kFind:
            showFind();
            break;
        case kSortAscending:
        case kSortDescending:
            sortActiveTable(position == kSortDescending);
            break;
        case kHelp:
            showHelp();
            break;
        default:
            break;
    }
}

// ---- the tree and its pop-up menu

void MainWindow::treeRightPressed(QTreeWidgetItem* item, const QPoint& globalPos) {
    treePanel_->rightPressed(item, globalPos);
}

void MainWindow::treeDoubleClicked(QTreeWidgetItem* item, const QPoint& globalPos) {
    treePanel_->doubleClicked(item, globalPos);
}

void MainWindow::showSchoolPopup(const QPoint& globalPos) {
    treePanel_->showPopup(globalPos);
}

void MainWindow::preparePopup(bool listTables) {
    treePanel_->preparePopup(listTables);
}

QList<QAction*> MainWindow::tableEntries() const {
    return treePanel_->tableEntries();
}

void MainWindow::compareGrade() {
    const SchoolNode* node = selectedNode();
    if (!node || node->image != SchoolNodeImage::Grade) {
        return;
    }
    std::optional<GradeTable> result =
        RunGradeComparisonDialog(treePanel_->school(), *node, prompter_, dialogs_, this);
    if (result) {
        openNewTable(std::move(*result), NewTableKind::Result);
    }
}

void MainWindow::rankGrade() {
    const SchoolNode* node = selectedNode();
    if (node && node->image == SchoolNodeImage::Grade) {
        if (auto result = RunGradeRankingDialog(treePanel_->school(), *node, prompter_, dialogs_, this)) {
            openNewTable(std::move(*result), NewTableKind::Result);
        }
    }
}

void MainWindow::assignGradeScores() {
    const SchoolNode* node = selectedNode();
    if (node && node->image == SchoolNodeImage::Grade) {
        if (auto result = RunGradeScoreAssignmentDialog(treePanel_->school(), *node, prompter_, dialogs_, this)) {
            openNewTable(std::move(*result), NewTableKind::Result);
        }
    }
}

void MainWindow::orderExams() {
    const SchoolNode* node = selectedNode();
    if (node && node->image == SchoolNodeImage::Grade) {
        RunExamOrderDialog(treePanel_->school(), *node, prompter_, dialogs_, this);
    }
}

void MainWindow::importGradeMarks() {
    const SchoolNode* node = selectedNode();
    if (node && node->image == SchoolNodeImage::Grade && !ClassFolder(node->fullPath).empty() &&
        RunGradeSplitDialog(ClassFolder(node->fullPath), prompter_, *statusBar_, dialogs_, this)) {
        rebuildTree();  // the classes it added, and their tables in the classes' menus
    }
}

void MainWindow::openTeacherTable() {
    const SchoolNode* node = selectedNode();
    if (!node || node->image != SchoolNodeImage::Grade) {
        return;
    }
    const std::string folder = ClassFolder(node->fullPath);
    if (folder.empty()) {
        return;
    }
    const std::string path =
        PrepareTeacherTable(folder, node->text, GradeClassesOf(treePanel_->school(), *node), prompter_);
    if (!path.empty()) {
        openTable(path);
    }
}

void MainWindow::evaluateTeaching() {
    const SchoolNode* node = selectedNode();
    if (node && node->image == SchoolNodeImage::Grade) {
        if (auto result = RunTeachingEvaluationDialog(treePanel_->school(), *node, prompter_, dialogs_, this)) {
            openNewTable(std::move(result->byClass), NewTableKind::Result);
            if (result->byTeacher) {
                openNewTable(std::move(*result->byTeacher), NewTableKind::Result);
            }
        }
    }
}

void MainWindow::analyseLines() {
    const SchoolNode* node = selectedNode();
    if (node && node->image == SchoolNodeImage::Grade) {
        if (auto result = RunLineAnalysisDialog(treePanel_->school(), *node, prompter_, dialogs_, this)) {
            openNewTable(std::move(*result), NewTableKind::Result);
        }
    }
}

void MainWindow::findBorderline() {
    const SchoolNode* node = selectedNode();
    if (node && node->image == SchoolNodeImage::Grade) {
        if (auto result = RunBorderlineDialog(treePanel_->school(), *node, prompter_, dialogs_, this)) {
            openNewTable(std::move(*result), NewTableKind::Result);
        }
    }
}

void MainWindow::classHistory() {
    const SchoolNode* node = selectedNode();
    if (node && IsClassNodeKey(node->key)) {
        if (auto result = RunExamHistoryDialog(*node, prompter_, dialogs_, this)) {
            openNewTable(std::move(*result), NewTableKind::Result);
        }
    }
}

void MainWindow::openNewTable(GradeTable table, NewTableKind kind) {
    TableWindow* window = newTableWindow();
    window->document().table = std::move(table);
    window->document().table.filePath.clear();
    window->document().setModified();
    window->tableReset();
    window->refreshCaption();
    if (kind == NewTableKind::Result) {
        window->setResultTable(true);
        if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
            area_->placeResultWindow(sub, window->wholeTableSize());
        }
    }
    // The command can make it again: it is copied for recovery only once the teacher changes it.
    CopyMadeTableOnlyOnceChanged(*window);
}

}  // namespace scorvane
