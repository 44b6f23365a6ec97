#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "main/workbook/sheet_value_text.h"
#include "main/workbook/xls_stream.h"

namespace scorvane {

// What the first part of a binary workbook's stream (its globals, from its BOF to its EOF) says about
// the whole workbook: its sheets, its date system, its cell styles' number formats and its shared strings.
struct XlsGlobals {
    bool biff8 = true;      // else BIFF5 (8-bit strings in the workbook's code page, no shared strings)
    bool date1904 = false;  // serial dates count from 1904-01-01
    uint16_t codePage = 0;  // 0: none given

    struct Sheet {
        std::string name;
        uint32_t offset = 0;  // of its BOF in the stream
    };
    std::vector<Sheet> sheets;  // every sheet, charts and hidden ones too, in order

    // How a cell style shows numbers (index: the style of a cell record; past the styles: a plain number).
    DateKind kindOfStyle(uint16_t xf) const {
        return xf < styleKinds.size() ? styleKinds[xf] : DateKind::None;
    }
    std::vector<DateKind> styleKinds;

    // The shared strings, their line breaks as a table holds them.
    size_t sharedCount() const { return sharedEnds.size(); }
    std::string_view shared(size_t i) const {
        const uint32_t begin = i == 0 ? 0 : sharedEnds[i - 1];
        return std::string_view(sharedText).substr(begin, sharedEnds[i] - begin);
    }
    std::string sharedText;
    std::vector<uint32_t> sharedEnds;
};

// Reads the globals at the start of a workbook stream. False when the stream starts with no BOF, the
// workbook is encrypted, a record the reader needs is shorter than its fields or a string runs past its
// record, there are no sheets, or the globals run on into a sheet without their own EOF.
bool ReadXlsGlobals(XlsStream& stream, XlsGlobals& out);

}  // namespace scorvane
