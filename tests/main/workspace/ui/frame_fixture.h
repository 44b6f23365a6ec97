#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <memory>
#include <string>

#include "main/document/data_file.h"
#include "main/document/ui/table_window.h"
#include "main/workspace/school_info.h"
#include "main/workspace/ui/main_window.h"
#include "main/workspace/workspace_folder.h"
#include "support/qt/qt_app.h"
#include "support/qt/scripted_dialogs.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane::testing {

// Lets deferred deletions and queued events run.
inline void Flush() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A main window on a workspace of its own: the school 一中 with the grades 高一 ((1)班, (2)班) and
// 高二 (no classes), unless a test writes another school file or none.
class FrameTest : public QtTest {
  protected:
    FrameTest() : saved_(ProgramFolder()) { SetProgramFolder(dir.path()); }
    ~FrameTest() override {
        window.reset();
        Flush();
        SetProgramFolder(saved_);
    }

    void writeSchool() {
        SchoolInfo school{"一中", {{"高一", {"(1)班", "(2)班"}}, {"高二", {}}}};
        ASSERT_TRUE(SaveSchoolInfo(school, dir.path() + "/"));
    }

    MainWindow& start() {
        window = std::make_unique<MainWindow>(prompter, dialogs);
        window->loadWorkspace();
        window->show();
        // The frame is the active window, as it is for a user; the window system's activation arrives
        // now rather than in the middle of a test.
        window->activateWindow();
        Flush();
        return *window;
    }

    QTreeWidgetItem* item(const QString& key) {
        for (QTreeWidgetItemIterator it(window->tree()); *it; ++it) {
            if ((*it)->data(0, Qt::UserRole).toString() == key) {
                return *it;
            }
        }
        return nullptr;
    }

    // The folder of 一中/高一/(1)班 and the path of a table in it (without ".skv").
    std::string classFolder() const { return dir.path() + "/表格数据/一中/高一/(1)班/"; }
    std::string tablePath(const std::string& name) const { return classFolder() + name; }

    // Writes a table with the fields 姓名 and 语文 and `students` rows.
    void writeTable(const std::string& pathWithoutExtension, const std::string& title, int students = 3) {
        GradeTable t(students + 1, 3);
        t.title = title;
        t.setCell(0, 1, "姓名");
        t.setCell(0, 2, "语文");
        for (int r = 1; r <= students; ++r) {
            t.setCell(r, 1, "学生" + std::to_string(r));
            t.setCell(r, 2, std::to_string(60 + r));
        }
        t.renumber();
        ASSERT_TRUE(WriteDataFile(t, pathWithoutExtension));
    }

    QMdiSubWindow* subWindowOf(TableWindow* table) {
        return qobject_cast<QMdiSubWindow*>(table->parentWidget());
    }

    QStringList menuBarTitles() const {
        QStringList titles;
        for (QAction* a : window->menuBar()->actions()) {
            titles << a->text();
        }
        return titles;
    }

    TempDir dir;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;

  private:
    std::string saved_;
};

}  // namespace scorvane::testing
