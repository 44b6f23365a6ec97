#include "main/workbook/zip_archive.h"

#include <zip.h>

#include <vector>

#include "main/workbook/sheet_grid.h"

namespace scorvane {

ZipArchive::ZipArchive() : budget_(kMaxWorkbookBytes) {}

ZipArchive::~ZipArchive() {
    if (archive_) {
        zip_discard(archive_);
    }
}

bool ZipArchive::openFile(const std::string& path) {
    int error = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
    return archive_ && check();
}

bool ZipArchive::openBytes(std::string_view bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!archive_) {
            zip_source_free(source);
        }
    }
    zip_error_fini(&error);
    return archive_ && check();
}

bool ZipArchive::check() {
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    if (count < 0) {
        return false;
    }
    int64_t claimed = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(i), 0, &st) != 0) {
            return false;
        }
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
            return false;
        }
        if (st.valid & ZIP_STAT_SIZE) {
            if (st.size > static_cast<zip_uint64_t>(budget_)) {
                return false;
            }
            claimed += static_cast<int64_t>(st.size);
            if (claimed > budget_) {
                return false;
            }
        }
    }
    return true;
}

int64_t ZipArchive::find(std::string_view name) const {
    if (!archive_) {
        return -1;
    }
    const std::string key(name);
    return zip_name_locate(archive_, key.c_str(), ZIP_FL_NOCASE);
}

int64_t ZipArchive::claimedSize(int64_t member) const {
    zip_stat_t st;
    if (!archive_ || member < 0 || zip_stat_index(archive_, static_cast<zip_uint64_t>(member), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE)) {
        return -1;
    }
    return static_cast<int64_t>(st.size);
}

bool ZipArchive::readInto(int64_t member, const std::function<char*(size_t)>& buffer,
                          const std::function<bool(size_t)>& filled) {
    if (!archive_ || member < 0) {
        return false;
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(member), 0);
    if (!file) {
        return false;
    }
    constexpr size_t kPiece = 1 << 16;
    bool ok = true;
    while (true) {
        char* to = buffer(kPiece);
        if (!to) {
            ok = false;
            break;
        }
        const zip_int64_t n = zip_fread(file, to, kPiece);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        unpacked_ += n;
        if (unpacked_ > budget_) {
            ok = false;
            break;
        }
        if (!filled(static_cast<size_t>(n))) {
            ok = false;
            break;
        }
    }
    zip_fclose(file);
    return ok;
}

bool ZipArchive::read(int64_t member, const std::function<bool(std::string_view)>& chunk) {
    std::vector<char> piece;
    return readInto(
        member,
        [&piece](size_t n) {
            piece.resize(n);
            return piece.data();
        },
        [&piece, &chunk](size_t n) { return chunk(std::string_view(piece.data(), n)); });
}

bool ZipArchive::readAll(int64_t member, std::string& out, size_t limit) {
    out.clear();
    return read(member, [&out, limit](std::string_view bytes) {
        if (out.size() + bytes.size() > limit) {
            return false;
        }
        out.append(bytes);
        return true;
    });
}

}  // namespace scorvane
