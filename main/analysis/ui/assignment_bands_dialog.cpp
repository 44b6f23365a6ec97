#include "main/analysis/ui/assignment_bands_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"
#include "main/analysis/ui/text_grid.h"

namespace scorvane {
namespace {

std::vector<std::vector<std::string>> gridRows(const AssignmentBands& bands) {
    std::vector<std::vector<std::string>> rows;
    for (const BandRowText& row : BandRowTexts(bands)) {
        rows.push_back({row.name, row.share, row.top, row.bottom});
    }
    return rows;
}

}  // namespace

AssignmentBandsDialog::AssignmentBandsDialog(const AssignmentBands& bands, Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName("frmBands");
    setWindowTitle(QStringLiteral("赋分规则"));
    setModal(true);
    auto* explanation = new QLabel(QStringLiteral("从最高的等级起，每行一个等级：该等级的人数比例和赋分区间"
                                                  "（最高分、最低分）。各等级的比例之和应为 100，赋分区间不能重叠。"),
                                   this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);
    grid_ = new TextGrid({QStringLiteral("等级"), QStringLiteral("比例(%)"), QStringLiteral("最高分"),
                          QStringLiteral("最低分")},
                         kRows, this);
    grid_->setObjectName("Grid1");
    grid_->setTexts(gridRows(bands));
    auto* gridLabel = new QLabel(QStringLiteral("各等级(&L)："), this);
    gridLabel->setBuddy(grid_);

    default_ = new QPushButton(QStringLiteral("恢复默认(&D)"), this);
    default_->setObjectName("Command3");
    default_->setAutoDefault(false);
    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(default_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(gridLabel);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    setTabOrder(grid_, default_);
    setTabOrder(default_, ok_);
    setTabOrder(ok_, cancel_);
    resize(420, 380);

    connect(default_, &QPushButton::clicked, this, [this] { grid_->setTexts(gridRows(DefaultAssignmentBands())); });
    connect(ok_, &QPushButton::clicked, this, &AssignmentBandsDialog::confirm);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AssignmentBandsDialog::confirm() {
    std::vector<BandRowText> rows;
    for (const std::vector<std::string>& row : grid_->texts()) {
        rows.push_back({row[0], row[1], row[2], row[3]});
    }
    AssignmentBands bands;
    if (auto fault = ReadBandRows(rows, bands)) {
        prompter_.message(*fault, "提示", Icon::Information);
        return;
    }
    result_ = std::move(bands);
    accept();
}

std::optional<AssignmentBands> RunAssignmentBandsDialog(const AssignmentBands& bands, Prompter& prompter,
                                                        DialogRunner& runner, QWidget* owner) {
    AssignmentBandsDialog dialog(bands, prompter, owner);
    runner.run(dialog);
    return dialog.result();
}

}  // namespace scorvane
