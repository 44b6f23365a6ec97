#include "main/workspace/ui/school_editor_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/prompter.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* stepLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    QFont font(QStringLiteral("Arial Black"));
    font.setPointSize(14);
    label->setFont(font);
    return label;
}

void fill(QListWidget* list, const std::vector<std::string>& items, int selected) {
    QSignalBlocker block(list);
    list->clear();
    for (const std::string& item : items) {
        list->addItem(qs(item));
    }
    list->setCurrentRow(selected);
    if (selected < 0) {
        list->clearSelection();
    }
}

}  // namespace

SchoolEditorDialog::SchoolEditorDialog(Prompter& prompter, const std::string& folder, QWidget* parent)
    : QDialog(parent), prompter_(prompter), folder_(folder) {
    setObjectName("frmClass");
    setWindowTitle(QStringLiteral("班级编制"));
    setModal(true);

    schoolName_ = new QLineEdit(this);
    schoolName_->setObjectName("Text1");
    grades_ = new QListWidget(this);
    grades_->setObjectName("List1");
    classes_ = new QListWidget(this);
    classes_->setObjectName("List2");

    auto makeButton = [this](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* addGrade = makeButton("Command1", "添加>");
    QPushButton* deleteGrade = makeButton("Command2", "删除<");
    QPushButton* renameGrade = makeButton("Command3", "重命名");
    QPushButton* addClass = makeButton("Command4", "添加>");
    QPushButton* deleteClass = makeButton("Command5", "删除<");
    QPushButton* renameClass = makeButton("Command6", "重命名");
    QPushButton* done = makeButton("Command7", "完成");
    QPushButton* cancel = makeButton("Command8", "取消");

    auto* instruction =
        new QLabel(QStringLiteral("请按“1，2，3”的顺序编辑学校的关系树。每个年级的都可以下属任意多的班级。"
                                  "各年级的班级相对独立，不会互相影响。"),
                   this);
    instruction->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(stepLabel("1:", this));
    top->addWidget(new QLabel(QStringLiteral("学校名称："), this));
    top->addWidget(schoolName_, 1);

    auto buttonColumn = [](QPushButton* a, QPushButton* b, QPushButton* c) {
        auto* column = new QVBoxLayout;
        column->addStretch();
        column->addWidget(a);
        column->addWidget(b);
        column->addWidget(c);
        column->addStretch();
        return column;
    };

    auto* lists = new QGridLayout;
    auto* gradeHead = new QHBoxLayout;
    gradeHead->addWidget(stepLabel("2:", this));
    gradeHead->addWidget(new QLabel(QStringLiteral("年级设置："), this));
    gradeHead->addStretch();
    auto* classHead = new QHBoxLayout;
    classHead->addWidget(stepLabel("3:", this));
    classHead->addWidget(new QLabel(QStringLiteral("下属班级："), this));
    classHead->addStretch();
    lists->addLayout(gradeHead, 0, 1);
    lists->addLayout(classHead, 0, 3);
    lists->addLayout(buttonColumn(addGrade, deleteGrade, renameGrade), 1, 0);
    lists->addWidget(grades_, 1, 1);
    lists->addLayout(buttonColumn(addClass, deleteClass, renameClass), 1, 2);
    lists->addWidget(classes_, 1, 3);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(done);
    bottom->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lists, 1);
    layout->addWidget(instruction);
    layout->addLayout(bottom);
    resize(560, 400);

    editor_.load(folder_);
    showEditor();

    schoolName_->installEventFilter(this);
    connect(schoolName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { editor_.setSchoolName(text.toStdString()); });
    connect(grades_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_) {
            editor_.selectGrade(row);
            showEditor();
        }
    });
    connect(classes_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_) {
            editor_.selectClass(row);
        }
    });
    auto forward = [this](QPushButton* b, void (SchoolEditor::*command)(Prompter&)) {
        connect(b, &QPushButton::clicked, this, [this, command] {
            (editor_.*command)(prompter_);
            showEditor();
        });
    };
    forward(addGrade, &SchoolEditor::addGrade);
    forward(deleteGrade, &SchoolEditor::deleteGrade);
    forward(renameGrade, &SchoolEditor::renameGrade);
    forward(addClass, &SchoolEditor::addClass);
    forward(deleteClass, &SchoolEditor::deleteClass);
    forward(renameClass, &SchoolEditor::renameClass);
    connect(done, &QPushButton::clicked, this, &SchoolEditorDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &SchoolEditorDialog::reject);
}

QPushButton* SchoolEditorDialog::button(const char* objectName) const {
    return findChild<QPushButton*>(QString::fromUtf8(objectName));
}

void SchoolEditorDialog::showEditor() {
    showing_ = true;
    if (schoolName_->text() != qs(editor_.schoolName())) {
        schoolName_->setText(qs(editor_.schoolName()));
    }
    fill(grades_, editor_.gradeNames(), editor_.selectedGrade());
    fill(classes_, editor_.classNames(), editor_.selectedClass());
    showing_ = false;
}

bool SchoolEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == schoolName_) {
        if (event->type() == QEvent::FocusIn) {
            editor_.schoolNameFocusGained();
            showEditor();
        } else if (event->type() == QEvent::FocusOut) {
            editor_.schoolNameFocusLost();
            showEditor();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SchoolEditorDialog::confirm() {
    if (editor_.confirm(prompter_, folder_)) {
        accept();
    }
}

void SchoolEditorDialog::reject() {
    if (editor_.cancel(prompter_)) {
        QDialog::reject();
    }
}

}  // namespace scorvane
