#pragma once

#include <string_view>

namespace scorvane {

// The first panel's texts shared by both programs: when a command is done, and while pages print.
inline constexpr std::string_view kStatusReady = "就绪";
inline constexpr std::string_view kStatusPrinting = "正在打印...";

// Where commands report progress: the first panel of the main window's status bar, and the busy
// state (hourglass pointer, grid hidden while a file is read or written).
class StatusSink {
  public:
    virtual ~StatusSink() = default;
    virtual void setStatus(std::string_view text) = 0;
    virtual void setBusy(bool busy) = 0;
};

// For callers without a status bar (the command-line tool).
class SilentStatusSink final : public StatusSink {
  public:
    void setStatus(std::string_view) override {}
    void setBusy(bool) override {}
};

}  // namespace scorvane
