#include "common/recovery/recovery_store.h"

namespace scorvane {
namespace {

const std::string& prepared(const RecoveryFolder& folder) {
    folder.prepare();
    return folder.path();
}

}  // namespace

RecoveryStore::RecoveryStore(std::string folder, int64_t intervalMillis)
    : folder_(std::move(folder)), interval_(intervalMillis), session_(prepared(folder_)), writer_(folder_) {}

std::string RecoveryStore::newCopyId() {
    return session() + "-" + std::to_string(++copies_);
}

bool RecoveryStore::adopt(const std::string& id, const std::string& extension, RecoveryInfo info) {
    info.session = session();
    return folder_.writeInfo(id, extension, info);
}

}  // namespace scorvane
