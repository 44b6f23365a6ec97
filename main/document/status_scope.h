#pragma once

#include <string_view>

#include "common/status_sink.h"
#include "main/document/data_file.h"

namespace scorvane {

// The busy state of one file command: the status panel shows `text` and the pointer is busy for the
// life of the scope; however the command ends, the panel returns to "就绪".
class StatusScope {
  public:
    StatusScope(StatusSink& status, std::string_view text) : status_(status) {
        status_.setStatus(text);
        status_.setBusy(true);
    }
    ~StatusScope() {
        status_.setBusy(false);
        status_.setStatus(kStatusReady);
    }
    StatusScope(const StatusScope&) = delete;
    StatusScope& operator=(const StatusScope&) = delete;

  private:
    StatusSink& status_;
};

}  // namespace scorvane
