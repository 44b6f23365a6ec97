#include "main/workbook/workbook_export_rows_deflater.h"

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include <dlfcn.h>

// minizip's entry points as this program defines them (below).
extern "C" {
int zipOpenNewFileInZip4_64(void* file, const char* filename, const void* zipfi, const void* extrafieldLocal,
                            unsigned sizeExtrafieldLocal, const void* extrafieldGlobal,
                            unsigned sizeExtrafieldGlobal, const char* comment, int method, int level,
                            int raw, int windowBits, int memLevel, int strategy, const char* password,
                            unsigned long crcForCrypting, unsigned long versionMadeBy, unsigned long flagBase,
                            int zip64);
int zipWriteInFileInZip(void* file, const void* buf, unsigned len);
int zipCloseFileInZip(void* file);
}

namespace scorvane {

namespace {

// Whether libxlsxwriter reaches minizip through this program's entry points: the program exports them,
// so that they come first for the dynamic linker. A program that does not leaves the rows to the library.
bool entryPointsBound() {
    static const bool bound =
        dlsym(RTLD_DEFAULT, "zipOpenNewFileInZip4_64") == reinterpret_cast<void*>(&zipOpenNewFileInZip4_64) &&
        dlsym(RTLD_DEFAULT, "zipWriteInFileInZip") == reinterpret_cast<void*>(&zipWriteInFileInZip) &&
        dlsym(RTLD_DEFAULT, "zipCloseFileInZip") == reinterpret_cast<void*>(&zipCloseFileInZip);
    return bound;
}

thread_local SheetRowsDeflater* tCurrent = nullptr;

// Every part of the workbook is deflated at zlib's fastest level: libxlsxwriter asks for the default
// level (6) and offers no setting for it. Level 1 writes a file about a sixth larger in well under half
// the time.
constexpr int kLevel = Z_BEST_SPEED;

// Deflates `text` into `out` through `z`, then flushes as `flush` asks.
bool deflateInto(z_stream& z, std::string_view text, int flush, std::string& out) {
    constexpr size_t kRoom = 64 * 1024;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    for (;;) {
        const size_t had = out.size();
        out.resize(had + kRoom);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + had);
        z.avail_out = static_cast<uInt>(kRoom);
        const int result = deflate(&z, flush);
        out.resize(had + kRoom - z.avail_out);
        if (result == Z_STREAM_ERROR) {
            return false;
        }
        if (flush == Z_FINISH ? result == Z_STREAM_END : z.avail_out != 0) {
            return true;
        }
    }
}

// A raw deflate stream of its own for `text`, ended as `flush` asks.
bool deflateText(std::string_view text, int flush, std::string& out) {
    z_stream z{};
    if (deflateInit2(&z, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return false;
    }
    const bool done = deflateInto(z, text, flush, out);
    deflateEnd(&z);
    return done;
}

unsigned long checksum(std::string_view text) {
    return crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(text.data()), text.size());
}

}  // namespace

SheetRowsDeflater::SheetRowsDeflater() = default;

SheetRowsDeflater::~SheetRowsDeflater() {
    if (stream_) {
        fclose(stream_);  // the library never closed it; this ends the worker
    }
    if (worker_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
        }
        changed_.notify_all();
        worker_.join();
    }
    if (tCurrent == this) {
        tCurrent = nullptr;
    }
}

bool SheetRowsDeflater::attach(lxw_worksheet* sheet) {
    if (!sheet || !sheet->optimize_tmpfile || sheet->file != sheet->optimize_tmpfile || stream_ ||
        !entryPointsBound()) {
        return false;
    }
    cookie_io_functions_t io{};
    io.read = [](void*, char*, size_t) -> ssize_t { return 0; };  // the rows read back as none
    io.write = &SheetRowsDeflater::write;
    io.seek = [](void*, off64_t* offset, int whence) -> int {  // the library rewinds before it reads
        return *offset == 0 && whence == SEEK_SET ? 0 : -1;
    };
    io.close = &SheetRowsDeflater::close;
    stream_ = fopencookie(this, "w+", io);
    if (!stream_) {
        return false;
    }
    worker_ = std::thread([this] { work(); });
    fclose(sheet->optimize_tmpfile);
    sheet->optimize_tmpfile = stream_;
    sheet->file = stream_;
    tCurrent = this;
    return true;
}

SheetRowsDeflater* SheetRowsDeflater::current() {
    return tCurrent;
}

