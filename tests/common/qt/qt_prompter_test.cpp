#include "common/qt/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <functional>

#include "common/file_dialog_start.h"
#include "common/file_io.h"
#include "support/qt/qt_app.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

class QtPrompterFileDialogs : public testing::QtTest {
  protected:
    QtPrompterFileDialogs() { forget(); }
    ~QtPrompterFileDialogs() override { forget(); }
    static void forget() { QSettings("KVL'S Scorvane", "KVL'S Scorvane").remove("FileDialogs"); }

    // Runs `show` while its file dialog is up: `look` sees the dialog, which then closes (accepted
    // with what it holds, or rejected).
    template <typename Show>
    std::string withDialog(Show show, const std::function<void(QFileDialog&)>& look, bool accept) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            look(*dialog);
            if (accept) {
                QMetaObject::invokeMethod(dialog, "accept");  // as 保存 does
            } else {
                dialog->reject();
            }
        });
        return show();
    }

    testing::TempDir dir;
    QtPrompter prompter;
};

TEST_F(QtPrompterFileDialogs, OpenWhereAskedWithTheNameOfferedElseWhereTheLastFileOfTheirKindWas) {
    ASSERT_TRUE(MakeDirectories(dir.file("班")));
    const QString folder = QString::fromStdString(dir.file("班"));
    const std::string saved = withDialog(
        [&] { return prompter.chooseSaveFile(SaveDialogFor("*.csv", "期中/考试", dir.file("班"))); },
        [&](QFileDialog& d) {
            EXPECT_EQ(d.directory().absolutePath().toStdString(), dir.file("班"));
            EXPECT_EQ(d.selectedFiles().value(0).toStdString(), dir.file("班/期中_考试.csv"));
        },
        true);
    EXPECT_EQ(saved, dir.file("班/期中_考试.csv"));
    EXPECT_EQ(LastDialogFolder("*.csv"), dir.file("班"));

    // Any later dialog of the pattern starts there; another pattern where its own last file was.
    ASSERT_TRUE(MakeDirectories(dir.file("表格")));
    RememberDialogFolder("*.skv", dir.file("表格/期中.skv"));
    withDialog([&] { return prompter.openFile("*.csv", "导入"); },
               [&](QFileDialog& d) { EXPECT_EQ(d.directory().absolutePath(), folder); }, false);
    withDialog(
        [&] { return prompter.saveFile("*.skv"); },
        [&](QFileDialog& d) { EXPECT_EQ(d.directory().absolutePath().toStdString(), dir.file("表格")); },
        false);
    EXPECT_EQ(DialogFolderKey("*.txt;*.csv"), "FileDialogs/txt_csv");
    // The type box names the files; a described pattern keeps its own description.
    EXPECT_EQ(FileDialogFilter("*.txt;*.csv"), "文本文件 (*.txt *.csv)");
    FileDialogSpec described = SaveDialogFor("*.csv", "期中");
    EXPECT_EQ(FileDialogFilter(described), "CSV 文件 (*.csv)");
    described.description = "报表";
    EXPECT_EQ(FileDialogFilter(described), "报表 (*.csv)");
    EXPECT_EQ(DialogFolderKey("*.xlsx *.xls *.ods"), "FileDialogs/xlsx_xls_ods");
}

// A question's own buttons: their captions left to right, Enter on the default, Escape giving the
// escape answer, a mnemonic pressing its button.
TEST_F(QtPrompterFileDialogs, QuestionsShowTheirOwnButtonsWithDefaultEscapeAndMnemonics) {
    Question question;
    question.text = "表格“期中”已由 王老师（办公室-1）于 2024-09-02 08:05 打开。";
    question.title = "询问";
    question.buttons = {
        {"只读打开(&R)", Answer::Yes}, {"仍然打开(&O)", Answer::No}, {"取消", Answer::Cancel}};
    question.defaultAnswer = Answer::Yes;
    question.escapeAnswer = Answer::Cancel;
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Answer expected;
    } cases[] = {{Qt::Key_Return, Qt::NoModifier, Answer::Yes},
                 {Qt::Key_Escape, Qt::NoModifier, Answer::Cancel},
                 {Qt::Key_O, Qt::AltModifier, Answer::No},
                 {Qt::Key_R, Qt::AltModifier, Answer::Yes}};
    for (const Case& c : cases) {
        QStringList captions;
        QString defaultCaption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            for (QAbstractButton* b : box->buttons()) {
                captions << b->text();
            }
            defaultCaption = box->defaultButton() ? box->defaultButton()->text() : QString();
            box->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(box));
            QTest::keyClick(box, c.key, c.modifiers);
            // A mnemonic clicks a moment later; a key that does nothing fails rather than waits.
            QTimer::singleShot(2000, box, [box, &c] {
                ADD_FAILURE() << "still open after key " << c.key;
                box->done(0);
            });
        });
        EXPECT_EQ(prompter.askQuestion(question), c.expected) << c.key;
        EXPECT_EQ(captions, QStringList({"只读打开(&R)", "仍然打开(&O)", "取消"}));
        EXPECT_EQ(defaultCaption, "只读打开(&R)");
        EXPECT_EQ(icon, QMessageBox::Question);
    }
}

// What a file or another user wrote (a lock file's names, a table's title) is shown as it is written,
// never as markup.
TEST_F(QtPrompterFileDialogs, BoxesShowTheirTextAsPlainText) {
    const std::string text =
        "文件“期中.skv”正由 <font size=7 color=red>校长</font>（<b>教务处</b>）于 t 打开。";
    const std::vector<std::function<void()>> boxes = {
        [&] { prompter.message(text, "提示", Icon::Information); },
        [&] { prompter.ask(text, "提示", Buttons::YesNo, Icon::Question, Answer::No); },
        [&] {
            Question question;
            question.text = text;
            question.buttons = {{"覆盖(&O)", Answer::Yes}, {"取消", Answer::Cancel}};
            prompter.askQuestion(question);
        },
    };
    for (const auto& show : boxes) {
        Qt::TextFormat format = Qt::RichText;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            format = box->textFormat();
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                shown = label->text();
                EXPECT_EQ(label->textFormat(), Qt::PlainText);
            }
            box->done(0);
        });
        show();
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_EQ(shown.toStdString(), text);
    }
    QTimer::singleShot(0, [&] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        const QList<QLabel*> labels = dialog->findChildren<QLabel*>();
        ASSERT_FALSE(labels.isEmpty());
        for (QLabel* label : labels) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        }
        dialog->close();
    });
    prompter.input(text, "更改标题", "");
}

// A question whose 否 is the default answers No to Enter and to Escape.
TEST_F(QtPrompterFileDialogs, AYesNoQuestionWithNoFirstAnswersNoToEnterAndEscape) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Y}) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            box->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(box));
            QTest::keyClick(box, key, key == Qt::Key_Y ? Qt::AltModifier : Qt::NoModifier);
            QTimer::singleShot(2000, box, [box] {
                ADD_FAILURE() << "still open";
                box->done(0);
            });
        });
        const Answer answer =
            prompter.ask("文件尚未保存，确认要退出吗？", "提示", Buttons::YesNo, Icon::Question, Answer::No);
        EXPECT_EQ(answer, key == Qt::Key_Y ? Answer::Yes : Answer::No) << key;
    }
}

}  // namespace
}  // namespace scorvane
