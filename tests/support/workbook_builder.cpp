#include "support/workbook_builder.h"

#include <zip.h>

#include <stdexcept>

namespace scorvane::testing {

std::string ZipBytes(const ZipMembers& members, bool stored) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        throw std::runtime_error("zip_open_from_source");
    }
    for (const auto& [name, bytes] : members) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0) {
        throw std::runtime_error("zip_close");
    }
    std::string out;
    zip_source_open(buffer);
    zip_source_seek(buffer, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(buffer);
    zip_source_seek(buffer, 0, SEEK_SET);
    out.resize(static_cast<size_t>(size));
    zip_source_read(buffer, out.data(), static_cast<zip_uint64_t>(size));
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return out;
}

namespace {

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kPackageRel = "http://schemas.openxmlformats.org/package/2006/relationships";

}  // namespace

std::string SheetData(const std::vector<std::string>& rows) {
    std::string xml = "<sheetData>";
    for (size_t i = 0; i < rows.size(); ++i) {
        xml += "<row r=\"" + std::to_string(i + 1) + "\">" + rows[i] + "</row>";
    }
    return xml + "</sheetData>";
}

ZipMembers XlsxParts(const XlsxBook& book) {
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    ZipMembers parts;
    std::string types = head +
                        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
    parts.emplace_back("[Content_Types].xml", types);
    parts.emplace_back("_rels/.rels", head + "<Relationships xmlns=\"" + kPackageRel +
                                          "\"><Relationship Id=\"rId1\" Type=\"" + kRel +
                                          "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    std::string workbook = head + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel + "\">" +
                           (book.date1904 ? "<workbookPr date1904=\"1\"/>" : "") + "<sheets>";
    std::string rels = head + "<Relationships xmlns=\"" + kPackageRel + "\">";
    for (size_t i = 0; i < book.sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        workbook +=
            "<sheet name=\"" + book.sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + kRel +
                "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        parts.emplace_back("xl/worksheets/sheet" + n + ".xml", head + "<worksheet xmlns=\"" + kMain +
                                                                   "\" xmlns:r=\"" + kRel + "\">" +
                                                                   book.sheets[i].second + "</worksheet>");
    }
    rels += std::string("<Relationship Id=\"rS\" Type=\"") + kRel +
            "/sharedStrings\" Target=\"sharedStrings.xml\"/><Relationship Id=\"rT\" Type=\"" + kRel +
            "/styles\" Target=\"/xl/styles.xml\"/></Relationships>";
    parts.emplace_back("xl/workbook.xml", workbook + "</sheets></workbook>");
    parts.emplace_back("xl/_rels/workbook.xml.rels", rels);
    std::string shared = head + "<sst xmlns=\"" + kMain + "\">";
    for (const std::string& s : book.shared) {
        shared += "<si><t xml:space=\"preserve\">" + s + "</t></si>";
    }
    parts.emplace_back("xl/sharedStrings.xml", shared + "</sst>");
    std::string styles = head + "<styleSheet xmlns=\"" + kMain + "\"><numFmts>" + book.numFmts +
                         "</numFmts><cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs><cellXfs>";
    for (int id : book.cellXfs) {
        styles += "<xf numFmtId=\"" + std::to_string(id) + "\"/>";
    }
    parts.emplace_back("xl/styles.xml", styles + "</cellXfs></styleSheet>");
    return parts;
}

std::string XlsxBytes(const XlsxBook& book) {
    return ZipBytes(XlsxParts(book));
}

ZipMembers OdsParts(const std::vector<std::pair<std::string, std::string>>& tables) {
    std::string content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
        "<office:body><office:spreadsheet>";
    for (const auto& [name, rows] : tables) {
        content += "<table:table table:name=\"" + name + "\">" + rows + "</table:table>";
    }
    content += "</office:spreadsheet></office:body></office:document-content>";
    return {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}};
}

std::string OdsBytes(const std::vector<std::pair<std::string, std::string>>& tables) {
    return ZipBytes(OdsParts(tables));
}

}  // namespace scorvane::testing
