#pragma once

#include <QApplication>
#include <QTableView>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "common/status_sink.h"
#include "main/document/data_file.h"
#include "main/document/ui/table_window.h"
#include "main/document/ui/table_window_host.h"
#include "support/qt/qt_app.h"
#include "support/qt/scripted_dialogs.h"
#include "support/scoped_program_folder.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane::testing {

// A host that records the status texts and, at every busy change, whether the grid was shown; Enter
// moves the way `direction` says; the table font is `font`.
class RecordingHost : public TableWindowHost, public StatusSink {
  public:
    Prompter& prompter() override { return prompts; }
    StatusSink& statusSink() override { return *this; }
    DialogRunner& dialogRunner() override { return dialogs; }
    QWidget* dialogOwner() override { return nullptr; }
    EnterDirection enterDirection() const override { return direction; }
    TableFont currentTableFont() const override { return font; }
    void tableFontChosen(const TableFont& chosen) override { font = chosen; }

    void setStatus(std::string_view text) override { texts.emplace_back(text); }
    void setBusy(bool busy) override {
        busyChanges.push_back(busy);
        gridShownWhenBusy.push_back(window && window->grid()->isVisible());
    }

    ScriptedPrompter prompts;
    ScriptedDialogs dialogs;
    EnterDirection direction = EnterDirection::AlongRow;
    TableFont font;
    TableWindow* window = nullptr;
    std::vector<std::string> texts;
    std::vector<bool> busyChanges;
    std::vector<bool> gridShownWhenBusy;
};

// A table window of its own, shown and active, on a workspace in a temporary folder.
class TableWindowTest : public QtTest {
  protected:
    TableWindowTest() {
        window = std::make_unique<TableWindow>(host);
        host.window = window.get();
        window->resize(600, 400);
        window->show();
        window->activateWindow();
        QApplication::processEvents();
    }
    ~TableWindowTest() override {
        host.window = nullptr;
        window.reset();
    }

    // A table of `students` rows with the fields 姓名, 语文, 数学成绩总评 (marks 60 + r and 70 + r);
    // written and loaded.
    void load(int students = 5) {
        GradeTable t(students + 1, 4);
        t.title = "期中";
        t.teacher = "李老师";
        t.setCell(0, 1, "姓名");
        t.setCell(0, 2, "语文");
        t.setCell(0, 3, "数学成绩总评");
        for (int r = 1; r <= students; ++r) {
            t.setCell(r, 1, "学生" + std::to_string(r));
            t.setCell(r, 2, std::to_string(60 + r));
            t.setCell(r, 3, std::to_string(70 + r));
        }
        ASSERT_TRUE(WriteDataFile(t, dir.file("期中")));
        window->document().table.filePath = dir.file("期中");
        ASSERT_EQ(window->loadData(dir.file("期中"), true), LoadOutcome::Loaded);
    }

    TempDir dir;
    ScopedProgramFolder workspace{dir.path()};
    RecordingHost host;
    std::unique_ptr<TableWindow> window;
};

}  // namespace scorvane::testing
