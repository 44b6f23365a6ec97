#include "designer/ui/label_color_dialog.h"

#include <QColorDialog>

#include "common/qt/dialog_runner.h"
#include "designer/ui/page_widget.h"

namespace scorvane::designer {

std::optional<SurfaceColor> RunLabelColorDialog(SurfaceColor start, DialogRunner& runner, QWidget* owner) {
    QColorDialog dialog(owner);
    dialog.setObjectName("dlgLabelColor");
    dialog.setWindowTitle(QStringLiteral("颜色"));
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    dialog.setCurrentColor(LabelColor(start));
    if (runner.run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    const QColor chosen = dialog.selectedColor().isValid() ? dialog.selectedColor() : dialog.currentColor();
    return Rgb(chosen.red(), chosen.green(), chosen.blue());
}

}  // namespace scorvane::designer
