#pragma once

#include <string>

#include "main/workspace/workspace_folder.h"

namespace scorvane::testing {

// Points the workspace folder at `folder` for the life of the scope, then back where it was.
class ScopedProgramFolder {
  public:
    explicit ScopedProgramFolder(const std::string& folder) : saved_(ProgramFolder()) {
        SetProgramFolder(folder);
    }
    ~ScopedProgramFolder() { SetProgramFolder(saved_); }
    ScopedProgramFolder(const ScopedProgramFolder&) = delete;
    ScopedProgramFolder& operator=(const ScopedProgramFolder&) = delete;

  private:
    std::string saved_;
};

}  // namespace scorvane::testing
