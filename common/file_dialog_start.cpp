#include "common/file_dialog_start.h"

#include "common/utf8.h"

namespace scorvane {

std::string SafeFileName(std::string_view title) {
    std::string name(TrimSpaces(title));
    for (char& c : name) {
        if (std::string_view("/\\*:?<>|\"").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return name;
}

std::string FileDialogStartPath(const FileDialogSpec& spec, const std::string& lastFolder) {
    std::string folder = spec.folder.empty() ? lastFolder : spec.folder;
    const std::string name = SafeFileName(spec.suggestedName);
    if (folder.empty() || name.empty()) {
        return folder.empty() ? name : folder;
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder + name;
}

FileDialogSpec SaveDialogFor(std::string_view pattern, std::string_view name, std::string folder) {
    FileDialogSpec spec;
    spec.description = pattern;
    spec.pattern = pattern;
    spec.defaultSuffix = pattern.substr(pattern.size() >= 3 ? pattern.size() - 3 : 0);
    spec.folder = std::move(folder);
    spec.suggestedName = name;
    return spec;
}

std::string FolderOfChosenFile(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

}  // namespace scorvane
