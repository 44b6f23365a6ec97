#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace scorvane {

// A 64-bit hash of a file's bytes, to tell whether a file is still the one a program read or wrote.
// It is made for speed (four independent lanes of eight bytes, several gigabytes a second), not
// against someone who forges files: two different files share a hash by chance once in 2^64. The
// bytes may come in pieces of any size; the digest depends on the bytes alone.
class ContentHash {
  public:
    void update(std::string_view bytes);
    uint64_t digest() const;
    uint64_t size() const { return total_; }

  private:
    static constexpr size_t kStripe = 32;
    void consumeStripe(const unsigned char* stripe);

    uint64_t lanes_[4] = {0x9E3779B185EBCA87ULL + 0xC2B2AE3D27D4EB4FULL, 0xC2B2AE3D27D4EB4FULL, 0,
                          0ULL - 0x9E3779B185EBCA87ULL};
    unsigned char pending_[kStripe] = {};
    size_t pendingSize_ = 0;
    uint64_t total_ = 0;
};

// The hash of bytes held whole.
uint64_t HashBytes(std::string_view bytes);

}  // namespace scorvane
