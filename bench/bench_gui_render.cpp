// Frame time of the viewer's OpenGL renderer on generated scenes of 1,000, 10,000,
// 100,000 and 1,000,000 atoms in the sphere & cylinder model, in an 800 x 600 surface,
// against the baseline that tessellates every sphere and cylinder with GLU in immediate
// mode in every frame. The mesh drawing is measured three ways: the same view again, a
// view turned by one degree between frames (continuous rotation: the placed geometry is
// replayed), and a scene changed between frames (one bond's thickness: every cylinder is
// placed again, as after an edit). The fast drawing of large scenes (ray-cast impostors)
// is measured the same three ways with its threshold forced down: in the same view and
// turned it keeps the frame it gathered (counter "gathers": frames gathered in full), after
// the change it gathers and uploads every frame. The mesh drawing of
// 1,000,000 atoms is left out (its placed geometry would take several gigabytes).
// A further figure is the frame's projection and depth sort alone.
//
// Run under Xvfb; with GALLIUM_NOOP=1 Mesa discards the rendering, so the figures are
// the program's own CPU cost per frame.
#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "viewer/GLRenderer.h"
#include "viewer/LVGLView.h"
#include "viewer/core/LatvistaOpt.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/maler.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QThread>

#include <GL/gl.h>

#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <numbers>

namespace {

using namespace ormaline;

// Atoms of carbon on a cubic grid 1.5 angstrom apart; the bonds are found from the
// distances, three per atom (to the neighbours along a, b and c).
void FillGridCompound(tCompParam& comp, int atoms) {
    InitCompParam(comp, staAtNI);
    const int side = static_cast<int>(std::ceil(std::cbrt(static_cast<double>(atoms))));
    const float edge = 1.5f * static_cast<float>(side);
    comp.DC.Tr = {edge, edge, edge};
    comp.DC.Ug = {90.0f, 90.0f, 90.0f};
    CalcParamTTO(comp);
    comp.NameSG = "P 1";
    comp.CodeSG = 1;
    tSteckAt* tail = nullptr;
    for (int k = 0; k < atoms; ++k) {
        const int x = k % side, y = (k / side) % side, z = k / (side * side);
        tSteckAt* atom = NewSteckAt();
        atom->A.n = 6;
        atom->A.i = k + 1;
        atom->i = k + 1;
        atom->A.k = {(x + 0.5) / side, (y + 0.5) / side, (z + 0.5) / side};
        if (tail == nullptr)
            comp.pAt0 = atom;
        else
            tail->li = atom;
        tail = atom;
        ++comp.DC.at_;
    }
    comp.pAtEnd = comp.pAt0;
    t_element carbon;
    carbon.n = 6;
    comp.MEl.push_back(carbon);
}

// One built viewer window per atom count, kept for all benchmarks of the run.
std::map<int, std::unique_ptr<TLVForm>>& Viewers() {
    static std::map<int, std::unique_ptr<TLVForm>> viewers;
    return viewers;
}

TLVForm& Viewer(int atoms) {
    auto& slot = Viewers()[atoms];
    if (!slot) {
        slot = std::make_unique<TLVForm>();
        TLVForm& form = *slot;
        DefaultLatvistaOpt(form.WLVO());
        form.WLVO().RadAt = ElementRadiiTable(0);
        form.WLVO().AdjMatrix = 0;
        form.WLVO().TMax = {1, 0, 0}; // no unwrapping across the faces
        form.Scene().ShowMoleculeOnly = true;
        FillGridCompound(form.Scene().CompParamMaler, atoms);
        form.Surface()->setFixedSize(800, 600);
        form.show();
        for (int i = 0; i < 50; ++i)
            QApplication::processEvents();
        form.Create1Click();
        while (form.ThreadRunning()) {
            QApplication::processEvents();
            QThread::msleep(1);
        }
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
    }
    return *slot;
}

enum class TBetweenFrames { Nothing, Rotate, ChangeScene };

// Gives the first atom's first bond its own thickness, or takes it back (in the records
// of both atoms: either may be the one that draws it), and counts the change as the
// window's repaint after an edit does.
void ThickenFirstBond(TLVScene& scene) {
    ++scene.ContentStamp;
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li) {
        tBoundAt* bond = node->p;
        if (bond == nullptr || bond->p == nullptr)
            continue;
        const float diam = bond->diam < 0 ? 0.1f : -1.0f;
        bond->diam = diam;
        for (tBoundAt* back = bond->p->p; back != nullptr; back = back->li)
            if (back->p == node)
                back->diam = diam;
        return;
    }
}

enum class TDrawing { Meshes, Fast };

