// The scene build on a worker thread, talking to the "user-interface" thread the way the
// window does: every status text and progress value is handed over and waited for, and
// the cancel request is an atomic flag set by the other thread.
#include "SceneTestSupport.h"

#include "viewer/core/ViewTransforms.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace ormaline {
namespace {

// A blocking hand-over from the worker to the waiting thread.
class THandOver {
public:
    void Send(const std::string& text) {
        std::unique_lock lock(mutex_);
        queue_.push_back(text);
        changed_.notify_all();
        changed_.wait(lock, [this] { return queue_.empty(); });
    }
    // Takes the next text; an empty optional when the worker has finished.
    std::optional<std::string> Receive() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !queue_.empty() || done_; });
        if (queue_.empty())
            return std::nullopt;
        std::string text = queue_.front();
        queue_.pop_front();
        changed_.notify_all();
        return text;
    }
    void Finish() {
        std::lock_guard lock(mutex_);
        done_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    bool done_ = false;
};

void FillLarge(TLVScene& scene) {
    std::vector<test::TTestAtom> atoms;
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            for (int k = 0; k < 10; ++k)
                atoms.push_back({static_cast<std::int16_t>((i + j + k) % 2 ? 11 : 17),
                                 {i / 10.0, j / 10.0, k / 10.0}});
    test::FillCubic(scene, 28.2f, atoms);
    scene.WLVO.AdjMatrix = 0;
}

bool BuildOnWorker(TLVScene& scene, const std::string& cancelAt,
                   std::vector<std::string>& received) {
    std::atomic<bool> cancel{false};
    THandOver handOver;
    TSceneBuildMonitor monitor;
    monitor.Cancel = &cancel;
    monitor.Status = [&](int panel, const std::string& text) {
        handOver.Send(std::to_string(panel) + ":" + text);
    };
    bool built = false;
    std::thread worker([&] {
        built = RunSceneBuild(scene, monitor);
        handOver.Finish();
    });
    while (const auto text = handOver.Receive()) {
        received.push_back(*text);
        if (*text == cancelAt)
            cancel = true; // the user answered "Terminate calculation?" with Yes
    }
    worker.join();
    return built;
}

TEST(SceneThread, BuildsOnAWorkerThread) {
    TLVScene scene;
    FillLarge(scene);
    std::vector<std::string> received;
    ASSERT_TRUE(BuildOnWorker(scene, "", received));
    EXPECT_EQ(received.front(), "1:Generating symmetry codes for P 1...");
    EXPECT_EQ(received.back(), "1:Unwrapping reduced graph...");
    EXPECT_TRUE(scene.HasScene());
    EXPECT_EQ(CompleteSceneBuild(scene), std::nullopt);
    // Each atom has its 6 neighbours 2.82 A away, those across a face as open bonds or as
    // bonds to the copies on the far faces.
    for (const tTopAt* node : test::AtomNodes(scene))
        if (node->t == ShIVector{0, 0, 0}) {
            EXPECT_EQ(test::Bonds(*node).size(), 6u);
        }
}

TEST(SceneThread, CancelFromTheOtherThreadLeavesNoSceneAndARebuildWorks) {
    TLVScene scene;
    FillLarge(scene);
    std::vector<std::string> received;
    EXPECT_FALSE(BuildOnWorker(scene, "1:Computing adjacency matrix...", received));
    EXPECT_FALSE(scene.HasScene());
    EXPECT_EQ(received.back(), "1:"); // status panel 1 cleared
    received.clear();
    ASSERT_TRUE(BuildOnWorker(scene, "", received));
    EXPECT_TRUE(scene.HasScene());
    // The rebuilt scene can be transformed, fitted and projected.
    FitSpace(scene, 800, 600);
    FormResize(scene, 800, 600);
    EXPECT_DOUBLE_EQ(scene.XYZMas, scene.mas_l / scene.GLXYZMas);
    ASSERT_TRUE(BeginPaint(scene));
    EXPECT_GT(scene.CoeffDX, 0.0);
    for (const tTopAt* node : test::Nodes(scene.WPTAll)) {
        const auto pixel = ScreenPixel(scene, *node);
        if ((node->c & kNodeVisible) != 0 && !node->PolyVert) {
            EXPECT_GE(pixel[0], 0.0);
            EXPECT_LE(pixel[0], 800.0);
            EXPECT_GE(pixel[1], 0.0);
            EXPECT_LE(pixel[1], 600.0);
        }
    }
    EndPaint(scene);
    EXPECT_EQ(scene.PTMAt, nullptr);
}

} // namespace
} // namespace ormaline
