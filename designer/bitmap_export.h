#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "common/drawing_surface.h"
#include "common/prompter.h"
#include "designer/template_document.h"

namespace scorvane::designer {

// The file dialogs of "导入图形表格样底(&I)" and "导出为&BMP文件": "Windows 位图 (*.bmp)"; the save
// dialog asks before replacing a file, and the name is used as given.
inline constexpr std::string_view kBitmapFilterDescription = "Windows 位图";
inline constexpr std::string_view kBitmapPattern = "*.bmp";
FileDialogSpec BitmapDialog(bool save);

// The page as the bitmap export draws it on a picture of the page's size: the background colour, every
// line in black, then every label's caption in its font and colour with its top-left corner at (Left,
// Top), each line of a caption starting at Left. No grid, no background picture, no selection colour
// and no label backgrounds. Line records that do not parse are passed over.
void DrawPagePicture(const TemplateDocument& doc, SurfaceColor background, DrawingSurface& picture);

// Makes a picture of the given size in twips at the screen's resolution.
using PictureMaker = std::function<std::unique_ptr<DrawingSurface>(double width, double height)>;

// "导出为&BMP文件": the save dialog, then the page drawn on a picture of the page's size (11907 × 16840
// twips portrait, turned for landscape) and saved as a Windows bitmap under the name exactly as given,
// atomically. A cancelled dialog does nothing; a picture that cannot be made or saved gives
// "文件保存失败！" (错误). True when the file was written.
bool ExportBitmap(const TemplateDocument& doc, SurfaceColor background, const PictureMaker& makePicture,
                  Prompter& prompter);

}  // namespace scorvane::designer
