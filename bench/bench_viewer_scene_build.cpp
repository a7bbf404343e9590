// Scene build on generated periodic structures of 1,000, 10,000 and 100,000 atoms (a
// jittered rock-salt arrangement at the density of sodium chloride, bonds from
// distances, TMax = (0,0,0)). Each step is timed with the grid bond search and with
// the straightforward all-pairs loops on the same data, and the ratio is reported.
// The all-pairs unwrapping is left out where it would take more than about a minute.
//
// The peer baseline: a molecular crystal of caffeine copies (101,376 atoms at 0.10
// atoms per cubic angstrom, some molecules across the cell faces) is written to a
// structure file, which the benchmark reads for its own bond search and gemmi reads
// for its NeighborSearch and ContactSearch with the same radii rule
// (peer_bond_search.py beside this file, run with Debian's python3). Both count the
// contacts they find. The whole build is timed on the same crystal and on one of
// about 1,000,000 atoms.
#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "model/ElementCodes.h"
#include "viewer/core/BondSearch.h"
#include "viewer/core/LVScene.h"
#include "viewer/core/LatvistaOpt.h"
#include "viewer/core/SceneBuild.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

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

// Processor time of this process in seconds: on a machine shared with other work it
// is steadier than the elapsed time, and the peer reports the same measure.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
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

// ---- The caffeine crystal shared with the peer ----

struct TCaffeineAtom {
    const char* symbol;
    double x, y, z; // angstrom, molecule in the xy plane
};

// Caffeine (C8H10N4O2), planar ring system with its three methyl groups; C-H 1.09,
// C=O 1.23 angstrom.
constexpr TCaffeineAtom kCaffeine[] = {
    {"O", 0.4700, 2.5688, 0.0006},   {"O", -3.1271, -0.4436, -0.0003},
    {"N", -0.9686, -1.3125, 0.0000}, {"N", 2.2182, 0.1412, -0.0003},
    {"N", -1.3477, 1.0797, -0.0001}, {"N", 1.4119, -1.9372, 0.0002},
    {"C", 0.8579, 0.2592, -0.0008},  {"C", 0.3897, -1.0264, -0.0004},
    {"C", 0.0307, 1.4220, -0.0006},  {"C", -1.9061, -0.2495, -0.0004},
    {"C", 2.5032, -1.1998, 0.0003},  {"C", -1.4276, -2.6960, 0.0008},
    {"C", 3.1926, 1.2061, 0.0003},   {"C", -2.2969, 2.1881, 0.0007},
    {"H", 3.5163, -1.5787, 0.0008},  {"H", -1.0451, -3.1973, -0.8937},
    {"H", -2.5186, -2.7596, 0.0011}, {"H", -1.0447, -3.1963, 0.8957},
    {"H", 4.1992, 0.7801, 0.0002},   {"H", 3.0468, 1.8092, -0.8992},
    {"H", 3.0466, 1.8083, 0.9004},   {"H", -1.8087, 3.1651, -0.0003},
    {"H", -2.9322, 2.1027, 0.8881},  {"H", -2.9346, 2.1021, -0.8849},
};
constexpr int kCaffeineAtoms = 24;

// One molecule per box of 9.00 x 7.85 x 3.40 angstrom (0.10 atoms per cubic angstrom),
// stacked in layers that alternate the molecule's turn by 180 degrees. The molecules of
// the first column and row are centred on the cell faces, so that their bonds cross them.
struct TCaffeineCrystal {
    int na, nb, nc;
    int Atoms() const { return na * nb * nc * kCaffeineAtoms; }
};
constexpr double kBox[3] = {9.00, 7.85, 3.40};

TCaffeineCrystal CrystalFor(int atoms) {
    return atoms > 500000 ? TCaffeineCrystal{26, 24, 67} : TCaffeineCrystal{12, 11, 32};
}

