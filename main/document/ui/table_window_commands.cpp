// The table window's commands over the core: the field menu with its templates, the format menu and
// the other dialogs, the formula commands, the comma-separated export and the exchange dialogs.
#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include "common/menu_text.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/screen_twips.h"

#include "main/analysis/ui/exam_progress_dialog.h"
#include "main/analysis/ui/mark_levels_dialog.h"
#include "main/analysis/ui/score_assignment_dialog.h"
#include "main/analysis/ui/standard_scores_dialog.h"
#include "main/analysis/ui/statistics_dialog.h"
#include "main/document/cell_value.h"
#include "main/document/field_commands.h"
#include "main/document/ui/data_format_dialog.h"
#include "main/document/ui/field_manager_dialog.h"
#include "main/document/ui/font_dialog.h"
#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/row_column_size_dialog.h"
#include "main/document/ui/table_font_setting.h"
#include "main/document/ui/table_window.h"
#include "main/document/ui/table_window_host.h"
#include "main/exchange/csv_export.h"
#include "main/exchange/ui/dbf_converter_dialog.h"
#include "main/exchange/ui/partial_export_dialog.h"
#include "main/exchange/ui/partial_import_dialog.h"
#include "main/formula/formula_commands.h"
#include "main/formula/ui/formula_editor_dialog.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

// ---- the field menu

QMenu* TableWindow::buildFieldMenu() {
    fieldMenu_ = new QMenu(QStringLiteral("成绩表字段(&L)"), this);
    fieldMenu_->setObjectName("menuLei");
    struct Item {
        const char* name;
        QString text;
        void (TableWindow::*command)();
    };
    const Item columnItems[] = {
        {"menuIstLei", QStringLiteral("插入列[字段](&I)"), &TableWindow::insertColumn},
        {"menuRemLei", QStringLiteral("删除列(&R)"), &TableWindow::removeColumn},
        {"menuChangeLeiTitle", QStringLiteral("更改列标题[字段名称](&E)"), &TableWindow::renameColumn},
    };
    for (const Item& item : columnItems) {
        QAction* a = fieldMenu_->addAction(item.text);
        a->setObjectName(item.name);
        connect(a, &QAction::triggered, this, item.command);
    }
    fieldMenu_->addSeparator();
    QAction* manager = fieldMenu_->addAction(QStringLiteral("表格字段管理(&A)"));
    manager->setObjectName("menuAddTitle");
    connect(manager, &QAction::triggered, this, &TableWindow::manageFields);
    QAction* save = fieldMenu_->addAction(QStringLiteral("保存当前字段结构为模版(&S)"));
    save->setObjectName("menuSaveModel");
    connect(save, &QAction::triggered, this, &TableWindow::saveFieldTemplate);
    fieldMenu_->addSeparator();
    // Templates saved from another window since this one opened are listed too.
    connect(fieldMenu_, &QMenu::aboutToShow, this, &TableWindow::rebuildTemplateMenu);
    rebuildTemplateMenu();
    return fieldMenu_;
}

void TableWindow::rebuildTemplateMenu() {
    for (QAction* a : templateItems_) {
        fieldMenu_->removeAction(a);
        delete a;
    }
    templateItems_.clear();
    for (const std::string& name : TemplateMenuItems()) {
        const QString fileName = qs(name);
        QAction* a = fieldMenu_->addAction(qs(MenuEntryText(name)));
        a->setObjectName("menuModel");
        a->setData(fileName);
        connect(a, &QAction::triggered, this, [this, fileName] { applyFieldTemplate(fileName); });
        templateItems_ << a;
    }
}

void TableWindow::insertColumn() {
    commitEditor();
    if (InsertColumn(document_, currentCol(), host_.prompter()) >= 0) {
        tableReset();
    }
}

void TableWindow::removeColumn() {
    commitEditor();
    if (RemoveColumn(document_, currentCol())) {
        tableReset();
    }
}

void TableWindow::renameColumn() {
    commitEditor();
    if (RenameColumn(document_, currentCol(), host_.prompter())) {
        tableReset();
    }
}

void TableWindow::saveFieldTemplate() {
    commitEditor();
    if (SaveFieldTemplate(document_, host_.prompter())) {
        rebuildTemplateMenu();
    }
}

void TableWindow::applyFieldTemplate(const QString& fileName) {
    commitEditor();
    if (ApplyFieldTemplate(document_, fileName.toStdString(), host_.prompter())) {
        tableReset();
    }
}

void TableWindow::manageFields() {
    commitEditor();
    const bool applied =
        OpenFieldManager(document_, host_.prompter(), host_.dialogRunner(), host_.dialogOwner());
    if (applied) {
        tableReset();
    }
}

void TableWindow::runFieldManagerForNewTable() {
    if (RunFieldManagerDialog(document_, host_.prompter(), host_.dialogRunner(), host_.dialogOwner())) {
        tableReset();
    }
}

// ---- the format menu and the data format

QMenu* TableWindow::buildFormatMenu() {
    QMenu* format = new QMenu(QStringLiteral("格式(&O)"), this);
    format->setObjectName("menuFormat");
    QAction* font = format->addAction(QStringLiteral("字体(&F)..."));
    font->setObjectName("menuFont");
    connect(font, &QAction::triggered, this, &TableWindow::chooseFont);
    QAction* height = format->addAction(QStringLiteral("行高(&H)"));
    height->setObjectName("menuRowHeight");
    connect(height, &QAction::triggered, this, &TableWindow::setRowColumnSizes);
    QAction* width = format->addAction(QStringLiteral("列宽(&W)"));
    width->setObjectName("menuColWidth");
    connect(width, &QAction::triggered, this, &TableWindow::setRowColumnSizes);
    return format;
}

