#include "designer/bitmap_export.h"

#include "common/report_template.h"
#include "designer/template_file_commands.h"

namespace scorvane::designer {

FileDialogSpec BitmapDialog(bool save) {
    FileDialogSpec spec;
    spec.description = std::string(kBitmapFilterDescription);
    spec.pattern = std::string(kBitmapPattern);
    spec.confirmOverwrite = save;
    return spec;
}

void DrawPagePicture(const TemplateDocument& doc, SurfaceColor background, DrawingSurface& picture) {
    const auto w = static_cast<double>(doc.pageWidth());
    const auto h = static_cast<double>(doc.pageHeight());
    picture.fillBox(0, 0, w, h, background);
    picture.setLineWidth(1);
    for (const std::string& record : doc.lines.records()) {
        DrawLines(record, false, picture);
    }
    for (const TemplateLabel& label : doc.labels.labels()) {
        picture.setFont(label.surfaceFont());
        picture.setTextColor(label.foreColor);
        picture.setCurrentX(label.left);
        picture.setCurrentY(label.top);
        picture.printText(label.caption);
    }
    picture.setTextColor(kBlack);
}

bool ExportBitmap(const TemplateDocument& doc, SurfaceColor background, const PictureMaker& makePicture,
                  Prompter& prompter) {
    const std::string path = prompter.chooseSaveFile(BitmapDialog(true));
    if (path.empty()) {
        return false;
    }
    std::unique_ptr<DrawingSurface> picture =
        makePicture(static_cast<double>(doc.pageWidth()), static_cast<double>(doc.pageHeight()));
    if (picture) {
        DrawPagePicture(doc, background, *picture);
    }
    if (!picture || picture->failed() || !picture->saveImage(path)) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return false;
    }
    return true;
}

}  // namespace scorvane::designer
