// Atom searches on the large database (data source "OrmalineLarge", over 3,000,000 atom
// rows): the per-element statistics of every element (the server groups every atom row)
// and the list of the metal atoms that "Read" shows (tens of thousands of rows, each
// formatted into the grid). Each through the real main window, against the
// same statement read through the connection layer alone and through libpq alone.
#include "app/TTLUnit.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "support/SearchBench.h"

#include <string>

namespace {

using ormaline::bench::Window;

// Every element ("El") for the statistics, the metals ("Me") for the atom list.
void PrepareSearch(const char* elements) {
    Window()->edChemEl->setText(elements);
    Window()->edChemElExit();
}

std::string SearchStatement() {
    PrepareSearch("El");
    if (!Window()->CheckTTAConditions())
        return "select 1 where false";
    return ormaline::TTASearchStatement(Window()->TTASearch, {}, false, {});
}

std::string ReadStatement() {
    PrepareSearch("Me");
    if (!Window()->CheckTTAConditions())
        return "select 1 where false";
    return ormaline::TTAReadStatement(Window()->TTASearch, {}, false, {});
}

void StatisticsConnectionLayer(benchmark::State& state) {
    ormaline::bench::ConnectionLayerBaseline(state, SearchStatement);
}

void StatisticsLibpq(benchmark::State& state) {
    ormaline::bench::LibpqBaseline(state, SearchStatement);
}

void StatisticsInTheWindow(benchmark::State& state) {
    PrepareSearch("El");
    ormaline::bench::InTheWindow(
        state, [] { Window()->actTTASearch->trigger(); },
        [] { return Window()->sgAtoms->RowCount() - 1; });
}

void AtomsConnectionLayer(benchmark::State& state) {
    ormaline::bench::ConnectionLayerBaseline(state, ReadStatement);
}

void AtomsLibpq(benchmark::State& state) {
    ormaline::bench::LibpqBaseline(state, ReadStatement);
}

void AtomsInTheWindow(benchmark::State& state) {
    PrepareSearch("Me");
    Window()->actTTASearch->trigger();
    QApplication::processEvents();
    ormaline::bench::InTheWindow(
        state, [] { Window()->actAtReadExecute(); },
        [] { return Window()->sgAtOccurrence->RowCount() - 1; });
}

BENCHMARK(StatisticsLibpq)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(StatisticsConnectionLayer)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(StatisticsInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(AtomsLibpq)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(AtomsConnectionLayer)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(AtomsInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return ormaline::bench::RunSearchBenchmarks(
        argc, argv,
        {{"StatisticsInTheWindow/iterations:5", "StatisticsConnectionLayer/iterations:5"},
         {"StatisticsConnectionLayer/iterations:5", "StatisticsLibpq/iterations:5"},
         {"AtomsInTheWindow/iterations:5", "AtomsConnectionLayer/iterations:5"},
         {"AtomsConnectionLayer/iterations:5", "AtomsLibpq/iterations:5"}});
}
