#include "designer/ui/template_copier.h"

#include <memory>

#include "common/qt/recovery/recovery_copier.h"
#include "designer/template_recovery.h"
#include "designer/ui/designer_window.h"

namespace scorvane::designer {

RecoveryCopier* AttachTemplateCopier(DesignerWindow& window, RecoveryStore& store) {
    auto take = [&window]() -> std::function<std::string()> {
        auto report = std::make_shared<ReportTemplate>(window.document().toReportTemplate());
        return [report] { return TemplateCopyBytes(*report); };
    };
    auto describe = [&window] { return TemplateCopyInfo(window.document()); };
    auto* copier = new RecoveryCopier(store, std::string(kTemplateCopyExtension), take, describe, &window);
    copier->setObjectName(QStringLiteral("templateCopier"));
    window.document().onChange = [copier] { copier->edited(); };
    QObject::connect(&window, &DesignerWindow::templateSettled, copier, &RecoveryCopier::settled);
    return copier;
}

RecoveryCopier* TemplateCopierOf(const DesignerWindow& window) {
    return window.findChild<RecoveryCopier*>(QStringLiteral("templateCopier"), Qt::FindDirectChildrenOnly);
}

}  // namespace scorvane::designer
