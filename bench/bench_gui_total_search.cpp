// A combined search of three queries on the large database (data source
// "OrmalineLarge"): ligands with a pyridine ring, the nets of the basic library, and
// copper or zinc atoms, intersected by reference code into the result memo. Through the
// real main window, against the combined statement read through the connection layer
// alone and through libpq alone.
#include "app/TTLUnit.h"
#include "app/WidgetText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "support/SearchBench.h"

#include <string>

namespace {

using ormaline::bench::Window;

// The three queries, added once through the tabs' "Add Query".
void PrepareQueries() {
    if (Window()->clbQueries->count() == 3)
        return;
    Window()->actQClearExecute();
    Window()->cmbTTLLibrary->setCurrentText("Ligands");
    Window()->edSearchName->setText("%pyridin%");
    Window()->cbUseLike->setChecked(true);
    Window()->actAddTTLQueryExecute();
    Window()->cbTTDLibrary->setCurrentText("Basic nets");
    Window()->actAddTTDQueryExecute();
    Window()->edChemEl->setText("Cu Zn");
    Window()->edChemElExit();
    Window()->actAddTTAQueryExecute();
}

std::string CombinedStatement() {
    PrepareQueries();
    std::string statement;
    if (Window()->BuildTotalQuery(statement).empty())
        return "select 1 where false";
    return statement;
}

void CombinedConnectionLayer(benchmark::State& state) {
    ormaline::bench::ConnectionLayerBaseline(state, CombinedStatement);
}

void CombinedLibpq(benchmark::State& state) {
    ormaline::bench::LibpqBaseline(state, CombinedStatement);
}

void CombinedInTheWindow(benchmark::State& state) {
    PrepareQueries();
    ormaline::bench::InTheWindow(
        state, [] { Window()->actSearchResultExecute(); },
        [] { return ormaline::MemoLines(Window()->mSearchResult).size(); });
}

BENCHMARK(CombinedLibpq)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CombinedConnectionLayer)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CombinedInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return ormaline::bench::RunSearchBenchmarks(
        argc, argv,
        {{"CombinedInTheWindow/iterations:5", "CombinedConnectionLayer/iterations:5"},
         {"CombinedConnectionLayer/iterations:5", "CombinedLibpq/iterations:5"}});
}
