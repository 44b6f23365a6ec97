#include "common/qt/qt_prompter.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace scorvane {
namespace {

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(Answer a) {
    switch (a) {
        case Answer::Ok:
            return QMessageBox::Ok;
        case Answer::Cancel:
            return QMessageBox::Cancel;
        case Answer::Yes:
            return QMessageBox::Yes;
        case Answer::No:
            return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

void translateButtons(QMessageBox& box) {
    struct {
        QMessageBox::StandardButton b;
        const char* text;
    } names[] = {{QMessageBox::Ok, "确定"},
                 {QMessageBox::Cancel, "取消"},
                 {QMessageBox::Yes, "是(&Y)"},
                 {QMessageBox::No, "否(&N)"}};
    for (const auto& n : names) {
        if (QAbstractButton* b = box.button(n.b)) {
            b->setText(QString::fromUtf8(n.text));
        }
    }
}

}  // namespace

QString FileDialogFilter(std::string_view pattern) {
    QString p = q(pattern);
    QString globs = p;
    globs.replace(';', ' ');
    return p + " (" + globs + ")";
}

QString FileDialogFilter(const FileDialogSpec& spec) {
    QString globs = q(spec.pattern);
    globs.replace(';', ' ');
    return q(spec.description) + " (" + globs + ")";
}

void QtPrompter::message(std::string_view text, std::string_view title, Icon icon) {
    QMessageBox box(qtIcon(icon), q(title), q(text), QMessageBox::Ok, owner_);
    translateButtons(box);
    box.exec();
}

Answer QtPrompter::ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon,
                       Answer defaultAnswer) {
    QMessageBox::StandardButtons set;
    switch (buttons) {
        case Buttons::Ok:
            set = QMessageBox::Ok;
            break;
        case Buttons::OkCancel:
            set = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case Buttons::YesNo:
            set = QMessageBox::Yes | QMessageBox::No;
            break;
        case Buttons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
    }
    QMessageBox box(qtIcon(icon), q(title), q(text), set, owner_);
    box.setDefaultButton(qtButton(defaultAnswer));
    translateButtons(box);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            break;
    }
    // Closing the box without a button is its cancel; a Yes/No box has none, so that means No.
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<std::string> QtPrompter::input(std::string_view prompt, std::string_view title,
                                             std::string_view offered) {
    QInputDialog dialog(owner_);
    dialog.setWindowTitle(q(title));
    dialog.setLabelText(q(prompt));
    dialog.setTextValue(q(offered));
    dialog.setOkButtonText(QString::fromUtf8("确定"));
    dialog.setCancelButtonText(QString::fromUtf8("取消"));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue().toStdString();
}

std::string QtPrompter::openFile(std::string_view pattern, std::string_view title) {
    QString path = QFileDialog::getOpenFileName(owner_, q(title), QString(), FileDialogFilter(pattern));
    return path.toStdString();
}

std::string QtPrompter::saveFile(std::string_view pattern) {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(FileDialogFilter(pattern));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    QString p = q(pattern);
    dialog.setDefaultSuffix(p.right(3));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first().toStdString();
}

std::string QtPrompter::chooseOpenFile(const FileDialogSpec& spec) {
    return QFileDialog::getOpenFileName(owner_, q(spec.title), QString(), FileDialogFilter(spec))
        .toStdString();
}

std::string QtPrompter::chooseSaveFile(const FileDialogSpec& spec) {
    while (true) {
        QFileDialog dialog(owner_, q(spec.title));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(FileDialogFilter(spec));
        // The overwrite question is asked below, in the program's own words.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return {};
        }
        const QString path = dialog.selectedFiles().first();
        if (!spec.confirmOverwrite || !QFileInfo::exists(path)) {
            return path.toStdString();
        }
        const QString question = QFileInfo(path).fileName() + QStringLiteral(" 已存在。\n要替换它吗？");
        const QString title = spec.title.empty() ? QStringLiteral("确认另存为") : q(spec.title);
        if (ask(question.toStdString(), title.toStdString(), Buttons::YesNo, Icon::Warning, Answer::No) ==
            Answer::Yes) {
            return path.toStdString();
        }
    }
}

}  // namespace scorvane
