#include "main/workspace/workspace_folder.h"

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "support/scoped_program_folder.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(WorkspaceFolder, ResolvedInItsOrder) {
    TempDir dir;
    std::string program = dir.file("prog");
    std::string user = dir.file("user/data");
    MakeDirectories(program);

    EXPECT_EQ(ResolveWorkspaceFolder({dir.file("cli"), dir.file("env"), program, user}), dir.file("cli"));
    EXPECT_EQ(ResolveWorkspaceFolder({"", dir.file("env"), program, user}), dir.file("env"));
    // The program's folder holds no data yet: the per-user folder, created on first use.
    EXPECT_EQ(ResolveWorkspaceFolder({"", "", program, user}), user);
    EXPECT_TRUE(DirectoryExists(user));
    // Once it holds a school file (in any case), the program's own folder is used.
    WriteBytes(program + "/schoolinfo.INI", "[School]\r\n");
    EXPECT_TRUE(HoldsWorkspaceData(program));
    EXPECT_EQ(ResolveWorkspaceFolder({"", "", program, user}), program);
}

TEST(WorkspaceFolder, FileNamesAreFormedFromIt) {
    testing::ScopedProgramFolder workspace("/srv/school");
    EXPECT_EQ(ProgramFolder(), "/srv/school/");
    EXPECT_EQ(DataFolder(), "/srv/school/表格数据/");
    EXPECT_EQ(TemplateFolder(), "/srv/school/表格模版/");
    EXPECT_EQ(ScratchPath(), "/srv/school/表格数据/tmp");
    SetProgramFolder("/srv/school/");
    EXPECT_EQ(ProgramFolder(), "/srv/school/");
}

}  // namespace
}  // namespace scorvane
