#include "main/document/ui/table_copier.h"

#include <QLineEdit>
#include <memory>

#include "common/interface_input.h"
#include "common/qt/recovery/recovery_copier.h"
#include "main/document/data_file.h"
#include "main/document/table_recovery.h"
#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/table_window.h"

namespace scorvane {

RecoveryCopier* AttachTableCopier(TableWindow& window, RecoveryStore& store, const std::string& workspace) {
    auto take = [&window]() -> std::function<std::string()> {
        auto table = std::make_shared<GradeTable>(window.document().table);
        if (window.editing()) {
            const CellPosition cell = window.editorCell();
            if (table->contains(cell.row, cell.col)) {
                table->setCell(cell.row, cell.col, window.cellEditor()->text().toStdString());
            }
        }
        // Made in pieces, giving way to the keys typed meanwhile.
        return [table] { return SerializeDataFile(*table, [] { GiveWayToInterface(); }); };
    };
    auto describe = [&window, workspace] { return TableCopyInfo(window.document(), workspace); };
    auto* copier = new RecoveryCopier(store, std::string(kTableCopyExtension), take, describe, &window);
    copier->setObjectName(QStringLiteral("tableCopier"));

    window.document().setChangeListener([copier] { copier->edited(); });
    GradeTableModel& model = window.model();
    QObject::connect(&model, &QAbstractItemModel::modelReset, copier, &RecoveryCopier::changedInBulk);
    QObject::connect(&model, &QAbstractItemModel::dataChanged, copier,
                     [copier](const QModelIndex& from, const QModelIndex& to) {
                         if (from != to) {
                             copier->changedInBulk();
                         }
                     });
    QObject::connect(&window, &TableWindow::tableSaved, copier, &RecoveryCopier::settled);
    QObject::connect(&window, &TableWindow::closeAccepted, copier, &RecoveryCopier::settled);
    return copier;
}

void CopyMadeTableOnlyOnceChanged(TableWindow& window) {
    if (RecoveryCopier* copier = TableCopierOf(window)) {
        copier->settled();
    }
}

RecoveryCopier* TableCopierOf(const TableWindow& window) {
    return window.findChild<RecoveryCopier*>(QStringLiteral("tableCopier"), Qt::FindDirectChildrenOnly);
}

}  // namespace scorvane