std::filesystem::path CrystalFile(const TCaffeineCrystal& crystal) {
    return std::filesystem::temp_directory_path() /
           ("ormaline-bench-caffeine-" + std::to_string(crystal.Atoms()) + ".txt");
}

// The structure file: cell, tolerance, radii of the elements, atoms in fractional
// coordinates (the format peer_bond_search.py reads).
std::filesystem::path WriteCrystalFile(const TCaffeineCrystal& crystal, const TLatvistaOpt& opt) {
    const std::filesystem::path path = CrystalFile(crystal);
    std::ofstream out(path);
    const double edges[3] = {crystal.na * kBox[0], crystal.nb * kBox[1], crystal.nc * kBox[2]};
    char line[160];
    std::snprintf(line, sizeof line, "cell %.6f %.6f %.6f 90 90 90\ntolerance %.6f\n", edges[0],
                  edges[1], edges[2], static_cast<double>(opt.AdjTol));
    out << line;
    for (const char* symbol : {"H", "C", "N", "O"}) {
        std::snprintf(line, sizeof line, "radius %s %.6f\n", symbol,
                      static_cast<double>(opt.RadAt[static_cast<std::size_t>(ElCode(symbol))]));
        out << line;
    }
    constexpr double kCentreX = 0.5355; // the molecule's extent along x is centred on 0
    for (int i = 0; i < crystal.na; ++i)
        for (int j = 0; j < crystal.nb; ++j)
            for (int k = 0; k < crystal.nc; ++k) {
                const double turn = k % 2 == 0 ? 1.0 : -1.0;
                for (const TCaffeineAtom& atom : kCaffeine) {
                    const double cartesian[3] = {i * kBox[0] + turn * (atom.x - kCentreX),
                                                 j * kBox[1] + turn * atom.y,
                                                 (k + 0.5) * kBox[2] + atom.z};
                    double f[3];
                    for (int axis = 0; axis < 3; ++axis) {
                        f[axis] = cartesian[axis] / edges[axis];
                        f[axis] -= std::floor(f[axis]);
                    }
                    std::snprintf(line, sizeof line, "%s %.9f %.9f %.9f\n", atom.symbol, f[0], f[1],
                                  f[2]);
                    out << line;
                }
            }
    return path;
}

// Reads the structure file into the scene's compound (atoms numbered per element).
void ReadCrystalFile(const std::filesystem::path& path, TLVScene& scene) {
    tCompParam& comp = scene.CompParamMaler;
    InitCompParam(comp, staAtNI);
    comp.NameSG = "P 1";
    comp.CodeSG = 1;
    std::ifstream in(path);
    std::string line;
    std::map<std::int16_t, int> perElement;
    tSteckAt* head = nullptr;
    tSteckAt** tail = &head;
    int number = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first == "cell") {
            for (int axis = 0; axis < 3; ++axis)
                fields >> comp.DC.Tr[static_cast<std::size_t>(axis)];
            for (int axis = 0; axis < 3; ++axis)
                fields >> comp.DC.Ug[static_cast<std::size_t>(axis)];
            CalcParamTTO(comp);
        } else if (first == "tolerance" || first == "radius" || first.empty()) {
            continue; // the viewer's own options give both
        } else {
            tSteckAt* atom = NewSteckAt();
            atom->A.n = ElCode(first);
            atom->A.i = ++perElement[atom->A.n];
            atom->i = ++number;
            fields >> atom->A.k[0] >> atom->A.k[1] >> atom->A.k[2];
            *tail = atom;
            tail = &atom->li;
            ++comp.DC.at_;
        }
    }
    comp.pAt0 = comp.pAtEnd = head;
}

