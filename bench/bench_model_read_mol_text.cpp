// Reading graph files and fitting planes, the structure-model work that grows with the
// data.
//
// ReadMolText on generated files of 10,000 and 100,000 atoms (about two bonds each),
// in atoms per second, beside a baseline that only splits the same lines into their
// blank-separated fields. The ratio of the two shows what reading adds to merely
// touching the text; the 10,000 to 100,000 growth shows whether reading stays
// near-linear. A 300,000-atom file shows the cost per atom once the compound no longer
// fits in the caches: from there on it stays flat. A second reference builds the same atom list the
// straightforward way, walking the list for every atom (index count and InsSortAt), to show the
// quadratic growth that reading avoids.
//
// FitPlane of 1,000,000 points beside a baseline that only forms the centroid of the
// same points.
#include "model/AtomList.h"
#include "model/Compound.h"
#include "model/MolTextReader.h"
#include "model/PlaneKernels.h"

#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace ormaline;

namespace {

// A graph file of `atoms` atoms in chains of ten (neighbours bonded along the chain,
// about 1.8 bonds per atom). Atom numbers repeat every 50,000 atoms, since bonds name
// partners by 16-bit numbers; the reader does not link, so its work is the same.
std::vector<std::string> GeneratedFile(int atoms) {
    static const char* const elements[] = {"C", "H", "O", "N", "Cl", "Fe", "S", "P", "Zn", "Cu"};
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> thousandths(0, 999);
    auto number = [](int k) { return std::to_string(k % 50'000 + 1); };
    std::vector<std::string> lines = {"VER=1;0:BENCH:generated",
                                      "20.000 21.000 22.000 90.00 101.50 90.00"};
    lines.reserve(static_cast<std::size_t>(atoms) + 2);
    for (int k = 0; k < atoms; ++k) {
        std::string line = number(k) + " " + elements[random() % 10] + "[1,?]<clRed> ";
        for (int axis = 0; axis < 3; ++axis)
            line += "0." + std::to_string(100 + thousandths(random)).substr(1) + " ";
        int position = k % 10;
        if (position > 0)
            line += number(k - 1) + " v ";
        if (position < 9 && k + 1 < atoms)
            line += number(k + 1) + (k % 3 == 0 ? " h " : " v ");
        lines.push_back(std::move(line));
    }
    return lines;
}

const std::vector<std::string>& FileOf(int atoms) {
    static std::map<int, std::vector<std::string>> files;
    auto found = files.find(atoms);
    if (found == files.end())
        found = files.emplace(atoms, GeneratedFile(atoms)).first;
    return found->second;
}

void BM_SplitFieldsBaseline(benchmark::State& state) {
    const std::vector<std::string>& lines = FileOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t fields = 0;
        for (const std::string& line : lines) {
            std::string_view rest = line;
            while (!rest.empty()) {
                std::size_t blank = rest.find(' ');
                std::string_view field = rest.substr(0, blank);
                benchmark::DoNotOptimize(field.data());
                fields += field.empty() ? 0 : 1;
                rest =
                    blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
            }
        }
        benchmark::DoNotOptimize(fields);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReadMolText(benchmark::State& state) {
    const std::vector<std::string>& lines = FileOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tCompParam comp;
        bool ok = ReadMolText(lines, comp, {});
        if (!ok)
            state.SkipWithError("the generated file did not read");
        benchmark::DoNotOptimize(comp.pAt0);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The straightforward list building: count the atoms of the same element by walking
// the list, then InsSortAt walks it again.
void BM_ListWalkReference(benchmark::State& state) {
    const std::vector<std::string>& lines = FileOf(static_cast<int>(state.range(0)));
    std::vector<std::int16_t> codes;
    for (std::size_t k = 2; k < lines.size(); ++k) {
        std::string_view line = lines[k];
        std::size_t start = line.find(' ') + 1;
        std::size_t length = line[start + 1] >= 'a' && line[start + 1] <= 'z' ? 2 : 1;
        codes.push_back(ElCode(line.substr(start, length)));
    }
    for (auto _ : state) {
        tCompParam comp;
        InitCompParam(comp, staAtNI);
        for (std::int16_t code : codes) {
            tSteckAt* atom = NewSteckAt();
            atom->A.n = code;
            int same = 0;
            for (const tSteckAt* other = comp.pAt0; other != nullptr; other = other->li)
                same += other->A.n == code ? 1 : 0;
            atom->A.i = same + 1;
            InsSortAt(atom, &comp.pAt0, CompAtNI);
        }
        comp.pAtEnd = comp.pAt0;
        benchmark::DoNotOptimize(comp.pAt0);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

SMasVec PlanePoints() {
    std::mt19937 random(99);
    std::uniform_real_distribution<float> spread(-20.0f, 20.0f);
    std::normal_distribution<float> noise(0.0f, 0.05f);
    SMasVec points(1'000'000);
    for (SVector& p : points) {
        float s = spread(random), t = spread(random);
        p = {s, t, 0.3f * s - 0.2f * t + 4.0f + noise(random)};
    }
    return points;
}

void BM_CentroidBaseline(benchmark::State& state) {
    static const SMasVec points = PlanePoints();
    for (auto _ : state) {
        double x = 0, y = 0, z = 0;
        for (const SVector& p : points) {
            x += p[0];
            y += p[1];
            z += p[2];
        }
        benchmark::DoNotOptimize(x + y + z);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}

void BM_FitPlane(benchmark::State& state) {
    static const SMasVec points = PlanePoints();
    for (auto _ : state) {
        double rms = 0, maxdev = 0, d = 0;
        DVector normal{};
        int result = FitPlane(points, rms, maxdev, normal, d);
        if (result != kFitPlaneOk)
            state.SkipWithError("the plane did not fit");
        benchmark::DoNotOptimize(normal);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}

} // namespace

BENCHMARK(BM_SplitFieldsBaseline)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(300'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMolText)->Arg(10'000)->Arg(100'000)->Arg(300'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListWalkReference)
    ->Arg(10'000)
    ->Arg(30'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_CentroidBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitPlane)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    ormaline::bench::RunWithRatios(
        argc, argv,
        {{"BM_ReadMolText/10000", "BM_SplitFieldsBaseline/10000"},
         {"BM_ReadMolText/100000", "BM_SplitFieldsBaseline/100000"},
         {"BM_ReadMolText/300000", "BM_SplitFieldsBaseline/300000"},
         {"BM_ReadMolText/10000", "BM_ListWalkReference/10000/iterations:1"},
         {"BM_FitPlane", "BM_CentroidBaseline"}});
    return 0;
}
