#include "common/interface_input.h"

#include <atomic>
#include <cstdint>
#include <limits>
#include <thread>

namespace scorvane {
namespace {

using Clock = std::chrono::steady_clock;

// When the last input came, in the clock's ticks; long ago at first.
std::atomic<int64_t> lastInput{std::numeric_limits<int64_t>::min() / 2};

int64_t Ticks(Clock::time_point time) {
    return time.time_since_epoch().count();
}

}  // namespace

void NoteInterfaceInput() {
    lastInput.store(Ticks(Clock::now()), std::memory_order_relaxed);
}

void GiveWayToInterface(std::chrono::milliseconds recent, std::chrono::milliseconds longest) {
    const Clock::time_point begin = Clock::now();
    const int64_t window = std::chrono::duration_cast<Clock::duration>(recent).count();
    for (Clock::time_point now = begin;
         now - begin < longest && Ticks(now) - lastInput.load(std::memory_order_relaxed) < window;
         now = Clock::now()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace scorvane
