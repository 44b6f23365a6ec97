#include "common/qt/qt_prompter.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <utility>
#include <vector>

#include "common/dialog_filter_names.h"
#include "common/file_dialog_start.h"

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

// Every box shows its text as plain text: it may hold what a file or another user wrote (a title, a
// file's name, a name from a lock file), which must never be taken for markup.
void plainText(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
}

QSettings userSettings() {
    return QSettings(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"),
                     QStringLiteral("KVL'S Scorvane"));
}

// Qt sizes the detail view's columns for English texts ("128.88 GB", "mp3Folder"), which cuts a
// Chinese type name ("纯文本文档" to "纯…档") and a size ("43.88 KiB" to "43.…KiB"): as the folder's
// files are described, the size, type and date columns widen to what they show (one the user has made
// wider stays), and the names give up what the columns take beyond the view, as far as the longest name
// allows, so that the dates stay in view.
void fitColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* files = dialog.findChild<QFileSystemModel*>();
    if (!view || !files) {
        return;
    }
    // The files' descriptions arrive a few at a time: one fitting after each batch.
    auto* fit = new QTimer(view);
    fit->setSingleShot(true);
    fit->setInterval(0);
    QObject::connect(fit, &QTimer::timeout, view, [view] {
        constexpr int kNameColumn = 0;
        constexpr int kFirstFitted = 1;  // size, type and date modified
        constexpr int kLastFitted = 3;
        // The view's own measure (reached through the public interface of every item view) leaves
        // the last character touching the edge: one blank more on the right.
        const auto* items = static_cast<const QAbstractItemView*>(view);
        const int blank = view->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        for (int column = kFirstFitted; column <= kLastFitted; ++column) {
            const int wanted =
                std::max(items->sizeHintForColumn(column) + blank, view->header()->sectionSizeHint(column));
            if (wanted > view->columnWidth(column)) {
                view->setColumnWidth(column, wanted);
            }
        }
        const int overflow = view->header()->length() - view->viewport()->width();
        if (overflow > 0) {
            const int names = items->sizeHintForColumn(kNameColumn) + blank;
            view->setColumnWidth(kNameColumn, std::max(names, view->columnWidth(kNameColumn) - overflow));
        }
    });
    QObject::connect(files, &QFileSystemModel::directoryLoaded, fit, qOverload<>(&QTimer::start));
    QObject::connect(files, &QAbstractItemModel::dataChanged, fit, qOverload<>(&QTimer::start));
}

// Where a dialog of the pattern starts, and what it offers.
void startAt(QFileDialog& dialog, const FileDialogSpec& spec) {
    const QString start = q(FileDialogStartPath(spec, LastDialogFolder(spec.pattern)));
    if (start.isEmpty()) {
        return;
    }
    if (spec.suggestedName.empty()) {
        dialog.setDirectory(start);
        return;
    }
    const QFileInfo file(start);
    if (start.contains('/')) {
        dialog.setDirectory(file.path());
    }
    dialog.selectFile(file.fileName());
}

// Runs the dialog; the path chosen (its folder remembered for the pattern), or nothing.
std::string chosenPath(QFileDialog& dialog, std::string_view pattern) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const std::string path = dialog.selectedFiles().first().toStdString();
    RememberDialogFolder(pattern, path);
    return path;
}

FileDialogSpec patternOnly(std::string_view pattern, std::string_view title) {
    FileDialogSpec spec;
    spec.description = pattern;
    spec.pattern = pattern;
    spec.title = title;
    return spec;
}

}  // namespace

QString DialogFolderKey(std::string_view pattern) {
    QString key;
    for (const QChar c : q(pattern)) {
        if (c.isLetterOrNumber()) {
            key += c.toLower();
        } else if (!key.isEmpty() && !key.endsWith('_')) {
            key += '_';
        }
    }
    while (key.endsWith('_')) {
        key.chop(1);
    }
    return QStringLiteral("FileDialogs/") + (key.isEmpty() ? QStringLiteral("any") : key);
}

std::string LastDialogFolder(std::string_view pattern) {
    return userSettings().value(DialogFolderKey(pattern)).toString().toStdString();
}

void RememberDialogFolder(std::string_view pattern, std::string_view chosenFile) {
    const std::string folder = FolderOfChosenFile(chosenFile);
    if (!folder.empty()) {
        userSettings().setValue(DialogFolderKey(pattern), q(folder));
    }
}

QString FileDialogFilter(std::string_view pattern) {
    QString globs = q(pattern);
    globs.replace(';', ' ');
    return q(DialogFilterName(pattern)) + " (" + globs + ")";
}

