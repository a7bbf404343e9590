// Scene build on generated periodic structures of 1,000, 10,000 and 100,000 atoms (a
// jittered rock-salt arrangement at the density of sodium chloride, bonds from
// distances, TMax = (0,0,0)). Each step is timed with the grid bond search and with
// the straightforward all-pairs loops on the same data, and the ratio is reported.
// The all-pairs unwrapping is left out where it would take more than about a minute.
#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "viewer/core/BondSearch.h"
#include "viewer/core/LVScene.h"
#include "viewer/core/SceneBuild.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <random>

namespace ormaline {
namespace {

constexpr double kSpacing = 2.82; // Na-Cl distance in angstrom

std::array<int, 3> GridFor(int atoms) {
    switch (atoms) {
    case 1000:
        return {10, 10, 10};
    case 10000:
        return {10, 20, 50};
    case 60000:
        return {30, 40, 50};
    default:
        return {40, 50, 50};
    }
}

// Atoms on the planes through the origin sit exactly on the faces (as special positions
// do); the others are jittered by up to 0.05 angstrom.
void FillRockSalt(TLVScene& scene, int atoms) {
    const std::array<int, 3> n = GridFor(atoms);
    tCompParam& comp = scene.CompParamMaler;
    InitCompParam(comp, staAtNI);
    for (int axis = 0; axis < 3; ++axis) {
        comp.DC.Tr[static_cast<std::size_t>(axis)] = static_cast<float>(n[axis] * kSpacing);
        comp.DC.Ug[static_cast<std::size_t>(axis)] = 90.0f;
    }
    CalcParamTTO(comp);
    comp.NameSG = "P 1";
    comp.CodeSG = 1;
    std::mt19937 random(42);
    std::uniform_real_distribution<double> jitter(-0.05, 0.05);
    tSteckAt* head = nullptr;
    tSteckAt** tail = &head;
    int number = 0;
    for (int i = 0; i < n[0]; ++i)
        for (int j = 0; j < n[1]; ++j)
            for (int k = 0; k < n[2]; ++k) {
                tSteckAt* atom = NewSteckAt();
                atom->A.n = (i + j + k) % 2 == 0 ? 11 : 17;
                atom->A.i = ++number;
                atom->i = number;
                const int index[3] = {i, j, k};
                for (int axis = 0; axis < 3; ++axis) {
                    double f = index[axis];
                    if (index[axis] != 0)
                        f += jitter(random) / kSpacing;
                    atom->A.k[static_cast<std::size_t>(axis)] = f / n[axis];
                }
                *tail = atom;
                tail = &atom->li;
                ++comp.DC.at_;
            }
    comp.pAt0 = comp.pAtEnd = head;
}

// Every atom's six neighbours as stored contacts, with the translation of those across a
// face. Atom numbers are 16-bit in contacts, so this is for structures below 65,536 atoms.
void AddStoredContacts(TLVScene& scene, int atoms) {
    const std::array<int, 3> n = GridFor(atoms);
    std::vector<tSteckAt*> byNumber;
    for (tSteckAt* atom = scene.CompParamMaler.pAtEnd; atom != nullptr; atom = atom->li)
        byNumber.push_back(atom);
    for (int i = 0; i < n[0]; ++i)
        for (int j = 0; j < n[1]; ++j)
            for (int k = 0; k < n[2]; ++k) {
                tSteckAt* atom = byNumber[static_cast<std::size_t>((i * n[1] + j) * n[2] + k)];
                const int index[3] = {i, j, k};
                for (int axis = 0; axis < 3; ++axis)
                    for (int step : {-1, 1}) {
                        int other[3] = {i, j, k};
                        other[axis] += step;
                        tAdjMatr* contact = NewAdjMatr();
                        contact->m = 1;
                        if (other[axis] < 0 || other[axis] >= n[axis]) {
                            other[axis] = (other[axis] + n[axis]) % n[axis];
                            contact->a[static_cast<std::size_t>(axis)] =
                                static_cast<std::int8_t>(index[axis] == 0 ? -1 : 1);
                        }
                        contact->i = static_cast<std::uint16_t>(
                            (other[0] * n[1] + other[1]) * n[2] + other[2] + 1);
                        contact->li = atom->PMAd;
                        atom->PMAd = contact;
                    }
            }
}

// A scene from stored contacts without the lattice copies of the last step.
void PrepareStored(TLVScene& scene, int atoms) {
    FillRockSalt(scene, atoms);
    AddStoredContacts(scene, atoms);
    scene.ShowMoleculeOnly = true;
    SeeCryst(scene, {});
}

// A scene with its nodes and coordinates but without bonds.
void PrepareNodes(TLVScene& scene, int atoms) {
    FillRockSalt(scene, atoms);
    scene.WLVO.AdjMatrix = 2;
    SeeCryst(scene, {});
    scene.WLVO.AdjMatrix = 0;
}

double Seconds(const std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename Step> double TimeStep(int atoms, Step step) {
    TLVScene scene;
    PrepareNodes(scene, atoms);
    const auto start = std::chrono::steady_clock::now();
    step(scene);
    return Seconds(start);
}

void Report(benchmark::State& state, double grid, double allPairs) {
    state.SetIterationTime(grid);
    state.counters["grid_s"] = grid;
    if (allPairs > 0) {
        state.counters["allpairs_s"] = allPairs;
        state.counters["ratio"] = allPairs / grid;
    } else {
        state.SetLabel("all-pairs left out: estimated above a minute");
    }
}

void BM_NodesBoundaryCoordinates(benchmark::State& state) {
    const int atoms = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TLVScene scene;
        FillRockSalt(scene, atoms);
        scene.WLVO.AdjMatrix = 2;
        const auto start = std::chrono::steady_clock::now();
        SeeCryst(scene, {});
        const double seconds = Seconds(start);
        state.SetIterationTime(seconds);
        state.counters["grid_s"] = seconds;
        state.counters["nodes"] = scene.WCountAt;
    }
}

void BM_BondPairs(benchmark::State& state) {
    const int atoms = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const double grid = TimeStep(atoms, [](TLVScene& s) { DetAdjPairs(s, {}); });
        const double allPairs = TimeStep(atoms, [](TLVScene& s) { DetAdjPairsAllPairs(s, {}); });
        Report(state, grid, allPairs);
    }
}

void BM_Unwrapping(benchmark::State& state) {
    const int atoms = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const auto pairsThen = [](auto unwrap) {
            return [unwrap](TLVScene& s) {
                DetAdjPairs(s, {});
                const auto start = std::chrono::steady_clock::now();
                unwrap(s);
                return Seconds(start);
            };
        };
        TLVScene gridScene;
        PrepareNodes(gridScene, atoms);
        const double grid = pairsThen([](TLVScene& s) { DetAdjUnwrap(s, {}); })(gridScene);
        double allPairs = 0.0;
        if (atoms <= 10000) {
            TLVScene allScene;
            PrepareNodes(allScene, atoms);
            allPairs = pairsThen([](TLVScene& s) { DetAdjUnwrapAllPairs(s, {}); })(allScene);
        }
        Report(state, grid, allPairs);
    }
}

