#include "main/workbook/workbook_import.h"

#include <fstream>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "main/workbook/ods_reader.h"
#include "main/workbook/xls_reader.h"
#include "main/workbook/xlsx_reader.h"

namespace scorvane {
namespace {

constexpr std::string_view kZipMagic("PK\x03\x04", 4);
constexpr std::string_view kCompoundMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr std::string_view kOdsMime = "application/vnd.oasis.opendocument.spreadsheet";

SheetError readZip(ZipArchive& archive, const SheetChoice& choice, SheetGrid& out) {
    // An OpenDocument package names its type in "mimetype"; anything else is taken as Office Open XML.
    std::string mime;
    const int64_t mimetype = archive.find("mimetype");
    if (mimetype >= 0 && !archive.readAll(mimetype, mime, 256)) {
        return SheetError::Format;
    }
    if (mime.rfind(kOdsMime, 0) == 0 || (mimetype < 0 && archive.find("content.xml") >= 0)) {
        return ReadOds(archive, choice, out);
    }
    return ReadXlsx(archive, choice, out);
}

}  // namespace

SheetError ReadWorkbook(const std::string& path, const SheetChoice& choice, SheetGrid& out) {
    std::string head(8, '\0');
    {
        std::ifstream in(path, std::ios::binary);
        if (!in.read(head.data(), static_cast<std::streamsize>(head.size()))) {
            return SheetError::Format;
        }
    }
    if (head.rfind(kZipMagic, 0) == 0) {
        ZipArchive archive;
        if (!archive.openFile(path)) {
            return SheetError::Format;
        }
        return readZip(archive, choice, out);
    }
    if (head == kCompoundMagic) {
        return ReadXls(path, choice, out);
    }
    return SheetError::Format;
}

SheetError ReadZipWorkbook(std::string_view bytes, const SheetChoice& choice, SheetGrid& out) {
    ZipArchive archive;
    if (bytes.rfind(kZipMagic, 0) != 0 || !archive.openBytes(bytes)) {
        return SheetError::Format;
    }
    return readZip(archive, choice, out);
}

std::string LoadWorkbookSheet(const std::string& path, const SheetChoice& choice, SheetGrid& grid) {
    if (!FileExists(path)) {
        return std::string(kMissingFileMessage) + path;
    }
    switch (ReadWorkbook(path, choice, grid)) {
        case SheetError::None:
            return {};
        case SheetError::MissingSheet:
            return std::string(kMissingSheetMessage) +
                   (choice.name.empty() ? std::to_string(choice.index + 1) : choice.name);
        case SheetError::Format:
            break;
    }
    return std::string(kFormatMessage);
}

SheetTable ImportWorkbook(const std::string& path, const SheetChoice& choice, int headerRow,
                          SheetGrid& grid) {
    std::string message = LoadWorkbookSheet(path, choice, grid);
    if (!message.empty()) {
        SheetTable out;
        out.message = std::move(message);
        return out;
    }
    return SheetToGradeTable(std::move(grid), headerRow);
}

}  // namespace scorvane
