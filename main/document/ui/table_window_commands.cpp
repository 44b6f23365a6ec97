// The table window's commands over the core: the field menu with its templates, the formula
// commands and the comma-separated export.
#include <QAction>
#include <QMenu>
#include <QTableView>

#include "main/document/cell_value.h"
#include "main/document/field_commands.h"
#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/table_window.h"
#include "main/document/ui/table_window_host.h"
#include "main/exchange/csv_export.h"
#include "main/formula/formula_commands.h"

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
    fieldManagerAction_ = fieldMenu_->addAction(QStringLiteral("表格字段管理(&A)"));
    fieldManagerAction_->setObjectName("menuAddTitle");
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
        QAction* a = fieldMenu_->addAction(QString(fileName).replace('&', QStringLiteral("&&")));
        a->setObjectName("menuModel");
        a->setData(fileName);
        connect(a, &QAction::triggered, this, [this, fileName] { applyFieldTemplate(fileName); });
        templateItems_ << a;
    }
}

void TableWindow::insertColumn() {
    commitEditor();
    if (InsertColumn(document_, col_, host_.prompter()) >= 0) {
        tableReset();
    }
    setUndoEnabled();
}

void TableWindow::removeColumn() {
    commitEditor();
    if (RemoveColumn(document_, col_)) {
        tableReset();
    }
    setUndoEnabled();
}

void TableWindow::renameColumn() {
    commitEditor();
    if (RenameColumn(document_, col_, host_.prompter())) {
        tableReset();
    }
    setUndoEnabled();
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
    setUndoEnabled();
}

// ---- the formula commands

void TableWindow::checkAllFormulas() {
    commitEditor();
    if (CheckAllFormulas(document_) > 0) {
        model_->cellsChanged();
        showPosition();
    }
    setUndoEnabled();
}

void TableWindow::computeAllFormulas() {
    commitEditor();
    if (ComputeAllFormulas(document_, host_.prompter())) {
        model_->cellsChanged();
        showPosition();
    }
    setUndoEnabled();
}

// ---- the comma-separated export

void TableWindow::saveCsv() {
    commitEditor();
    menuSaveCVS(document_.table, FormulaValues(document_.table), host_.prompter(), windowStatus());
}

}  // namespace scorvane
