// The editing commands on a table of 20,000 students: field commands, delete, class size, undo.
// Reads /tmp/bench/grades_20000.skv when present (bench/gen_table.py), else builds a table of the same
// shape.

#include <benchmark/benchmark.h>

#include "bench/quiet_prompter.h"
#include "common/file_io.h"
#include "main/document/cell_editing.h"
#include "main/document/class_info.h"
#include "main/document/data_file.h"
#include "main/document/edit_commands.h"
#include "main/document/field_commands.h"
#include "main/document/field_manager.h"

namespace {

using namespace scorvane;

const Document& BenchDocument() {
    static const Document document = [] {
        Document d;
        if (auto bytes = ReadWholeFile("/tmp/bench/grades_20000.skv");
            bytes && ParseDataFile(*bytes, d.table)) {
            d.table.renumber();
            d.table.setHeaderLayout(d.table.composeHeaderLayout(false));
            return d;
        }
        d.table.resize(20001, 15);
        for (int r = 0; r < d.table.rows(); ++r) {
            for (int c = 0; c < d.table.cols(); ++c) {
                d.table.setCell(r, c,
                                r == 0 ? "科目" + std::to_string(c) : std::to_string((r * 7 + c) % 100));
            }
        }
        d.table.setHeaderLayout(d.table.composeHeaderLayout(false));
        return d;
    }();
    return document;
}

void BM_InsertThenRemoveColumn(benchmark::State& state) {
    Document doc = BenchDocument();
    bench::QuietPrompter prompter;  // the title prompt cancelled
    for (auto _ : state) {
        InsertColumn(doc, 3, prompter);
        RemoveColumn(doc, 3);
    }
    state.counters["rows"] = doc.table.rows();
}
BENCHMARK(BM_InsertThenRemoveColumn)->Unit(benchmark::kMillisecond);

void BM_DeleteEveryCellThenUndo(benchmark::State& state) {
    Document doc = BenchDocument();
    for (auto _ : state) {
        DeleteCells(doc, {doc.table.rows() - 1, doc.table.cols() - 1, 1, 1});
        UndoLastChange(doc);
    }
}
BENCHMARK(BM_DeleteEveryCellThenUndo)->Unit(benchmark::kMillisecond);

void BM_LowerClassSizeThenUndo(benchmark::State& state) {
    Document doc = BenchDocument();
    ClassInfoValues values;
    for (auto _ : state) {
        OpenClassInfo(doc, values);
        ConfirmClassInfo(doc, values, "19000", "", "");
        UndoLastChange(doc);
    }
}
BENCHMARK(BM_LowerClassSizeThenUndo)->Unit(benchmark::kMillisecond);

void BM_FieldManagerOpenAndApply(benchmark::State& state) {
    Document doc = BenchDocument();
    FieldManager manager;
    for (auto _ : state) {
        manager.open(doc);
        manager.accept(doc);
    }
}
BENCHMARK(BM_FieldManagerOpenAndApply)->Unit(benchmark::kMillisecond);

// One typed entry: the editor opens (taking the undo snapshot of the whole table), its text goes into
// the cell and Enter moves on. This is the work every entry costs beyond the keystrokes themselves.
void BM_TypeOneEntry(benchmark::State& state) {
    Document doc = BenchDocument();
    CellPosition cell{1, 3};
    for (auto _ : state) {
        OpenCellEditor(doc);
        CommitCellEditor(doc, cell, "88");
        cell = CellAfterEnter(doc.table, cell, EnterDirection::DownColumn);
    }
}
BENCHMARK(BM_TypeOneEntry)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
