#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "main/document/document.h"
#include "main/formula/evaluator.h"
#include "main/formula/formula_cell.h"
#include "main/formula/formula_commands.h"
#include "main/formula/sort_rows.h"

namespace scorvane::fuzz {

// The input, split at line feeds, fills a table of 4 students and 3 fields row by row (titles first);
// a piece starting with "=" becomes a formula cell. Every cell's value is computed, the table is
// checked, sorted on each field and computed.
int FuzzFormulaCells(const uint8_t* data, size_t size) {
    Document document;
    GradeTable& table = document.table;
    table = GradeTable(5, 4);
    std::string_view rest = Bytes(data, size);
    for (int i = 0; i < 20 && !rest.empty(); ++i) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        std::string piece(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (!piece.empty() && piece[0] == '=') {
            piece = std::string(kFormulaMarker) + piece.substr(1);
        }
        table.setCell(i / 4, i % 4, std::move(piece));
    }
    const std::vector<std::string> cells = table.cellTexts();
    for (int r = -1; r <= table.rows(); ++r) {
        for (int c = -1; c <= table.cols(); ++c) {
            const std::string value = 公式2值(table, r, c);
            if (!table.contains(r, c)) {
                Check(value.empty(), "an address outside the table gives an empty text");
            } else if (!IsFormula(table.cell(r, c))) {
                Check(value == table.cell(r, c), "a plain cell shows its text");
            }
            if (!table.contains(r, c)) {
                continue;
            }
            std::string expanded;
            ExpandFormulaReferences(table, table.cell(r, c), r, c, expanded);
            Check(expanded.capacity() <= 2 * kMaxExpressionLength + 64,
                  "an expansion never grows past the evaluator's limit");
            for (const CellAddress& ref : FormulaReferences(table, table.cell(r, c), r, c)) {
                Check(table.contains(ref.row, ref.col), "references lie inside the table");
            }
        }
    }
    Check(table.cellTexts() == cells, "computing values never changes the table");

    for (int c = 1; c < table.cols(); ++c) {
        Document sorted = document;
        SortRows(sorted, c, c % 2 == 0, c == 1 ? 3 : -1);  // the first sort writes ranks into field 3
        Check(sorted.table.rows() == table.rows(), "sorting keeps every row");
    }
    CheckAllFormulas(document);
    ReplaceFormulasByValues(table);
    Check(table.rows() == 5 && table.cols() == 4, "computing keeps the table's size");
    return 0;
}

}  // namespace scorvane::fuzz
