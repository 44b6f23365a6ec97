#include "main/analysis/ui/exam_order_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"
#include "main/analysis/exam_order.h"
#include "main/analysis/ui/grade_comparison_dialog.h"
#include "main/analysis/ui/list_mover.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

ExamOrderDialog::ExamOrderDialog(std::string gradeFolder, const std::vector<std::string>& exams,
                                 Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      gradeFolder_(std::move(gradeFolder)),
      prompter_(prompter),
      read_(TakeFileState(ExamOrderFile(gradeFolder_))) {
    setObjectName("frmExamOrder");
    setModal(true);
    auto* explanation = new QLabel(QStringLiteral("按考试的先后排好本年级的各次考试（最早的在上），按“确定”。"
                                                  "历次成绩、进退步分析和年级的各项分析按此顺序列出考试；"
                                                  "顺序保存在年级文件夹中，各台计算机都按此顺序。"),
                                   this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);
    exams_ = new QListWidget(this);
    exams_->setObjectName("List1");
    for (const std::string& name : exams) {
        exams_->addItem(qs(name));
    }
    exams_->setCurrentRow(0);
    auto* listLabel = new QLabel(QStringLiteral("考试(&E)："), this);
    listLabel->setBuddy(exams_);
    auto* up = new QPushButton(QStringLiteral("上移(&U)"), this);
    up->setObjectName("Command3");
    up->setAutoDefault(false);
    auto* down = new QPushButton(QStringLiteral("下移(&D)"), this);
    down->setObjectName("Command4");
    down->setAutoDefault(false);
    new ListMover(exams_, up, down);

    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName("Command2");
    connect(ok_, &QPushButton::clicked, this, &ExamOrderDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* list = new QGridLayout;
    list->addWidget(listLabel, 0, 0, 1, 2);
    list->addWidget(exams_, 1, 0, 3, 1);
    list->addWidget(up, 1, 1);
    list->addWidget(down, 2, 1);
    list->setRowStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);
    resize(400, 340);
}

std::vector<std::string> ExamOrderDialog::order() const {
    std::vector<std::string> names;
    for (int r = 0; r < exams_->count(); ++r) {
        names.push_back(exams_->item(r)->text().toStdString());
    }
    return names;
}

void ExamOrderDialog::save() {
    // Another computer may have saved its order since this window opened: the teacher decides.
    const std::string file = ExamOrderFile(gradeFolder_);
    if (CompareWithDisk(read_, file) == DiskChange::Changed) {
        Question question;
        question.text = "考试顺序在您打开之后已被其他人修改并保存。\n\n覆盖：用您排好的顺序替换对方的顺序。\n"
                        "取消：不保存，回到本窗口。";
        question.title = "询问";
        question.buttons = {{"覆盖(&O)", Answer::Yes}, {"取消", Answer::Cancel}};
        if (prompter_.askQuestion(question) != Answer::Yes) {
            return;
        }
    }
    if (!WriteExamOrder(gradeFolder_, order(), &read_)) {
        prompter_.message("文件保存失败！", "错误", Icon::Error);
        return;
    }
    accept();
}

bool RunExamOrderDialog(const SchoolTree& tree, const SchoolNode& grade, Prompter& prompter,
                        DialogRunner& runner, QWidget* owner) {
    const std::vector<GradeClass> classes = GradeClassesOf(tree, grade);
    const std::string gradeFolder = GradeFolderOfClasses(classes);
    const std::vector<std::string> exams = GradeExamOrder(classes, gradeFolder);
    if (exams.empty()) {
        prompter.message(kGradeHoldsNoTablesMessage, "提示", Icon::Information);
        return false;
    }
    ExamOrderDialog dialog(gradeFolder, exams, prompter, owner);
    dialog.setWindowTitle(qs(kExamOrderCaption) + QStringLiteral(" - ") + qs(grade.text));
    return runner.run(dialog) == QDialog::Accepted;
}

}  // namespace scorvane
