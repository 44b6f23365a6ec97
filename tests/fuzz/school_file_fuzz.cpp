#include "common/ini_store.h"
#include "common/text_codec.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "main/workspace/school_info.h"
#include "main/workspace/school_tree.h"

namespace scorvane::fuzz {

// The school file is read in proportion to its size, and what the editor would write back reads back
// unchanged.
int FuzzSchoolFile(const uint8_t* data, size_t size) {
    const IniStore ini = IniStore::fromText(DecodeGbk(Bytes(data, size)));
    const SchoolInfo school = ReadSchoolInfo(ini);
    size_t classes = 0;
    for (const GradeEntry& grade : school.grades) {
        classes += grade.classes.size();
    }
    Check(school.grades.size() <= ini.lineCount() + 1, "no more grades than the file has lines");
    Check(classes <= 2 * ini.lineCount() + school.grades.size(), "classes in proportion to the file");
    const SchoolTree tree = BuildSchoolTree(school);
    Check(tree.nodes.size() == 1 + school.grades.size() + classes, "one tree node per school, grade, class");

    // The editor's save of what it read, read again, is what it wrote; a second round changes nothing.
    const std::string written = SchoolInfoIni(school).text();
    const SchoolInfo back = ReadSchoolInfo(IniStore::fromText(written));
    Check(back.grades.size() == school.grades.size(), "every grade comes back");
    Check(SchoolInfoIni(back).text() == written, "saving what was read back writes the same file");
    return 0;
}

}  // namespace scorvane::fuzz
