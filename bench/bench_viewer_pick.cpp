// The pick of the atom under the mouse (MouseAtom) on scenes of 1,000, 10,000 and 100,000
// atoms at random positions, turned and projected as a paint leaves them, in an 800 x
// 600 window; one pick per iteration at points spread over the window. Measured: the
// pick over the projected positions the paint keeps in contiguous arrays, and a walk of
// the node list over the positions the paint stored in the nodes; baseline: a walk that
// projects every node through the full view transform on each call. For scale, the
// paint's projection itself (GetIntK, which also fills the arrays) is timed too.
#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "viewer/core/LVScene.h"
#include "viewer/core/SceneBuild.h"
#include "viewer/core/SceneOps.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/interact/core/MousePick.h"

#include "support/RandomAtoms.h"
#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>

namespace ormaline {
namespace {

constexpr int kWidth = 800, kHeight = 600;

// Random atoms (support/RandomAtoms.h) without bonds.
std::unique_ptr<TLVScene> MakeScene(int atoms) {
    auto scene = std::make_unique<TLVScene>();
    scene->WLVO.AdjMatrix = 2;
    bench::FillRandomAtoms(*scene, atoms);
    RunSceneBuild(*scene, {});
    StackToArr(*scene);
    FormResize(*scene, kWidth, kHeight);
    UpdateScaleCoeff(*scene, true);
    // A turned view, as after a little rotation with the mouse.
    scene->WLVO.lin = 1;
    scene->WLVO.LX = 2;
    scene->WLVO.LZ = 3;
    RotorCoord(*scene, 0.6);
    scene->WLVO.lin = 2;
    scene->WLVO.LX = 3;
    scene->WLVO.LZ = 1;
    RotorCoord(*scene, 0.3);
    BeginPaint(*scene);
    return scene;
}

TLVScene& SceneOf(int atoms) {
    static std::map<int, std::unique_ptr<TLVScene>> scenes;
    auto& scene = scenes[atoms];
    if (!scene)
        scene = MakeScene(atoms);
    return *scene;
}

struct TPoint {
    int x, y;
};

const std::vector<TPoint>& Points() {
    static const std::vector<TPoint> points = [] {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
        std::vector<TPoint> made;
        for (int k = 0; k < 1024; ++k)
            made.push_back({x(random), y(random)});
        return made;
    }();
    return points;
}

bool Candidate(const tTopAt& node, const TLatvistaOpt& o) {
    return (!node.PolyVert || o.ShowVertex) && (node.c & kNodeVisible) != 0 &&
           ((node.c & kNodeAuxiliary) == 0 || (o.NumSeeBond & cbCellEdge) != 0);
}

// The hit of the pick among projected values, largest depth first, list order on ties.
void Consider(tTopAt* node, double ik, double jk, double hk, double rk, double a, double b,
              tTopAt*& best, double& bestDepth) {
    const double dx = ik - a, dy = jk - b;
    if (std::fabs(dx) < rk && std::fabs(dy) < rk && dx * dx + dy * dy < rk * rk &&
        (best == nullptr || hk > bestDepth)) {
        best = node;
        bestDepth = hk;
    }
}

// The pick over the positions the paint stored in the nodes.
tTopAt* StoredWalk(const TLVScene& scene, int x, int y) {
    const double a = static_cast<float>((x - scene.i0) / scene.CoeffDX);
    const double b = static_cast<float>((scene.j0 - y) / scene.CoeffDX);
    tTopAt* best = nullptr;
    double depth = 0;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        if (Candidate(*node, scene.WLVO))
            Consider(node, node->ik, node->jk, node->hk, node->rk, a, b, best, depth);
    return best;
}

// The pick that projects every node itself: view rotation and shift, axis order,
// offset, perspective, as the paint does.
tTopAt* ProjectingWalk(const TLVScene& scene, int x, int y) {
    const TLatvistaOpt& o = scene.WLVO;
    const double a = static_cast<float>((x - scene.i0) / scene.CoeffDX);
    const double b = static_cast<float>((scene.j0 - y) / scene.CoeffDX);
    const std::size_t l1 = o.L1 - 1u, l2 = o.L2 - 1u, l3 = o.L3 - 1u;
    const bool perspective = o.Perspect && o.ZeroPos > 0;
    const double partRad = o.PartRad == 0 ? 1.0 : o.PartRad;
    tTopAt* best = nullptr;
    double depth = 0;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        if (!Candidate(*node, o))
            continue;
        const DVector v = RotorCoordAt(scene, node->k);
        double ik = scene.gl_[l1] + v[l1], jk = scene.gl_[l2] + v[l2];
        const double hk = scene.gl_[l3] + v[l3];
        double rk = node->rad / partRad;
        if (perspective) {
            const double f = (o.ZeroPos - 3) * scene.mas / (o.ZeroPos * scene.mas - hk);
            ik *= f;
            jk *= f;
            rk *= f;
        }
        Consider(node, ik, jk, hk, rk, a, b, best, depth);
    }
    return best;
}

template <class Pick> void RunPicks(benchmark::State& state, Pick&& pick) {
    TLVScene& scene = SceneOf(static_cast<int>(state.range(0)));
    const std::vector<TPoint>& points = Points();
    std::size_t next = 0, hits = 0, picks = 0;
    for (auto _ : state) {
        const TPoint& p = points[next++ % points.size()];
        tTopAt* hit = pick(scene, p.x, p.y);
        benchmark::DoNotOptimize(hit);
        hits += hit != nullptr;
        ++picks;
    }
    state.counters["hit_fraction"] = picks == 0 ? 0.0 : static_cast<double>(hits) / picks;
    state.counters["nodes"] = scene.WCountAt;
}

void BM_MouseAtom(benchmark::State& state) {
    const TMouseEnv env;
    RunPicks(state, [&env](TLVScene& scene, int x, int y) {
        TMouseResult result;
        MouseAtom(scene, env, TMouseButton::Left, x, y, result);
        return scene.PTMAt;
    });
}

void BM_Projection(benchmark::State& state) {
    TLVScene& scene = SceneOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        GetIntK(scene);
    state.counters["nodes"] = scene.WCountAt;
}

void BM_StoredWalk(benchmark::State& state) {
    RunPicks(state, [](TLVScene& scene, int x, int y) { return StoredWalk(scene, x, y); });
}

void BM_ProjectEveryNode(benchmark::State& state) {
    RunPicks(state, [](TLVScene& scene, int x, int y) { return ProjectingWalk(scene, x, y); });
}

// The pick through the index and the baseline agree (checked once, before timing).
void CheckAgreement() {
    for (int atoms : {1000, 10000, 100000}) {
        TLVScene& scene = SceneOf(atoms);
        const TMouseEnv env;
        for (const TPoint& p : Points()) {
            TMouseResult result;
            MouseAtom(scene, env, TMouseButton::Left, p.x, p.y, result);
            if (scene.PTMAt != ProjectingWalk(scene, p.x, p.y)) {
                std::fprintf(stderr, "picks differ at %d atoms, point (%d, %d)\n", atoms, p.x, p.y);
                std::exit(1);
            }
        }
    }
}

BENCHMARK(BM_MouseAtom)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Projection)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoredWalk)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProjectEveryNode)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ormaline

int main(int argc, char** argv) {
    ormaline::CheckAgreement();
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* n : {"1000", "10000", "100000"})
        for (const char* measured : {"BM_MouseAtom/", "BM_StoredWalk/", "BM_Projection/"})
            pairs.push_back({std::string(measured) + n, std::string("BM_ProjectEveryNode/") + n});
    ormaline::bench::RunWithRatios(argc, argv, pairs);
    return 0;
}
