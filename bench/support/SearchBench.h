// What the database benchmarks share: the main window over the large database (data
// source "OrmalineLarge"), and the two baselines of a statement: the connection layer
// alone and libpq alone, each reading every value of every row as text.
#pragma once

#include "app/TTLUnit.h"
#include "db/Database.h"
#include "platform/UserDialogs.h"

#include "support/LibpqReader.h"
#include "support/RatioReporter.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace ormaline::bench {

inline constexpr const char* kLargeDataSource = "OrmalineLarge";
inline constexpr const char* kLargeDatabase = "DSN=OrmalineLarge;";

inline std::unique_ptr<TfrmTTLServices>& Window() {
    static std::unique_ptr<TfrmTTLServices> window;
    return window;
}

// Runs the statement through the connection layer, every column of every row read.
inline std::size_t ReadThroughConnectionLayer(TDatabase& db, const std::string& statement,
                                              std::vector<std::string>& values) {
    values.clear();
    std::size_t rows = 0;
    auto result = db.Query(statement);
    for (; !result->Eof(); result->Next(), ++rows)
        for (int column = 0; column < result->ColumnCount(); ++column)
            values.push_back(result->AsString(column));
    result->Close();
    return rows;
}

// The two baselines of `statement()` (asked for once, before timing).
template <class Statement>
void ConnectionLayerBaseline(benchmark::State& state, Statement statement) {
    TDatabase db(kLargeDatabase);
    db.Open();
    const std::string text = statement();
    std::vector<std::string> values;
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = ReadThroughConnectionLayer(db, text, values);
        benchmark::DoNotOptimize(values.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

template <class Statement> void LibpqBaseline(benchmark::State& state, Statement statement) {
    LibpqReader reader(kLargeDataSource);
    const std::string text = statement();
    std::vector<std::string> values;
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = reader.ReadAll(text, values);
        benchmark::DoNotOptimize(values.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// The command through the window: `run` once per iteration, its events processed; the
// number of result rows `rows()` shows afterwards is reported.
template <class Run, class Rows> void InTheWindow(benchmark::State& state, Run run, Rows rows) {
    for (auto _ : state) {
        run();
        QApplication::processEvents();
    }
    state.counters["rows"] = static_cast<double>(rows());
}

// The program's main: the window over the large database, shown, then the benchmarks
// with the ratio report of `pairs` (measured, baseline).
inline int RunSearchBenchmarks(int argc, char** argv,
                               std::vector<std::pair<std::string, std::string>> pairs) {
    QApplication application(argc, argv);
    InstallDialogs(std::make_unique<ScriptedUserDialogs>());
    try {
        Window() = std::make_unique<TfrmTTLServices>(kLargeDatabase);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot open the large database: %s\n", error.what());
        return 1;
    }
    Window()->show();
    QApplication::processEvents();
    RunWithRatios(argc, argv, std::move(pairs));
    Window().reset();
    return 0;
}

} // namespace ormaline::bench
