// Filling a result grid with 100,000 rows of five columns, as a search does, against
// a plain loop that builds the same strings in a std::vector. The ratio is the
// grid's own cost per row.
#include "platform/StringGrid.h"

#include <QApplication>

#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 5;

std::string CellText(int column, int row) {
    switch (column) {
    case 0: return std::to_string(100000 + row);
    case 1: return std::to_string(row % 97);
    case 2: return "ligand-" + std::to_string(row);
    case 3: return "{0A1B2C3D-0000-4000-8000-" + std::to_string(100000000000LL + row) + "}";
    default: return std::to_string(row % 13);
    }
}

void BaselineVector(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::string> cells;
        cells.reserve(static_cast<std::size_t>(kRows + 1) * kColumns);
        for (int row = 0; row <= kRows; ++row)
            for (int column = 0; column < kColumns; ++column)
                cells.push_back(CellText(column, row));
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void FillStringGrid(benchmark::State& state) {
    ormaline::StringGrid grid;
    grid.resize(800, 600);
    grid.show();
    QApplication::processEvents();
    for (auto _ : state) {
        grid.ResetToHeader({"TTLCode", "CountAt", "TTLName", "ID", "Occur."});
        grid.BeginUpdate();
        for (int row = 1; row <= kRows; ++row) {
            grid.SetRowCount(row + 1);
            for (int column = 0; column < kColumns; ++column)
                grid.SetCell(column, row, CellText(column, row));
        }
        grid.EndUpdate();
        QApplication::processEvents();
        benchmark::DoNotOptimize(grid.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The same without an open update: each new row and cell is announced to the view.
void FillStringGridRowByRow(benchmark::State& state) {
    ormaline::StringGrid grid;
    grid.resize(800, 600);
    grid.show();
    QApplication::processEvents();
    for (auto _ : state) {
        grid.ResetToHeader({"TTLCode", "CountAt", "TTLName", "ID", "Occur."});
        for (int row = 1; row <= kRows; ++row) {
            grid.SetRowCount(row + 1);
            for (int column = 0; column < kColumns; ++column)
                grid.SetCell(column, row, CellText(column, row));
        }
        QApplication::processEvents();
        benchmark::DoNotOptimize(grid.RowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BaselineVector)->Unit(benchmark::kMillisecond);
BENCHMARK(FillStringGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(FillStringGridRowByRow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ormaline::bench::RunWithRatios(argc, argv, {{"FillStringGrid", "BaselineVector"}, {"FillStringGridRowByRow", "BaselineVector"}});
    return 0;
}