bool SheetRowsDeflater::isSheetPart(const char* name) {
    return name && std::strcmp(name, "xl/worksheets/sheet1.xml") == 0;
}

ssize_t SheetRowsDeflater::write(void* self, const char* bytes, size_t size) {
    auto* deflater = static_cast<SheetRowsDeflater*>(self);
    deflater->filling_.append(bytes, size);
    deflater->written_ += size;
    if (deflater->filling_.size() >= kPieceBytes) {
        deflater->hand(std::exchange(deflater->filling_, {}));
        deflater->filling_.reserve(kPieceBytes + BUFSIZ);
    }
    return static_cast<ssize_t>(size);
}

int SheetRowsDeflater::close(void* self) {
    auto* deflater = static_cast<SheetRowsDeflater*>(self);
    if (!deflater->filling_.empty()) {
        deflater->hand(std::exchange(deflater->filling_, {}));
    }
    {
        std::lock_guard lock(deflater->mutex_);
        deflater->ended_ = true;
    }
    deflater->changed_.notify_all();
    deflater->worker_.join();
    deflater->stream_ = nullptr;
    deflater->closed_ = true;
    return deflater->failed_ ? -1 : 0;
}

void SheetRowsDeflater::hand(std::string&& piece) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < kPiecesWaiting; });
    waiting_.push_back(std::move(piece));
    changed_.notify_all();
}

void SheetRowsDeflater::work() {
    z_stream z{};
    bool ok = deflateInit2(&z, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    const bool begun = ok;
    std::vector<std::string> rows;
    std::string filling;  // the rows' deflated bytes are kept in pieces of about a megabyte
    constexpr size_t kRowsPiece = 1024 * 1024;
    filling.reserve(kRowsPiece + 64 * 1024);
    unsigned long rowsChecksum = crc32(0, nullptr, 0);
    uint64_t rowsSize = 0;
    for (;;) {
        std::string piece;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !waiting_.empty() || ended_; });
            if (waiting_.empty()) {
                break;
            }
            piece = std::move(waiting_.front());
            waiting_.pop_front();
        }
        changed_.notify_all();
        if (ok) {
            rowsChecksum = crc32_z(rowsChecksum, reinterpret_cast<const Bytef*>(piece.data()), piece.size());
            rowsSize += piece.size();
            ok = deflateInto(z, piece, Z_NO_FLUSH, filling);
            if (filling.size() >= kRowsPiece) {
                rows.push_back(std::exchange(filling, {}));
                filling.reserve(kRowsPiece + 64 * 1024);
            }
        }
    }
    // A sync flush ends the rows on a byte boundary without ending the stream: the part's last text
    // follows as the stream's last block.
    ok = ok && deflateInto(z, {}, Z_SYNC_FLUSH, filling);
    rows.push_back(std::move(filling));
    if (begun) {
        deflateEnd(&z);
    }
    std::lock_guard lock(mutex_);
    rows_ = std::move(rows);
    rowsChecksum_ = rowsChecksum;
    rowsSize_ = rowsSize;
    failed_ = !ok;
}

bool SheetRowsDeflater::storedPart(StoredPart& stored) const {
    // The library writes the rows between these two tags; the cells' own text has its '<' escaped.
    constexpr std::string_view kOpen = "<sheetData>";
    constexpr std::string_view kRowsGoHere = "<sheetData></sheetData>";
    if (!closed_ || failed_) {
        return false;
    }
    const size_t at = part_.find(kRowsGoHere);
    if (at == std::string::npos || part_.find(kRowsGoHere, at + 1) != std::string::npos) {
        return false;
    }
    const std::string_view before = std::string_view(part_).substr(0, at + kOpen.size());
    const std::string_view after = std::string_view(part_).substr(at + kOpen.size());
    stored.before.clear();
    stored.after.clear();
    stored.rows = &rows_;
    if (!deflateText(before, Z_SYNC_FLUSH, stored.before) || !deflateText(after, Z_FINISH, stored.after)) {
        return false;
    }
    const auto rowsSize = static_cast<z_off_t>(rowsSize_);
    stored.checksum = crc32_combine(crc32_combine(checksum(before), rowsChecksum_, rowsSize), checksum(after),
                                    static_cast<z_off_t>(after.size()));
    stored.size = before.size() + rowsSize_ + after.size();
    return true;
}

}  // namespace scorvane