void BM_WholeBuild(benchmark::State& state) {
    const int atoms = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TLVScene scene;
        FillRockSalt(scene, atoms);
        scene.WLVO.AdjMatrix = 0;
        const auto start = std::chrono::steady_clock::now();
        RunSceneBuild(scene, {});
        const double grid = Seconds(start);
        double allPairs = 0.0;
        if (atoms <= 10000) {
            // The straightforward build: the same steps with the all-pairs bond search.
            TLVScene baseline;
            FillRockSalt(baseline, atoms);
            baseline.WLVO.AdjMatrix = 2;
            const auto startAll = std::chrono::steady_clock::now();
            SeeCryst(baseline, {});
            baseline.WLVO.AdjMatrix = 0;
            DetAdjMatrixAllPairs(baseline, {});
            allPairs = Seconds(startAll);
        }
        Report(state, grid, allPairs);
        state.counters["nodes"] = scene.WCountAt;
    }
}

// The last step of a build from stored contacts: atoms on the faces through the origin
// copied one cell further with their bonds, through the node index and by list search.
void BM_FaceCopies(benchmark::State& state) {
    const int atoms = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TLVScene indexed, straightforward;
        PrepareStored(indexed, atoms);
        PrepareStored(straightforward, atoms);
        auto start = std::chrono::steady_clock::now();
        MultiplyFaceAtoms(indexed, {});
        const double grid = Seconds(start);
        start = std::chrono::steady_clock::now();
        MultiplyFaceAtomsStraightforward(straightforward, {});
        Report(state, grid, Seconds(start));
        state.counters["copies"] = indexed.WCountAt - indexed.OldWCountAt;
    }
}

void BM_WholeStoredBuild(benchmark::State& state) {
    const int atoms = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TLVScene scene;
        FillRockSalt(scene, atoms);
        AddStoredContacts(scene, atoms);
        const auto start = std::chrono::steady_clock::now();
        RunSceneBuild(scene, {});
        const double seconds = Seconds(start);
        state.SetIterationTime(seconds);
        state.counters["grid_s"] = seconds;
        state.counters["nodes"] = scene.WCountAt;
    }
}

BENCHMARK(BM_FaceCopies)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(60000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeStoredBuild)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(60000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NodesBoundaryCoordinates)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BondPairs)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unwrapping)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeBuild)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ormaline

BENCHMARK_MAIN();