// Contacts of the scene's atoms, each pair once: a closed bond is in both atoms' lists,
// a bond across a face is an open bond in the list of each of its two atoms.
long CountContacts(const TLVScene& scene) {
    long records = 0;
    for (const tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
        for (const tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
            ++records;
    return records / 2;
}

struct TPeerResult {
    double seconds = 0.0, cpuSeconds = 0.0;
    long contacts = -1;
};

// Runs gemmi on the structure file; no result when Debian's python3-gemmi is missing.
TPeerResult RunGemmi(const std::filesystem::path& file) {
    const std::string command = std::string("/usr/bin/python3 ") + ORMALINE_BENCH_SOURCE_DIR +
                                "/peer_bond_search.py " + file.string() + " 2>/dev/null";
    TPeerResult result;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        if (std::fscanf(pipe, "%lf %lf %ld", &result.seconds, &result.cpuSeconds,
                        &result.contacts) != 3)
            result = {};
        pclose(pipe);
    }
    return result;
}

// The crystal's nodes and coordinates without bonds, read from the file.
void PrepareCrystalNodes(TLVScene& scene, const std::filesystem::path& file) {
    ReadCrystalFile(file, scene);
    scene.WLVO.AdjMatrix = 2;
    SeeCryst(scene, {});
    scene.WLVO.AdjMatrix = 0;
}

// The bond search (both steps) against gemmi on the same file, and each step alone.
void BM_PeerBondSearch(benchmark::State& state) {
    const TCaffeineCrystal crystal = CrystalFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TLatvistaOpt options;
        DefaultLatvistaOpt(options);
        const std::filesystem::path file = WriteCrystalFile(crystal, options);
        TLVScene scene;
        PrepareCrystalNodes(scene, file);
        auto start = std::chrono::steady_clock::now();
        const double startCpu = CpuSeconds();
        DetAdjMatrix(scene, {});
        const double oursCpu = CpuSeconds() - startCpu;
        const double ours = Seconds(start);
        TLVScene steps;
        PrepareCrystalNodes(steps, file);
        start = std::chrono::steady_clock::now();
        DetAdjPairs(steps, {});
        state.counters["pairs_s"] = Seconds(start);
        start = std::chrono::steady_clock::now();
        DetAdjUnwrap(steps, {});
        state.counters["unwrap_s"] = Seconds(start);
        state.SetIterationTime(ours);
        state.counters["grid_s"] = ours;
        state.counters["cpu_s"] = oursCpu;
        state.counters["contacts"] = static_cast<double>(CountContacts(scene));
        const TPeerResult gemmi = RunGemmi(file);
        if (gemmi.contacts < 0) {
            state.SetLabel("gemmi not available (Debian package python3-gemmi)");
        } else {
            state.counters["gemmi_s"] = gemmi.seconds;
            state.counters["gemmi_cpu_s"] = gemmi.cpuSeconds;
            state.counters["gemmi_contacts"] = static_cast<double>(gemmi.contacts);
            state.counters["vs_gemmi"] = ours / gemmi.seconds;
            state.counters["vs_gemmi_cpu"] = oursCpu / gemmi.cpuSeconds;
        }
        std::filesystem::remove(file);
    }
}

// The whole build of the crystal read from its file, as the window's thread runs it,
// with the completion.
void BM_WholeCrystalBuild(benchmark::State& state) {
    const TCaffeineCrystal crystal = CrystalFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TLVScene scene;
        DefaultLatvistaOpt(scene.WLVO);
        const std::filesystem::path file = WriteCrystalFile(crystal, scene.WLVO);
        ReadCrystalFile(file, scene);
        std::filesystem::remove(file);
        scene.WLVO.AdjMatrix = 0;
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = CpuSeconds();
        RunSceneBuild(scene, {});
        CompleteSceneBuild(scene);
        const double seconds = Seconds(start);
        state.SetIterationTime(seconds);
        state.counters["grid_s"] = seconds;
        state.counters["cpu_s"] = CpuSeconds() - startCpu;
        state.counters["nodes"] = scene.WCountAt;
        state.counters["contacts"] = static_cast<double>(CountContacts(scene));
    }
}

BENCHMARK(BM_PeerBondSearch)
    ->Arg(101376)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeCrystalBuild)
    ->Arg(101376)
    ->Arg(1003392)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
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
