// A ligand search that returns many rows on the large database (data source
// "OrmalineLarge", 100,000 ligands): the time from "Search" to the filled grid in the
// real main window, against running the same statement and reading the same columns
// through the connection layer alone. The ratio is the window's own overhead.
#include "app/TTLUnit.h"
#include "app/core/TTLQuery.h"
#include "platform/StringGrid.h"
#include "platform/UserDialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kLargeDatabase = "DSN=OrmalineLarge;";
const char* const kPattern = "%";

std::unique_ptr<ormaline::TfrmTTLServices> window;

// The library with the most ligands.
std::string LargestLibrary() {
    ormaline::TDatabase db(kLargeDatabase);
    db.Open();
    auto r = db.Query("select b.name from topology.limon_library b join topology.limon l on "
                      "l.libraryid = b.id group by b.name order by count(*) desc limit 1");
    return r->Eof() ? std::string() : r->AsString("name");
}

void PrepareSearch() {
    window->cmbTTLLibrary->setCurrentText(QString::fromStdString(LargestLibrary()));
    window->edSearchName->setText(kPattern);
    window->cbUseLike->setChecked(true);
}

void ConnectionLayerAlone(benchmark::State& state) {
    ormaline::TDatabase db(kLargeDatabase);
    db.Open();
    PrepareSearch();
    if (!window->CheckTTLConditions()) {
        state.SkipWithError("the large database has no library");
        return;
    }
    std::string statement = ormaline::TTLSearchStatement(window->TTLSearch, true, false, {});
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<std::string> cells;
        auto result = db.Query(statement);
        for (; !result->Eof(); result->Next())
            for (const char* column : {"ID", "name", "countat", "ttlcode", "c_loc"})
                cells.push_back(result->AsString(column));
        rows = cells.size() / 5;
        benchmark::DoNotOptimize(cells.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void SearchInTheWindow(benchmark::State& state) {
    PrepareSearch();
    std::size_t rows = 0;
    for (auto _ : state) {
        window->actTTLSearch->trigger();
        QApplication::processEvents();
        rows = static_cast<std::size_t>(window->sgLigands->RowCount() - 1);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

BENCHMARK(ConnectionLayerAlone)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SearchInTheWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ormaline::InstallDialogs(std::make_unique<ormaline::ScriptedUserDialogs>());
    try {
        window = std::make_unique<ormaline::TfrmTTLServices>(kLargeDatabase);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot open the large database: %s\n", error.what());
        return 1;
    }
    window->show();
    QApplication::processEvents();
    ormaline::bench::RunWithRatios(argc, argv, {{"SearchInTheWindow/iterations:5", "ConnectionLayerAlone/iterations:5"}});
    window.reset();
    return 0;
}
