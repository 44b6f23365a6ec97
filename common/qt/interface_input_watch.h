#pragma once

namespace scorvane {

// From the first call on, every key, click and wheel turn the application receives is noted as the
// interface's input (NoteInterfaceInput). Needs the application object; later calls do nothing.
void WatchInterfaceInput();

}  // namespace scorvane
