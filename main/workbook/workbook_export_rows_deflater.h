#pragma once

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <sys/types.h>

struct lxw_worksheet;

namespace scorvane {

// The rows of an exported workbook's sheet, deflated on a thread of their own while the workbook library
// writes them.
//
// In its constant-memory mode libxlsxwriter writes each finished row of the sheet to a scratch stream.
// When the workbook is closed it copies that stream into the sheet's part, and only then deflates the
// part into the archive: on a long sheet that last step is a third of the export, with nothing else left
// to do meanwhile. Given this deflater's stream instead, the rows are deflated as they are written. The
// stream reads back empty, so the sheet's part reaches the archive as the text before the rows and the
// text after them; the part is stored as that first text deflated, the rows deflated already, and the
// last text deflated, which together make one deflate stream, with the whole part's checksum and size.
//
// The archive side is minizip's entry points, which every program that links the export defines and
// passes on to minizip (sheet_rows_deflater.cpp). A deflater attached to a sheet is the current one of
// its thread until it is destroyed; libxlsxwriter closes the workbook on the thread that writes it.
class SheetRowsDeflater {
  public:
    SheetRowsDeflater();
    ~SheetRowsDeflater();
    SheetRowsDeflater(const SheetRowsDeflater&) = delete;
    SheetRowsDeflater& operator=(const SheetRowsDeflater&) = delete;

    // Gives the sheet this deflater's stream in place of its scratch file. False if the stream cannot be
    // made; the sheet then keeps its scratch file and is archived as the library does it.
    bool attach(lxw_worksheet* sheet);

    // The deflater attached on this thread, or none.
    static SheetRowsDeflater* current();

    // The sheet's part in the archive ("xl/worksheets/sheet1.xml").
    static bool isSheetPart(const char* name);

    // Whether the sheet's part must be stored through this deflater: its rows were written here.
    bool holdsRows() const { return closed_ || written_ > 0; }

    // The sheet's part as it reaches the archive member opened as `member`, without its rows.
    void startPart(const void* member) { member_ = member, part_.clear(); }
    bool collecting(const void* member) const { return member_ && member_ == member; }
    void collectPart(const void* bytes, size_t size) { part_.append(static_cast<const char*>(bytes), size); }
    void endPart() { member_ = nullptr; }

    // The part's stored bytes (the text before the rows deflated, the rows deflated, the text after
    // them deflated), its checksum and size, once the rows are all deflated and the part is collected.
    // False if the rows were not all written, could not be deflated, or the part does not show where its
    // rows go.
    struct StoredPart {
        std::string before;
        const std::vector<std::string>* rows = nullptr;
        std::string after;
        unsigned long checksum = 0;
        uint64_t size = 0;
    };
    bool storedPart(StoredPart& stored) const;

  private:
    static ssize_t write(void* self, const char* bytes, size_t size);
    static int close(void* self);
    void work();
    void hand(std::string&& piece);

    static constexpr size_t kPieceBytes = 128 * 1024;
    static constexpr size_t kPiecesWaiting = 3;

    FILE* stream_ = nullptr;
    bool closed_ = false;  // the library closed the stream: every row is written
    uint64_t written_ = 0;
    const void* member_ = nullptr;  // the archive's member being collected
    std::string filling_;           // rows written since the last piece was handed on
    std::string part_;              // the sheet's part without its rows

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> waiting_;
    bool ended_ = false;
    bool failed_ = false;
    std::vector<std::string> rows_;  // the rows deflated, in pieces, ending on a byte boundary, not the
                                     // stream's last block
    unsigned long rowsChecksum_ = 0;
    uint64_t rowsSize_ = 0;
    std::thread worker_;
};

}  // namespace scorvane