QString FileDialogFilter(const FileDialogSpec& spec) {
    if (spec.description.empty() || spec.description == spec.pattern) {
        return FileDialogFilter(spec.pattern);
    }
    QString globs = q(spec.pattern);
    globs.replace(';', ' ');
    return q(spec.description) + " (" + globs + ")";
}

void QtPrompter::message(std::string_view text, std::string_view title, Icon icon) {
    QMessageBox box(qtIcon(icon), q(title), q(text), QMessageBox::Ok, owner_);
    plainText(box);
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
        case Buttons::ContinueOrChange:
            set = QMessageBox::Yes | QMessageBox::No;
            break;
    }
    QMessageBox box(qtIcon(icon), q(title), q(text), set, owner_);
    plainText(box);
    box.setDefaultButton(qtButton(defaultAnswer));
    translateButtons(box);
    if (buttons == Buttons::ContinueOrChange) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("继续(&C)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("返回修改(&R)"));
        box.setEscapeButton(QMessageBox::No);
    }
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
    return buttons == Buttons::YesNo || buttons == Buttons::ContinueOrChange ? Answer::No : Answer::Cancel;
}

Answer QtPrompter::askQuestion(const Question& question) {
    QMessageBox box(qtIcon(question.icon), q(question.title), q(question.text), QMessageBox::NoButton,
                    owner_);
    plainText(box);
    // One role for every button keeps them in the question's order.
    std::vector<std::pair<QAbstractButton*, Answer>> buttons;
    for (const QuestionButton& b : question.buttons) {
        QPushButton* button = box.addButton(q(b.caption), QMessageBox::ActionRole);
        buttons.emplace_back(button, b.answer);
        if (b.answer == question.defaultAnswer) {
            box.setDefaultButton(button);
        }
        if (b.answer == question.escapeAnswer) {
            box.setEscapeButton(button);
        }
    }
    box.exec();
    for (const auto& [button, answer] : buttons) {
        if (box.clickedButton() == button) {
            return answer;
        }
    }
    return question.escapeAnswer;
}

std::optional<std::string> QtPrompter::input(std::string_view prompt, std::string_view title,
                                             std::string_view offered) {
    QInputDialog dialog(owner_);
    dialog.setWindowTitle(q(title));
    dialog.setLabelText(q(prompt));
    dialog.setTextValue(q(offered));
    dialog.setOkButtonText(QString::fromUtf8("确定"));
    dialog.setCancelButtonText(QString::fromUtf8("取消"));
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue().toStdString();
}

std::string QtPrompter::openFile(std::string_view pattern, std::string_view title) {
    return chooseOpenFile(patternOnly(pattern, title));
}

std::string QtPrompter::saveFile(std::string_view pattern) {
    return chooseSaveFile(SaveDialogFor(pattern, {}));
}

std::string QtPrompter::chooseOpenFile(const FileDialogSpec& spec) {
    QFileDialog dialog(owner_, q(spec.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(FileDialogFilter(spec));
    fitColumns(dialog);
    startAt(dialog, spec);
    return chosenPath(dialog, spec.pattern);
}

std::string QtPrompter::chooseSaveFile(const FileDialogSpec& spec) {
    FileDialogSpec next = spec;
    while (true) {
        QFileDialog dialog(owner_, q(next.title));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(FileDialogFilter(next));
        if (!next.defaultSuffix.empty()) {
            dialog.setDefaultSuffix(q(next.defaultSuffix));
        }
        // The overwrite question is asked below, in the program's own words.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        fitColumns(dialog);
        startAt(dialog, next);
        const std::string chosen = chosenPath(dialog, next.pattern);
        if (chosen.empty()) {
            return {};
        }
        const QString path = q(chosen);
        if (!spec.confirmOverwrite || !QFileInfo::exists(path)) {
            return chosen;
        }
        // Asked again, the dialog shows the name declined.
        next.folder = FolderOfChosenFile(chosen);
        next.suggestedName = QFileInfo(path).fileName().toStdString();
        const QString question = QFileInfo(path).fileName() + QStringLiteral(" 已存在。\n要替换它吗？");
        const QString title = spec.title.empty() ? QStringLiteral("确认另存为") : q(spec.title);
        if (ask(question.toStdString(), title.toStdString(), Buttons::YesNo, Icon::Warning, Answer::No) ==
            Answer::Yes) {
            return path.toStdString();
        }
    }
}

}  // namespace scorvane
