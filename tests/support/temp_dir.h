#pragma once

#include <string>
#include <string_view>

namespace scorvane::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(std::string_view name) const;

  private:
    std::string path_;
};

// Bytes of a file, or "" when missing; and writing bytes to a file (folders created).
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
// UTF-8 text to GBK bytes, lines joined with CR LF (each line followed by CR LF).
std::string GbkLines(std::initializer_list<std::string_view> lines);

}  // namespace scorvane::testing
