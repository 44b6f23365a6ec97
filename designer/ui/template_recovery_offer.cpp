#include "designer/ui/template_recovery_offer.h"

#include "common/qt/dialog_runner.h"
#include "common/qt/recovery/recovery_copier.h"
#include "common/qt/recovery/recovery_offer_dialog.h"
#include "common/recovery/recovery_store.h"
#include "designer/template_recovery.h"
#include "designer/ui/designer_window.h"
#include "designer/ui/template_copier.h"

namespace scorvane::designer {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The copy in the window, its file claimed first as opening the template claims it; false when the lock
// question was answered 取消 (the copy stays for the next start).
bool takeInto(DesignerWindow& window, RecoveryStore& store, const TemplateCopy& copy) {
    OpenClaim claim = ClaimRecoveredTemplate(copy, window.document().file.identity(), window.prompter());
    if (claim.mode == OpenClaim::Mode::Cancelled) {
        return false;
    }
    if (RecoveryCopier* copier = TemplateCopierOf(window)) {
        copier->adopt(copy.id);
    }
    store.adopt(copy.id, std::string(kTemplateCopyExtension), *copy.info);
    RecoverTemplate(window.document(), copy, std::move(claim));
    window.showDocument();
    return true;
}

}  // namespace

bool OfferTemplateRecovery(DesignerWindow& window, RecoveryStore& store,
                           const std::function<void(const std::string& id)>& startAnother) {
    const std::vector<TemplateCopy> copies = FindTemplateCopies(store.folder());
    if (copies.empty()) {
        return false;
    }
    QList<RecoveryOfferDialog::Line> lines;
    for (const TemplateCopy& copy : copies) {
        const TemplateCopyRow row = DescribeTemplateCopy(copy);
        lines.append({{qs(row.name), qs(row.folder), qs(row.time)}, row.damaged});
    }
    RecoveryOfferDialog dialog(qs(kTemplateOfferTitle), qs(kTemplateOfferHint),
                               {QStringLiteral("报表"), QStringLiteral("位置"), QStringLiteral("副本时间")},
                               lines, window.prompter(), &window);
    window.dialogs().run(dialog);
    const std::vector<bool> ticked = dialog.ticked();
    for (size_t i : CopiesToRemove(dialog.choice(), ticked)) {
        store.writer().remove(copies[i].id, std::string(kTemplateCopyExtension));
    }
    bool tookOne = false;
    for (size_t i : CopiesToRecover(dialog.choice(), ticked, dialog.damaged())) {
        if (!tookOne) {
            tookOne = takeInto(window, store, copies[i]);
        } else {
            startAnother(copies[i].id);
        }
    }
    return tookOne;
}

bool RecoverTemplateCopy(DesignerWindow& window, RecoveryStore& store, const std::string& id) {
    for (const TemplateCopy& copy : FindTemplateCopies(store.folder())) {
        if (copy.id == id && !copy.damaged()) {
            return takeInto(window, store, copy);
        }
    }
    return false;
}

}  // namespace scorvane::designer
