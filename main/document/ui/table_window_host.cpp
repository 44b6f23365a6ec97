#include "main/document/ui/table_window_host.h"

#include "common/qt/print_path.h"

namespace scorvane {

TableWindowHost::TableWindowHost() = default;
TableWindowHost::~TableWindowHost() = default;

PrintPath& TableWindowHost::printPath() {
    if (!printPath_) {
        printPath_ = std::make_unique<PrintPath>(prompter(), dialogRunner(), statusSink(), dialogOwner());
    }
    return *printPath_;
}

}  // namespace scorvane
