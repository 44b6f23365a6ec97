#include "main/workspace/ui/table_recovery_offer.h"

#include "common/qt/dialog_runner.h"
#include "common/qt/recovery/recovery_copier.h"
#include "common/qt/recovery/recovery_offer_dialog.h"
#include "common/recovery/recovery_store.h"
#include "main/document/table_recovery.h"
#include "main/document/ui/table_copier.h"
#include "main/document/ui/table_window.h"
#include "main/workspace/ui/main_window.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The copy in a window of its own, its file claimed first as opening the table claims it; nothing when
// the lock question was answered 取消 (the copy stays for the next start).
TableWindow* openCopy(MainWindow& frame, RecoveryStore& store, const TableCopy& copy) {
    OpenClaim claim = ClaimRecoveredTable(copy, LockIdentity::ThisProgram(), frame.prompter());
    if (claim.mode == OpenClaim::Mode::Cancelled) {
        return nullptr;
    }
    TableWindow* window = frame.newTableWindow();
    if (RecoveryCopier* copier = TableCopierOf(*window)) {
        copier->adopt(copy.id);
    }
    store.adopt(copy.id, std::string(kTableCopyExtension), *copy.info);
    RecoverTable(window->document(), copy, std::move(claim));
    window->tableReset();
    window->refreshCaption();
    window->setCurrentCell(1, 0);
    return window;
}

}  // namespace

QList<TableWindow*> OfferTableRecovery(MainWindow& frame, RecoveryStore& store,
                                       const std::string& workspace) {
    const std::vector<TableCopy> copies = FindTableCopies(store.folder(), workspace);
    QList<TableWindow*> opened;
    if (copies.empty()) {
        return opened;
    }
    QList<RecoveryOfferDialog::Line> lines;
    for (const TableCopyRow& row : DescribeTableCopies(copies, DataFolder())) {
        lines.append({{qs(row.table), qs(row.className), qs(row.time)}, row.damaged});
    }
    RecoveryOfferDialog dialog(qs(kTableOfferTitle), qs(kTableOfferHint),
                               {QStringLiteral("表格"), QStringLiteral("班级"), QStringLiteral("副本时间")},
                               lines, frame.prompter(), &frame);
    frame.dialogRunner().run(dialog);
    const std::vector<bool> ticked = dialog.ticked();
    for (size_t i : CopiesToRemove(dialog.choice(), ticked)) {
        store.writer().remove(copies[i].id, std::string(kTableCopyExtension));
    }
    for (size_t i : CopiesToRecover(dialog.choice(), ticked, dialog.damaged())) {
        if (TableWindow* window = openCopy(frame, store, copies[i])) {
            opened.append(window);
        }
    }
    return opened;
}

}  // namespace scorvane
