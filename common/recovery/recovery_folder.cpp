#include "common/recovery/recovery_folder.h"

#include <algorithm>
#include <set>

#include "common/file_io.h"
#include "common/recovery/recovery_session.h"

namespace scorvane {
namespace {

constexpr std::string_view kInfoExtension = ".info";
constexpr std::string_view kLockExtension = ".lock";

bool endsWith(std::string_view s, std::string_view end) {
    return s.size() > end.size() && s.substr(s.size() - end.size()) == end;
}

}  // namespace

bool RecoveryFolder::prepare() const {
    return MakePrivateDirectory(path_);
}

std::string RecoveryFolder::documentPath(std::string_view id, std::string_view extension) const {
    return path_ + "/" + std::string(id) + std::string(extension);
}

std::string RecoveryFolder::infoPath(std::string_view id, std::string_view extension) const {
    return documentPath(id, extension) + std::string(kInfoExtension);
}

bool RecoveryFolder::write(std::string_view id, std::string_view extension, std::string_view bytes,
                           const RecoveryInfo& info) const {
    return writeInfo(id, extension, info) && WritePrivateFileAtomically(documentPath(id, extension), bytes);
}

bool RecoveryFolder::writeInfo(std::string_view id, std::string_view extension,
                               const RecoveryInfo& info) const {
    return prepare() && WritePrivateFileAtomically(infoPath(id, extension), SerializeRecoveryInfo(info));
}

void RecoveryFolder::remove(std::string_view id, std::string_view extension) const {
    for (const std::string& path : {documentPath(id, extension), infoPath(id, extension)}) {
        RemoveFile(path);
        RemoveAbandonedTemporaries(path);
    }
}

std::vector<FoundCopy> RecoveryFolder::find(std::string_view extension) const {
    const std::string sidecarEnd = std::string(extension) + std::string(kInfoExtension);
    std::vector<FoundCopy> found;
    std::set<std::string> namedSessions;
    std::vector<std::string> sidecars = FilesWithExtension(path_, kInfoExtension);
    for (const std::string& name : sidecars) {
        std::optional<RecoveryInfo> info;
        if (auto bytes = ReadWholeFile(path_ + "/" + name)) {
            info = ParseRecoveryInfo(*bytes);
        }
        if (info) {
            namedSessions.insert(info->session);
        }
        if (!endsWith(name, sidecarEnd) || name.front() == '.') {
            continue;
        }
        if (info && RecoverySession::IsRunning(path_, info->session)) {
            continue;
        }
        FoundCopy copy;
        copy.id = name.substr(0, name.size() - sidecarEnd.size());
        copy.info = std::move(info);
        copy.bytes = ReadWholeFile(documentPath(copy.id, extension));
        found.push_back(std::move(copy));
    }
    for (const std::string& name : FilesWithExtension(path_, kLockExtension)) {
        const std::string session = name.substr(0, name.size() - kLockExtension.size());
        if (!namedSessions.count(session) && !RecoverySession::IsRunning(path_, session)) {
            RemoveFile(path_ + "/" + name);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const FoundCopy& a, const FoundCopy& b) {
        const int64_t ta = a.info ? a.info->time : 0;
        const int64_t tb = b.info ? b.info->time : 0;
        return ta != tb ? ta < tb : a.id < b.id;
    });
    return found;
}

}  // namespace scorvane
