#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct zip;

namespace scorvane {

// A zip archive opened for reading a workbook's members as streams. It refuses, before anything is
// unpacked, an archive that cannot be read, holds an encrypted member, or whose members claim more
// than kMaxWorkbookBytes unpacked; while reading it stops at the same budget whatever the members
// claimed (a zip bomb).
class ZipArchive {
  public:
    ZipArchive();
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool openFile(const std::string& path);
    // The archive in memory; `bytes` must outlive the archive.
    bool openBytes(std::string_view bytes);

    // The member of that name (letter case ignored, as the containers' part names are), or -1.
    int64_t find(std::string_view name) const;
    // Hands the member's bytes to `chunk` in pieces; `chunk` returns false to stop. False when the
    // member is missing, damaged, or would take the archive over its budget.
    bool read(int64_t member, const std::function<bool(std::string_view)>& chunk);
    // The same into memory the caller hands out: `buffer(n)` gives room for n bytes, `filled(count)`
    // is told how many were unpacked there (and returns false to stop). Spares a copy of every byte
    // where the reader has a buffer of its own (the XML parser).
    bool readInto(int64_t member, const std::function<char*(size_t)>& buffer,
                  const std::function<bool(size_t)>& filled);
    // The bytes that may be unpacked in all (kMaxWorkbookBytes unless set otherwise).
    void setBudget(int64_t bytes) { budget_ = bytes; }

    // The unpacked size the member claims (its bytes may yet turn out fewer or refused), or -1.
    int64_t claimedSize(int64_t member) const;

    // The whole of a small member (at most `limit` bytes), or false.
    bool readAll(int64_t member, std::string& out, size_t limit = 4 << 20);

  private:
    bool check();
    zip* archive_ = nullptr;
    int64_t unpacked_ = 0;
    int64_t budget_;
};

}  // namespace scorvane