void DrawFrames(benchmark::State& state, TTessellation tessellation,
                TBetweenFrames between = TBetweenFrames::Nothing,
                TDrawing drawing = TDrawing::Meshes) {
    const int atoms = static_cast<int>(state.range(0));
    TLVForm& form = Viewer(atoms);
    TLVScene& scene = form.Scene();
    form.Surface()->makeCurrent();
    form.Renderer().Tessellation = tessellation;
    scene.WLVO.FastDrawAtoms = drawing == TDrawing::Fast ? 1 : 0;
    const std::size_t uploadsBefore = form.Renderer().Impostors().Uploads();
    const std::size_t gathersBefore = form.Renderer().Impostors().FullGathers();
    const std::size_t buildsBefore = form.Renderer().GeometryBuilds();
    int drawn = 0;
    for (auto _ : state) {
        if (between == TBetweenFrames::Rotate)
            RotorCoord(scene, std::numbers::pi / 180.0);
        else if (between == TBetweenFrames::ChangeScene)
            ThickenFirstBond(scene); // one bond changes: every cylinder is placed again
        if (!BeginPaint(scene)) {
            state.SkipWithError("nothing to draw");
            break;
        }
        form.Renderer().LatvistaFull(scene, form.Colours(), form.Projection(), 800, 600);
        EndPaint(scene);
        glFinish();
        ++drawn;
        if ((drawing == TDrawing::Fast) != form.Renderer().LastFrameFast()) {
            state.SkipWithError("the frame was not drawn the way measured");
            break;
        }
    }
    form.Renderer().Tessellation = TTessellation::Cached;
    form.Surface()->doneCurrent();
    // Counted before the pictures, which change options and so gather again.
    state.counters["atoms"] = static_cast<double>(scene.WCountAt);
    state.counters["builds"] = static_cast<double>(form.Renderer().GeometryBuilds() - buildsBefore);
    state.counters["uploads"] =
        static_cast<double>(form.Renderer().Impostors().Uploads() - uploadsBefore);
    state.counters["gathers"] =
        static_cast<double>(form.Renderer().Impostors().FullGathers() - gathersBefore);
    // Pictures of the fast drawing of the largest interactive scene, to be looked at: the
    // whole structure turned, and a corner of it eight times larger, also drawn by meshes.
    if (drawing == TDrawing::Fast && between == TBetweenFrames::Rotate && atoms == 100000) {
        const auto save = [&](const char* name) {
            const std::string path = (std::filesystem::temp_directory_path() / name).string();
            form.Surface()->grabFramebuffer().save(QString::fromStdString(path));
            return path;
        };
        scene.WLVO.FastDrawAtoms = 1;
        scene.WLVO.ColBonds = true; // bonds in the atoms' colours stand out of the white
        // Turned about two screen axes, so that the lattice rows do not line up.
        scene.WLVO.lin = 1;
        scene.WLVO.LX = 2;
        scene.WLVO.LZ = 3;
        RotorCoord(scene, 0.45);
        scene.WLVO.lin = 2;
        scene.WLVO.LX = 3;
        scene.WLVO.LZ = 1;
        RotorCoord(scene, 0.6);
        const std::string whole = save("ormaline-fast-100000.png");
        const double fitted = scene.mas;
        SetTypedScale(scene, static_cast<float>(fitted / 8.0));
        scene.WLVO.PartRad = 2; // "RadPlus": larger spheres
        const std::string near = save("ormaline-fast-100000-near.png");
        // The same view drawn by meshes, to hold beside it.
        scene.WLVO.FastDrawAtoms = 0;
        const std::string nearMeshes = save("ormaline-meshes-100000-near.png");
        scene.WLVO.FastDrawAtoms = 1;
        scene.WLVO.PartRad = DefaultLatvistaOptions().PartRad;
        SetTypedScale(scene, static_cast<float>(fitted));
        scene.WLVO.ColBonds = false;
        state.SetLabel("pictures: " + whole + " " + near + " " + nearMeshes);
    }
    scene.WLVO.FastDrawAtoms = DefaultLatvistaOptions().FastDrawAtoms;
    benchmark::DoNotOptimize(drawn);
}

void FrameGluEveryObject(benchmark::State& state) {
    DrawFrames(state, TTessellation::GluEveryObject);
}

void FrameCached(benchmark::State& state) {
    DrawFrames(state, TTessellation::Cached);
}

void FrameCachedRotating(benchmark::State& state) {
    DrawFrames(state, TTessellation::Cached, TBetweenFrames::Rotate);
}

void FrameCachedChanging(benchmark::State& state) {
    DrawFrames(state, TTessellation::Cached, TBetweenFrames::ChangeScene);
}

void FrameFast(benchmark::State& state) {
    DrawFrames(state, TTessellation::Cached, TBetweenFrames::Nothing, TDrawing::Fast);
}

void FrameFastRotating(benchmark::State& state) {
    DrawFrames(state, TTessellation::Cached, TBetweenFrames::Rotate, TDrawing::Fast);
}

void FrameFastChanging(benchmark::State& state) {
    DrawFrames(state, TTessellation::Cached, TBetweenFrames::ChangeScene, TDrawing::Fast);
}

// What every frame does besides drawing: project every node and sort by depth.
void ProjectAndSort(benchmark::State& state) {
    TLVForm& form = Viewer(static_cast<int>(state.range(0)));
    TLVScene& scene = form.Scene();
    for (auto _ : state) {
        BeginPaint(scene);
        std::sort(scene.ArrAt.begin(), scene.ArrAt.end(),
                  [](const tTopAt* a, const tTopAt* b) { return a->hk < b->hk; });
        EndPaint(scene);
        benchmark::DoNotOptimize(scene.ArrAt.data());
    }
}

BENCHMARK(FrameGluEveryObject)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FrameCached)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameCachedRotating)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameCachedChanging)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameFast)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameFastRotating)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameFastChanging)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(ProjectAndSort)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication application(argc, argv);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* measured : {"FrameCached/", "FrameCachedRotating/", "FrameCachedChanging/"})
        for (const char* n : {"1000", "10000", "100000"})
            pairs.push_back({std::string(measured) + n, std::string("FrameGluEveryObject/") + n});
    for (const char* measured : {"FrameFast/", "FrameFastRotating/", "FrameFastChanging/"})
        for (const char* n : {"10000", "100000", "1000000"}) {
            pairs.push_back({std::string(measured) + n, std::string("FrameGluEveryObject/") + n});
            if (std::string(n) != "1000000")
                pairs.push_back({std::string(measured) + n, std::string("FrameCached/") + n});
        }
    for (const char* n : {"1000", "10000", "100000"})
        pairs.push_back({std::string("ProjectAndSort/") + n, std::string("FrameCached/") + n});
    ormaline::bench::RunWithRatios(argc, argv, pairs);
    Viewers().clear(); // the windows go before the application
    return 0;
}
