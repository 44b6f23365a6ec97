#include "common/content_hash.h"

#include <algorithm>
#include <cstring>

namespace scorvane {
namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

constexpr uint64_t rotl(uint64_t x, int r) {
    return (x << r) | (x >> (64 - r));
}

uint64_t read64(const unsigned char* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;  // the machine's byte order; the hash is compared on the machine that made it
}

uint64_t round(uint64_t lane, uint64_t input) {
    lane += input * kPrime2;
    return rotl(lane, 31) * kPrime1;
}

uint64_t mergeLane(uint64_t acc, uint64_t lane) {
    acc ^= round(0, lane);
    return acc * kPrime1 + kPrime4;
}

}  // namespace

void ContentHash::consumeStripe(const unsigned char* stripe) {
    for (int i = 0; i < 4; ++i) {
        lanes_[i] = round(lanes_[i], read64(stripe + 8 * i));
    }
}

void ContentHash::update(std::string_view bytes) {
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t left = bytes.size();
    total_ += left;
    if (pendingSize_ > 0) {
        const size_t take = std::min(left, kStripe - pendingSize_);
        std::memcpy(pending_ + pendingSize_, p, take);
        pendingSize_ += take;
        p += take;
        left -= take;
        if (pendingSize_ < kStripe) {
            return;
        }
        consumeStripe(pending_);
        pendingSize_ = 0;
    }
    for (; left >= kStripe; p += kStripe, left -= kStripe) {
        consumeStripe(p);
    }
    std::memcpy(pending_, p, left);
    pendingSize_ = left;
}

uint64_t ContentHash::digest() const {
    uint64_t h = rotl(lanes_[0], 1) + rotl(lanes_[1], 7) + rotl(lanes_[2], 12) + rotl(lanes_[3], 18);
    for (uint64_t lane : lanes_) {
        h = mergeLane(h, lane);
    }
    h += total_;
    const unsigned char* p = pending_;
    size_t left = pendingSize_;
    for (; left >= 8; p += 8, left -= 8) {
        h ^= round(0, read64(p));
        h = rotl(h, 27) * kPrime1 + kPrime4;
    }
    for (; left > 0; ++p, --left) {
        h ^= *p * kPrime5;
        h = rotl(h, 11) * kPrime1;
    }
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}

uint64_t HashBytes(std::string_view bytes) {
    ContentHash hash;
    hash.update(bytes);
    return hash.digest();
}

}  // namespace scorvane
