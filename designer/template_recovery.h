#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_sharing.h"
#include "common/recovery/recovery_folder.h"
#include "common/recovery/recovery_info.h"
#include "common/report_template.h"
#include "designer/template_document.h"

namespace scorvane::designer {

// Recovery copies of the designer's template: while it has unsaved changes it is copied as a template
// file into the recovery folder; at the next start the copies of ended designers are offered.

inline constexpr std::string_view kTemplateCopyExtension = ".rvx";
inline constexpr std::string_view kTemplateOfferTitle = "恢复未保存的报表";
inline constexpr std::string_view kTemplateOfferHint =
    "上次报表设计没有正常结束，下列报表中有尚未保存的修改。请勾选要恢复的报表：恢复后请及时保存。";
inline constexpr std::string_view kUntitledTemplate = "未命名的报表";
inline constexpr std::string_view kDamagedTemplateMark = "（副本已损坏，只能放弃）";
// Starts the designer on one copy, without the offer (the second and later copies chosen in an offer).
inline constexpr std::string_view kRecoverOption = "--recover";

// The template's bytes as its file holds them (GBK), and the sidecar's record of the document (with its
// file as the designer last read or wrote it).
std::string TemplateCopyBytes(const ReportTemplate& report);
RecoveryInfo TemplateCopyInfo(const TemplateDocument& doc);

struct TemplateCopy {
    std::string id;
    std::optional<RecoveryInfo> info;              // nothing when the sidecar cannot be read
    std::optional<ReportTemplateRecords> records;  // nothing when the copy is no template
    bool damaged() const { return !info || !records; }
};

// The template copies of designers that have ended, the oldest first.
std::vector<TemplateCopy> FindTemplateCopies(const RecoveryFolder& folder);

// A line of the offer: the template's name (a damaged copy says so), its folder, the time of the copy.
struct TemplateCopyRow {
    std::string name;
    std::string folder;
    std::string time;
    bool damaged = false;
};
TemplateCopyRow DescribeTemplateCopy(const TemplateCopy& copy);

// Before a copy is put into the designer, the template's file is claimed as opening it claims it
// (ClaimForOpening, "模板“<name>”已由 …"): 只读打开 restores it read-only, 仍然打开 normally, 取消 not at
// all (the copy stays for the next start). A new template's copy claims nothing.
OpenClaim ClaimRecoveredTemplate(const TemplateCopy& copy, const LockIdentity& identity, Prompter& prompter);

// Puts a sound copy into the document as opening its file would, under the template's own file name,
// with unsaved changes and the claim: the document's file is remembered as the sidecar recorded it, so
// that its first save finds what others saved meanwhile (a copy that recorded nothing takes any file
// there as changed). False, the document untouched, for a damaged copy or a cancelled claim.
bool RecoverTemplate(TemplateDocument& doc, const TemplateCopy& copy, OpenClaim claim);

}  // namespace scorvane::designer
