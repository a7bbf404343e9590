// Long runs of selections, deletions, restores, Show All and undo on built scenes, and
// rebuilds on a worker thread (cancelled and completed) while a selection and an undo
// history exist. Run under the address, leak and thread sanitizers: every record the
// history took is freed, and nothing the build touches is touched by the other thread.
#include "viewer/core/ViewTestSupport.h"

#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/Editing.h"
#include "viewer/interact/core/SelectionTools.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

namespace ormaline {
namespace {

void FillGrid(TLVScene& scene, int n) {
    std::vector<test::TTestAtom> atoms;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k)
                atoms.push_back({static_cast<std::int16_t>((i + j + k) % 2 ? 11 : 17),
                                 {(i + 0.5) / n, (j + 0.5) / n, (k + 0.5) / n}});
    test::FillCubic(scene, 2.82f * n, atoms);
    scene.WLVO.AdjMatrix = 0;
}

// One random user step: a selection with a random colour, Delete, Restore, Show All,
// the complement, "Show selection only" or undo.
void RandomStep(TLVScene& scene, std::mt19937& random, const std::vector<tTopAt*>& atoms) {
    const int step = std::uniform_int_distribution<int>(0, 9)(random);
    const auto pick = [&] {
        return atoms[std::uniform_int_distribution<std::size_t>(0, atoms.size() - 1)(random)];
    };
    switch (step) {
    case 0:
    case 1:
    case 2:
        KeepState(scene, 3, "Select atom");
        scene.PTMAt = pick();
        SpecAt(scene, std::uniform_int_distribution<int>(-3, 3)(random));
        break;
    case 3:
        Delete1Click(scene);
        break;
    case 4:
        Restore1Click(scene);
        break;
    case 5:
        RestoreAll1Click(scene);
        break;
    case 6:
        Invert1Click(scene);
        break;
    case 7:
        ShowSelectionOnly1Click(scene);
        break;
    default:
        scene.UndoHistory.actUndoExecute(800, 600, nullptr);
        break;
    }
}

// The selection records and counters agree with the nodes.
void ExpectConsistentSelection(const TLVScene& scene) {
    int count = 0;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
        ++count;
        ASSERT_EQ(record->PTA->PIAt, record);
    }
    EXPECT_EQ(count, scene.CountInsAt);
}

TEST(EditSequence, TwoThousandRandomStepsThenUndoEverything) {
    TLVScene scene;
    FillGrid(scene, 4);
    test::BuildAndProject(scene);
    const std::vector<tTopAt*> atoms = test::AtomNodes(scene);
    const auto bonds = test::BondTable(scene);
    std::vector<int> bits;
    for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        bits.push_back(node->c);
    std::mt19937 random(20261209);
    for (int i = 0; i < 2000; ++i) {
        RandomStep(scene, random, atoms);
        ExpectConsistentSelection(scene);
    }
    while (scene.UndoHistory.UndoCount() > 0)
        scene.UndoHistory.actUndoExecute(800, 600, nullptr);
    std::vector<int> after;
    for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        after.push_back(node->c);
    EXPECT_EQ(after, bits);
    EXPECT_EQ(test::BondTable(scene), bonds);
    EXPECT_EQ(scene.WInsAt, nullptr);
}

TEST(EditSequence, RebuildsOnAWorkerWhileAHistoryExists) {
    TLVScene scene;
    FillGrid(scene, 6);
    test::BuildAndProject(scene);
    std::mt19937 random(7);
    for (int round = 0; round < 3; ++round) {
        // Round 1 starts from a freed scene, so that its build reports and is cancelled.
        if (round == 1)
            scene.WLVO.Sublattice = true;
        else
            scene.WLVO.Sublattice = false;
        const std::vector<tTopAt*> atoms = test::AtomNodes(scene);
        for (int i = 0; i < 200; ++i)
            RandomStep(scene, random, atoms);
        ASSERT_GT(scene.UndoHistory.ArrState().size(), 0u);
        // The window's Create: the selection and the history go before the worker starts.
        PrepareSceneBuild(scene);
        std::atomic<bool> cancel{false};
        std::atomic<int> texts{0};
        TSceneBuildMonitor monitor;
        monitor.Cancel = &cancel;
        monitor.Status = [&](int, const std::string&) { ++texts; };
        bool built = false;
        std::atomic<bool> finished{false};
        std::thread worker([&] {
            built = RunSceneBuild(scene, monitor);
            finished = true;
        });
        if (round == 1) {
            // "Terminate calculation?" answered Yes as soon as the build reports.
            while (texts.load() == 0 && !finished.load())
                std::this_thread::yield();
            cancel = true;
        }
        worker.join();
        if (!built) {
            EXPECT_FALSE(scene.HasScene());
            test::BuildAndProject(scene);
        }
        EXPECT_EQ(scene.UndoHistory.UndoCount(), 0);
        StackToArr(scene);
    }
}

} // namespace
} // namespace ormaline
