#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The template's bytes as its file holds them (GBK), and the sidecar's record of the document.
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

// Puts a sound copy into the document as opening its file would, under the template's own file name,
// with unsaved changes. False, the document untouched, for a damaged copy.
bool RecoverTemplate(TemplateDocument& doc, const TemplateCopy& copy);

}  // namespace scorvane::designer
