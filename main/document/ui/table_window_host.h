#pragma once

#include <memory>
#include <string>

#include "main/document/cell_editing.h"
#include "main/document/grade_table.h"
#include "main/document/table_font.h"

class QWidget;

namespace scorvane {

class Prompter;
class StatusSink;
class DialogRunner;
class PrintPath;

// What a table a command made is: an ordinary table brought in (a workbook's sheet), or the result of
// an analysis, a statistics or a comparison, which prints with its 班级信息 (how it was made) shown and
// opens large enough to read.
enum class NewTableKind { Ordinary, Result };

// What a table window takes from the frame that holds it: the prompts, the first status panel and the
// busy pointer, the runner of modal dialogs and the window that owns them.
class TableWindowHost {
  public:
    TableWindowHost();
    virtual ~TableWindowHost();
    virtual Prompter& prompter() = 0;
    virtual StatusSink& statusSink() = 0;
    virtual DialogRunner& dialogRunner() = 0;
    virtual QWidget* dialogOwner() = 0;
    // Which way Enter moves the cursor after an entry: the frame's direction buttons.
    virtual EnterDirection enterDirection() const { return EnterDirection::AlongRow; }
    // The one table font of all table windows, and the font the user chose in the font dialog (kept
    // by the frame for every window's next activation).
    virtual TableFont currentTableFont() const { return TableFont(); }
    virtual void tableFontChosen(const TableFont&) {}
    // Opens a data file (the path without ".skv") in a new table window of the frame; a host without
    // table windows of its own opens nothing.
    virtual void openDataFile(const std::string& /*pathWithoutExtension*/) {}
    // Opens a table a command made (the statistics' results, a workbook's sheet) in a new table window
    // of the frame: it has no file yet and counts as changed, so closing it asks whether to save it.
    virtual void openNewTable(GradeTable /*table*/, NewTableKind /*kind*/) {}
    // The folder of the class chosen in the school tree, where the save dialog of a table without a
    // file opens; "" when no class is chosen (the dialog opens in the data folder).
    virtual std::string chosenClassFolder() const { return {}; }
    // The path the print windows print through: made once from the prompts, the runner, the status
    // panel and the owner above.
    virtual PrintPath& printPath();

  private:
    std::unique_ptr<PrintPath> printPath_;
};

}  // namespace scorvane
