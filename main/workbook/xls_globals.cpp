#include "main/workbook/xls_globals.h"

#include <unordered_map>

#include "main/workbook/xls_records.h"

namespace scorvane {
namespace {

constexpr uint16_t kFilePass = 0x002F;
constexpr uint16_t kCodePage = 0x0042;
constexpr uint16_t kDateMode = 0x0022;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kFormat = 0x041E;
constexpr uint16_t kXf = 0x00E0;
constexpr uint16_t kSst = 0x00FC;
constexpr size_t kMaxStyles = 65536;
constexpr size_t kMaxSheets = 65535;

class GlobalsReader {
  public:
    explicit GlobalsReader(XlsGlobals& out) : out_(out) {}

    bool record(const XlsRecord& record) {
        XlsRecordReader r(record);
        switch (record.type) {
            case kFilePass:
                return false;  // encrypted
            case kCodePage: {
                uint16_t page = 0;
                if (!r.u16(page)) {
                    return false;
                }
                out_.codePage = page;
                codePage_.select(page);
                return true;
            }
            case kDateMode: {
                uint16_t mode = 0;
                if (!r.u16(mode)) {
                    return false;
                }
                out_.date1904 = mode == 1;
                return true;
            }
            case kBoundSheet: {
                XlsGlobals::Sheet sheet;
                if (!r.u32(sheet.offset) || !r.skip(2) || !string(r, true, sheet.name) ||
                    out_.sheets.size() >= kMaxSheets) {
                    return false;
                }
                out_.sheets.push_back(std::move(sheet));
                return true;
            }
            case kFormat: {
                uint16_t id = 0;
                std::string code;
                if (!r.u16(id) || !string(r, !out_.biff8, code)) {
                    return false;
                }
                formats_[id] = DateKindOfFormat(code);
                return true;
            }
            case kXf: {
                uint16_t format = 0;
                if (!r.skip(2) || !r.u16(format) || styleFormats_.size() >= kMaxStyles) {
                    return false;
                }
                styleFormats_.push_back(format);
                return true;
            }
            case kSst:
                return out_.biff8 ? sharedStrings(r) : true;
            default:
                return true;
        }
    }

    void finish() {
        out_.styleKinds.reserve(styleFormats_.size());
        for (uint16_t format : styleFormats_) {
            const auto custom = formats_.find(format);
            out_.styleKinds.push_back(custom != formats_.end() ? custom->second : DateKindOfBuiltinFormat(format));
        }
    }

  private:
    bool string(XlsRecordReader& r, bool shortCount, std::string& out) {
        return out_.biff8 ? r.unicodeString(shortCount, false, out) : r.byteString(shortCount, codePage_, out);
    }

    // The shared strings: as many as the record says, or as its CONTINUE records hold.
    bool sharedStrings(XlsRecordReader& r) {
        uint32_t unique = 0;
        if (!r.skip(4) || !r.u32(unique)) {
            return false;
        }
        std::string text;
        for (uint32_t i = 0; i < unique && !r.atEnd(); ++i) {
            if (!r.unicodeString(false, true, text)) {
                return false;
            }
            out_.sharedText += TableLineBreaks(std::move(text));
            out_.sharedEnds.push_back(static_cast<uint32_t>(out_.sharedText.size()));
        }
        return true;
    }

    XlsGlobals& out_;
    XlsCodePage codePage_;
    std::unordered_map<uint16_t, DateKind> formats_;  // the number formats the workbook defines
    std::vector<uint16_t> styleFormats_;
};

}  // namespace

bool ReadXlsGlobals(XlsStream& stream, XlsGlobals& out) {
    out = XlsGlobals();
    XlsRecords records(stream, 0);
    XlsRecord record;
    uint16_t version = 0;
    if (!records.next(record) || record.type != xls::kBof || !XlsRecordReader(record).u16(version)) {
        return false;
    }
    out.biff8 = version == 0x0600;
    GlobalsReader reader(out);
    while (records.next(record)) {
        if (record.type == xls::kEof) {
            reader.finish();
            return !out.sheets.empty();
        }
        if (record.type == xls::kBof || !reader.record(record)) {
            return false;
        }
    }
    return false;
}

}  // namespace scorvane