// minizip's entry points that libxlsxwriter calls to add each part to the archive. Every program that
// links the export defines them, so the dynamic linker binds the library to these definitions; they pass
// every call on to minizip's own functions, with the fastest level, and store the sheet's part through
// the current thread's rows deflater when its rows were written there. (Should a later libxlsxwriter call
// other entry points, these are simply not used: the workbook is then compressed as the library does it,
// and a sheet whose rows went to a deflater fails to be written rather than lose them.)
namespace {

constexpr int kZipOk = 0;
constexpr int kZipInternalError = -104;

template <typename Function>
Function minizip(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

using ZipOpenNewFile = int (*)(void* file, const char* filename, const void* zipfi,
                               const void* extrafieldLocal, unsigned sizeExtrafieldLocal,
                               const void* extrafieldGlobal, unsigned sizeExtrafieldGlobal,
                               const char* comment, int method, int level, int raw, int windowBits,
                               int memLevel, int strategy, const char* password, unsigned long crcForCrypting,
                               unsigned long versionMadeBy, unsigned long flagBase, int zip64);
using ZipWriteInFile = int (*)(void* file, const void* buf, unsigned len);
using ZipCloseFile = int (*)(void* file);
using ZipCloseFileRaw = int (*)(void* file, uint64_t uncompressedSize, unsigned long crc32);

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int zipOpenNewFileInZip4_64(
    void* file, const char* filename, const void* zipfi, const void* extrafieldLocal,
    unsigned sizeExtrafieldLocal, const void* extrafieldGlobal, unsigned sizeExtrafieldGlobal,
    const char* comment, int method, int level, int raw, int windowBits, int memLevel, int strategy,
    const char* password, unsigned long crcForCrypting, unsigned long versionMadeBy, unsigned long flagBase,
    int zip64) {
    static const auto open = minizip<ZipOpenNewFile>("zipOpenNewFileInZip4_64");
    if (!open) {
        return kZipInternalError;  // the workbook is reported as not written
    }
    scorvane::SheetRowsDeflater* rows = scorvane::SheetRowsDeflater::current();
    const bool throughRows = rows && !raw && method == Z_DEFLATED &&
                             scorvane::SheetRowsDeflater::isSheetPart(filename) && rows->holdsRows();
    const int opened =
        open(file, filename, zipfi, extrafieldLocal, sizeExtrafieldLocal, extrafieldGlobal,
             sizeExtrafieldGlobal, comment, method, level == 0 ? 0 : scorvane::kLevel, throughRows ? 1 : raw,
             windowBits, memLevel, strategy, password, crcForCrypting, versionMadeBy, flagBase, zip64);
    if (opened == kZipOk && throughRows) {
        rows->startPart(file);
    }
    return opened;
}

__attribute__((visibility("default"))) int zipWriteInFileInZip(void* file, const void* buf, unsigned len) {
    static const auto write = minizip<ZipWriteInFile>("zipWriteInFileInZip");
    if (scorvane::SheetRowsDeflater* rows = scorvane::SheetRowsDeflater::current();
        rows && rows->collecting(file)) {
        rows->collectPart(buf, len);
        return kZipOk;
    }
    return write ? write(file, buf, len) : kZipInternalError;
}

__attribute__((visibility("default"))) int zipCloseFileInZip(void* file) {
    static const auto closeFile = minizip<ZipCloseFile>("zipCloseFileInZip");
    static const auto closeRaw = minizip<ZipCloseFileRaw>("zipCloseFileInZipRaw64");
    static const auto write = minizip<ZipWriteInFile>("zipWriteInFileInZip");
    scorvane::SheetRowsDeflater* rows = scorvane::SheetRowsDeflater::current();
    if (!rows || !rows->collecting(file)) {
        return closeFile ? closeFile(file) : kZipInternalError;
    }
    rows->endPart();
    if (!closeRaw || !write) {
        return kZipInternalError;
    }
    scorvane::SheetRowsDeflater::StoredPart stored;
    if (!rows->storedPart(stored)) {
        closeRaw(file, 0, 0);
        return kZipInternalError;
    }
    int written = kZipOk;
    const auto store = [&](const std::string& bytes) {
        for (size_t at = 0; at < bytes.size() && written == kZipOk;) {
            const size_t piece = std::min<size_t>(bytes.size() - at, UINT_MAX / 2);
            written = write(file, bytes.data() + at, static_cast<unsigned>(piece));
            at += piece;
        }
    };
    store(stored.before);
    for (const std::string& piece : *stored.rows) {
        store(piece);
    }
    store(stored.after);
    const int closed = closeRaw(file, stored.size, stored.checksum);
    return written != kZipOk ? written : closed;
}

}  // extern "C"
