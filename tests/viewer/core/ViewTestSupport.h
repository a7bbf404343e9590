// A built scene seen as a window of a given size sees it, and the text measures of a
// font whose every character is 6 pixels wide and 13 high, for the scene tests.
#pragma once

#include "SceneTestSupport.h"

#include "viewer/core/Legend.h"
#include "viewer/core/SceneOps.h"
#include "viewer/core/ViewTransforms.h"

#include <array>
#include <cmath>

namespace ormaline::test {

class TFixedMetrics : public TTextMetrics {
public:
    int TextWidth(std::string_view text) const override {
        return 6 * static_cast<int>(text.size());
    }
    int TextHeight(std::string_view) const override { return 13; }
    int Ascent() const override { return 10; }
};

// No bonds, and the view axes x, y, z drawn as screen x, screen y and depth.
inline void PlainScreenAxes(TLVScene& scene) {
    scene.WLVO.AdjMatrix = 2;
    scene.WLVO.L1 = 1;
    scene.WLVO.L2 = 2;
    scene.WLVO.L3 = 3;
}

// Builds the scene and projects it for a client area of width x height pixels, as the
// completion of a build and the first paint do.
inline void BuildAndProject(TLVScene& scene, int width = 800, int height = 600) {
    ASSERT_TRUE(RunSceneBuild(scene, {}));
    StackToArr(scene);
    FormResize(scene, width, height);
    UpdateScaleCoeff(scene, true);
    ASSERT_TRUE(BeginPaint(scene));
}

// Client pixel of a projected node, rounded as the hover circle is placed.
inline std::array<int, 2> PixelOf(const TLVScene& scene, const tTopAt& node) {
    return {scene.i0 + static_cast<int>(std::lround(node.ik * scene.CoeffDX)),
            scene.j0 - static_cast<int>(std::lround(node.jk * scene.CoeffDX))};
}

// The first atom node (from WPTAtEnd) of the compound atom with number `number`.
inline tTopAt* NodeOfAtom(const TLVScene& scene, int number) {
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
        if (node->pSAt != nullptr && node->pSAt->i == number)
            return node;
    return nullptr;
}

} // namespace ormaline::test
