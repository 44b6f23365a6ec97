#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_sharing.h"
#include "common/prompter.h"
#include "common/recovery/recovery_folder.h"
#include "common/recovery/recovery_info.h"
#include "main/document/document.h"
#include "main/document/grade_table.h"

namespace scorvane {

// Recovery copies of tables: a table window with unsaved changes is copied as a data file into the
// recovery folder; at the next start the copies a program left behind on this workspace are offered.

inline constexpr std::string_view kTableCopyExtension = ".skv";
// The offer's window title, and what it says of a copy that cannot be read and of a table of no class.
inline constexpr std::string_view kTableOfferTitle = "恢复未保存的表格";
inline constexpr std::string_view kTableOfferHint =
    "上次程序没有正常结束，下列表格中有尚未保存的修改。请勾选要恢复的表格：恢复后请及时保存。";
inline constexpr std::string_view kDamagedCopyMark = "（副本已损坏，只能放弃）";
inline constexpr std::string_view kUnknownTable = "无法读取的表格";
inline constexpr std::string_view kNoClass = "无";

// The sidecar's record for a copy of the table (the writer sets the time, the store the session).
RecoveryInfo TableCopyInfo(const GradeTable& table, const std::string& workspace);
// The same for a table window's document, with its file as the window last read or wrote it (when the
// file it claims is the table's).
RecoveryInfo TableCopyInfo(const Document& document, const std::string& workspace);

// A table's copy as found at start.
struct TableCopy {
    std::string id;
    std::optional<RecoveryInfo> info;  // nothing when the sidecar cannot be read
    std::optional<GradeTable> table;   // nothing when the data file cannot be read
    bool damaged() const { return !info || !table; }
};

// The copies of tables that ended programs left on `workspace`, the oldest first. Copies of another
// workspace are left out; a copy whose sidecar cannot be read is listed (as damaged), since nobody can
// tell whose it is.
std::vector<TableCopy> FindTableCopies(const RecoveryFolder& folder, const std::string& workspace);

// The class a table belongs to, from its path below the data folder ("高一 (1)班"), or "无".
std::string ClassOfTablePath(const std::string& filePath, const std::string& dataFolder);

// A line of the offer: the table (its title; a damaged copy says so), its class, the time of the copy.
struct TableCopyRow {
    std::string table;
    std::string className;
    std::string time;
    bool damaged = false;
};
TableCopyRow DescribeTableCopy(const TableCopy& copy, const std::string& dataFolder, bool seconds = false);
// The lines of the whole offer, no two alike: copies that would read the same show their time to the
// second, and those that still do are numbered ("期中 成绩统计 (2)", NumberRepeats).
std::vector<TableCopyRow> DescribeTableCopies(const std::vector<TableCopy>& copies,
                                              const std::string& dataFolder);

// Before a copy is put into a window, the table's file is claimed as opening it claims it
// (ClaimForOpening): its lock taken (a stale one silently), or, when another program has it open, the
// lock question, whose 只读打开 restores the copy read-only, 仍然打开 normally, and 取消 not at all (the
// copy stays for the next start). A new table's copy (no file) claims nothing.
OpenClaim ClaimRecoveredTable(const TableCopy& copy, const LockIdentity& identity, Prompter& prompter);

// Puts a sound copy into a new document as loading would (row numbers, header layout string) under
// the table's own file path, with unsaved changes, and the claim with it: the document's file is the
// table's, remembered as the sidecar recorded it (RecordedState), so that its first save finds what
// others saved while the program was gone; a copy that recorded nothing takes any file there as
// changed. False, the document untouched, for a damaged copy or a cancelled claim.
bool RecoverTable(Document& document, const TableCopy& copy, OpenClaim claim);

}  // namespace scorvane
