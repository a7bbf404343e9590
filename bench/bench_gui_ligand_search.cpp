// A ligand search that returns many rows on the large database (data source
// "OrmalineLarge", 100,000 ligands): the time from "Search" to the filled grid in the
// real main window, against running the same statement and reading every value through
// the connection layer alone, and through libpq alone (the limit). The first ratio is the
// window's own overhead, the second the connection layer's.
#include "app/TTLUnit.h"
#include "app/core/TTLQuery.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "support/SearchBench.h"

#include <string>

namespace {

using ormaline::bench::Window;

// The library with the most ligands.
std::string LargestLibrary() {
    ormaline::TDatabase db(ormaline::bench::kLargeDatabase);
    db.Open();
    auto r = db.Query("select b.name from topology.limon_library b join topology.limon l on "
                      "l.libraryid = b.id group by b.name order by count(*) desc limit 1");
    return r->Eof() ? std::string() : r->AsString("name");
}

void PrepareSearch() {
    Window()->cmbTTLLibrary->setCurrentText(QString::fromStdString(LargestLibrary()));
    Window()->edSearchName->setText("%");
    Window()->cbUseLike->setChecked(true);
}

std::string SearchStatement() {
    PrepareSearch();
    if (!Window()->CheckTTLConditions())
        return "select 1 where false";
    return ormaline::TTLSearchStatement(Window()->TTLSearch, true, false, {});
}

void ConnectionLayerAlone(benchmark::State& state) {
    ormaline::bench::ConnectionLayerBaseline(state, SearchStatement);
}

void LibpqAlone(benchmark::State& state) {
    ormaline::bench::LibpqBaseline(state, SearchStatement);
}

void SearchInTheWindow(benchmark::State& state) {
    PrepareSearch();
    ormaline::bench::InTheWindow(
        state, [] { Window()->actTTLSearch->trigger(); },
        [] { return Window()->sgLigands->RowCount() - 1; });
}

BENCHMARK(LibpqAlone)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ConnectionLayerAlone)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SearchInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return ormaline::bench::RunSearchBenchmarks(
        argc, argv,
        {{"SearchInTheWindow/iterations:5", "ConnectionLayerAlone/iterations:5"},
         {"ConnectionLayerAlone/iterations:5", "LibpqAlone/iterations:5"}});
}
