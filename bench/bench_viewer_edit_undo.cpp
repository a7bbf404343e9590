// Selecting, deleting and undoing on a scene of 100,000 atoms at random positions with
// their distance bonds: a rectangle selection of every atom (the region dialog's
// limits around the whole cell), Delete of that selection, Show All, and the undo of
// each step. Baseline: bringing the scene back the way a window without a history
// would, by rebuilding it (the completed scene's copy put back, as "Create" does on a
// drawn scene). Counters: the bytes each undo state holds, per atom and per state,
// from the allocator's own count.
#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "viewer/core/LVScene.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneBuild.h"
#include "viewer/core/SceneOps.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/interact/core/Editing.h"
#include "viewer/interact/core/SelectionTools.h"

#include "support/RandomAtoms.h"
#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

namespace ormaline {
namespace {

constexpr int kAtoms = 100000;
constexpr TRegionLimits kWholeCell{-4.0f, 4.0f, -4.0f, 4.0f, -4.0f, 4.0f};

// Random atoms (support/RandomAtoms.h) with bonds by distance.
TLVScene& Scene() {
    static std::unique_ptr<TLVScene> scene = [] {
        auto made = std::make_unique<TLVScene>();
        made->WLVO.AdjMatrix = 0;
        bench::FillRandomAtoms(*made, kAtoms);
        RunSceneBuild(*made, {});
        StackToArr(*made);
        FormResize(*made, 800, 600);
        made->WLVO.CutMode = 1;
        return made;
    }();
    return *scene;
}

int Bonds(const TLVScene& scene) {
    int count = 0;
    for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        count += BondCount(*node);
    return count;
}

std::size_t Allocated() {
    return mallinfo2().uordblks;
}

void SelectAll(TLVScene& scene) {
    SelectRegion(scene, kWholeCell, 0.0);
}

// Back to the start: no selection, everything shown, an empty history.
void Reset(TLVScene& scene) {
    NotInsAllAtom(scene);
    RestoreAll1Click(scene);
    scene.UndoHistory.FinalizeAllUndoArr();
}

void BM_SelectAllRectangle(benchmark::State& state) {
    TLVScene& scene = Scene();
    Reset(scene);
    std::size_t held = 0;
    for (auto _ : state) {
        SelectAll(scene);
        state.PauseTiming();
        if (scene.CountInsAt != scene.WCountAt - 8)
            state.SkipWithError("not every atom selected");
        NotInsAllAtom(scene);
        scene.UndoHistory.FinalizeAllUndoArr();
        state.ResumeTiming();
    }
    // The selection records themselves (the state "Select region" holds the empty
    // selection before them).
    const std::size_t before = Allocated();
    SelectAll(scene);
    held = Allocated() - before;
    state.counters["selection_records_bytes_per_atom"] = static_cast<double>(held) / kAtoms;
    Reset(scene);
}

void BM_DeleteSelection(benchmark::State& state) {
    TLVScene& scene = Scene();
    Reset(scene);
    for (auto _ : state) {
        state.PauseTiming();
        SelectAll(scene);
        state.ResumeTiming();
        Delete1Click(scene);
        state.PauseTiming();
        Reset(scene);
        state.ResumeTiming();
    }
}

void BM_UndoDelete(benchmark::State& state) {
    TLVScene& scene = Scene();
    Reset(scene);
    for (auto _ : state) {
        state.PauseTiming();
        SelectAll(scene);
        scene.UndoHistory.FinalizeAllUndoArr();
        Delete1Click(scene); // states "Select" and "Delete atom"
        state.ResumeTiming();
        scene.UndoHistory.actUndoExecute(800, 600, nullptr);
        state.PauseTiming();
        if (scene.CountInsAt != scene.WCountAt - 8)
            state.SkipWithError("the deleted atoms are not back");
        Reset(scene);
        state.ResumeTiming();
    }
    // What one state of a selection of every atom holds ("Delete atom", "Select").
    SelectAll(scene);
    scene.UndoHistory.FinalizeAllUndoArr();
    const std::size_t before = Allocated();
    KeepState(scene, 2, "Delete atom");
    const auto held = static_cast<double>(Allocated() - before);
    state.counters["selection_state_bytes"] = held;
    state.counters["selection_state_bytes_per_atom"] = held / kAtoms;
    Reset(scene);
}

void BM_UndoSelect(benchmark::State& state) {
    TLVScene& scene = Scene();
    Reset(scene);
    for (auto _ : state) {
        state.PauseTiming();
        SelectAll(scene);
        SelectAll(scene); // the second state holds the whole selection
        state.ResumeTiming();
        scene.UndoHistory.actUndoExecute(800, 600, nullptr);
        state.PauseTiming();
        Reset(scene);
        state.ResumeTiming();
    }
}

void BM_UndoShowAll(benchmark::State& state) {
    TLVScene& scene = Scene();
    Reset(scene);
    std::size_t held = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t before = Allocated();
        RestoreAll1Click(scene); // state 23: every node and every bond
        held = Allocated() - before;
        state.ResumeTiming();
        scene.UndoHistory.actUndoExecute(800, 600, nullptr);
        state.PauseTiming();
        scene.UndoHistory.FinalizeAllUndoArr();
        state.ResumeTiming();
    }
    state.counters["showall_bytes_per_state"] = static_cast<double>(held);
    state.counters["showall_bytes_per_node_and_bond"] =
        static_cast<double>(held) / (scene.WCountAt + Bonds(scene));
}

void BM_ShowAll(benchmark::State& state) {
    TLVScene& scene = Scene();
    Reset(scene);
    for (auto _ : state) {
        RestoreAll1Click(scene);
        state.PauseTiming();
        scene.UndoHistory.FinalizeAllUndoArr();
        state.ResumeTiming();
    }
    state.counters["nodes"] = scene.WCountAt;
    state.counters["bonds"] = Bonds(scene);
}

// Baseline: the scene brought back by rebuilding it from its completed copy.
void BM_RebuildScene(benchmark::State& state) {
    TLVScene& scene = Scene();
    Reset(scene);
    for (auto _ : state) {
        PrepareSceneBuild(scene);
        RunSceneBuild(scene, {});
        StackToArr(scene);
    }
}

BENCHMARK(BM_SelectAllRectangle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteSelection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoSelect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoShowAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildScene)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ormaline

int main(int argc, char** argv) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* measured : {"BM_SelectAllRectangle", "BM_DeleteSelection", "BM_UndoSelect",
                                 "BM_UndoDelete", "BM_ShowAll", "BM_UndoShowAll"})
        pairs.push_back({measured, "BM_RebuildScene"});
    ormaline::bench::RunWithRatios(argc, argv, pairs);
    return 0;
}