void TableWindow::chooseFont() {
    commitEditor();
    std::optional<TableFont> chosen =
        RunFontDialog(host_.currentTableFont(), host_.dialogRunner(), host_.dialogOwner());
    if (chosen) {
        // The frame keeps the font for every window; this one takes it at once.
        host_.tableFontChosen(*chosen);
        applyTableFont(TableQFont(*chosen));
    }
    // Whichever button closed the dialog, the cell sizes are read again from column 0.
    setCurrentCell(currentRow(), 0);
    recordHeaderSizes();
}

void TableWindow::setRowColumnSizes() {
    commitEditor();
    const int rowPixels = currentRow() >= 1 && currentRow() < document_.table.rows()
                              ? grid_->rowHeight(currentRow() - 1)
                              : grid_->horizontalHeader()->height();
    const int colPixels = currentCol() >= 1 && currentCol() < document_.table.cols()
                              ? grid_->columnWidth(currentCol() - 1)
                              : grid_->verticalHeader()->width();
    if (RunRowColumnSizeDialog(document_.table, selection(), PixelsToTwipsY(rowPixels, *this),
                               PixelsToTwipsX(colPixels, *this), host_.dialogRunner(), host_.dialogOwner())) {
        applyLayout();
    }
}

void TableWindow::setDataFormat() {
    commitEditor();
    if (RunDataFormatDialog(document_, host_.dialogRunner(), host_.dialogOwner())) {
        // Formula values are shown in the new format.
        showPosition();
    }
}

// ---- the formula editor

void TableWindow::openFormulaEditor() {
    commitEditor();
    if (!moveToEditTarget()) {
        return;
    }
    document_.takeSnapshot();
    std::optional<std::string> accepted =
        RunFormulaEditor(document_.table, CellAddress{currentRow(), currentCol()}, host_.prompter(),
                         host_.dialogRunner(), host_.dialogOwner());
    if (accepted) {
        setFormulaBarText(qs(*accepted));
    }
}

// ---- the formula commands

void TableWindow::checkAllFormulas() {
    commitEditor();
    if (CheckAllFormulas(document_) > 0) {
        model_->cellsChanged();
        showPosition();
    }
}

void TableWindow::computeAllFormulas() {
    commitEditor();
    if (ComputeAllFormulas(document_, host_.prompter())) {
        model_->cellsChanged();
        showPosition();
    }
}

// ---- the comma-separated export

void TableWindow::saveCsv() {
    commitEditor();
    menuSaveCVS(document_.table, FormulaValues(document_.table), host_.prompter(), windowStatus());
}

// ---- the exchange dialogs

void TableWindow::importSomeData() {
    commitEditor();
    // The dialog takes the undo snapshot as it opens, so undo is there whatever the dialog does.
    const bool imported = RunPartialImportDialog(document_, host_.prompter(), host_.statusSink(),
                                                 host_.dialogRunner(), host_.dialogOwner());
    if (imported) {
        model_->cellsChanged();
        showPosition();
    }
}

void TableWindow::exportSomeData() {
    commitEditor();
    std::optional<std::string> exported = RunPartialExportDialog(
        document_.table, host_.prompter(), host_.statusSink(), host_.dialogRunner(), host_.dialogOwner());
    if (exported) {
        host_.openDataFile(*exported);
    }
}

void TableWindow::convertFoxPro() {
    commitEditor();
    RunDbfConverterDialog(host_.prompter(), host_.statusSink(), host_.dialogRunner(), host_.dialogOwner());
}

void TableWindow::showStatistics() {
    commitEditor();
    std::optional<ClassStatistics> result =
        RunStatisticsDialog(document_.table, host_.prompter(), host_.dialogRunner(), host_.dialogOwner());
    if (result) {
        host_.openNewTable(std::move(result->figures), NewTableKind::Result);
        host_.openNewTable(std::move(result->bands), NewTableKind::Result);
    }
}

void TableWindow::showProgress() {
    commitEditor();
    if (auto result = RunExamProgressDialog(document_.table, host_.prompter(), host_.dialogRunner(),
                                            host_.dialogOwner())) {
        host_.openNewTable(std::move(*result), NewTableKind::Result);
    }
}

void TableWindow::showStandardScores() {
    commitEditor();
    if (auto result = RunStandardScoresDialog(document_.table, host_.prompter(), host_.dialogRunner(),
                                              host_.dialogOwner())) {
        host_.openNewTable(std::move(*result), NewTableKind::Result);
    }
}

void TableWindow::showScoreAssignment() {
    commitEditor();
    if (auto result = RunTableScoreAssignmentDialog(document_.table, host_.prompter(), host_.dialogRunner(),
                                                    host_.dialogOwner())) {
        host_.openNewTable(std::move(*result), NewTableKind::Result);
    }
}

void TableWindow::showMarkLevels() {
    commitEditor();
    MarkLevelsTables result =
        RunMarkLevelsDialog(document_.table, host_.prompter(), host_.dialogRunner(), host_.dialogOwner());
    if (result.levels) {
        host_.openNewTable(std::move(*result.levels), NewTableKind::Result);
    }
    if (result.distribution) {
        host_.openNewTable(std::move(*result.distribution), NewTableKind::Result);
    }
}

}  // namespace scorvane
