#pragma once

#include <chrono>

namespace scorvane {

// The interface thread notes here each key and click it receives; work on other threads (a recovery
// copy being made) gives way while the person at the keyboard is typing, so that on a machine with
// few processors a key is handled and painted without waiting for them.
void NoteInterfaceInput();

// Sleeps a millisecond at a time while the interface had input within the last `recent`, `longest` at
// most in all.
void GiveWayToInterface(std::chrono::milliseconds recent = std::chrono::milliseconds(8),
                        std::chrono::milliseconds longest = std::chrono::milliseconds(20));

}  // namespace scorvane
