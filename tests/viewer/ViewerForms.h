// Viewer windows over small hand-made compounds for the viewer's GUI tests.
#pragma once

#include "app/core/LigandHandoff.h"
#include "viewer/ViewerPixels.h"
#include "viewer/core/LatvistaOpt.h"

#include <memory>
#include <string>
#include <vector>

namespace ormaline::testing {

struct TTestAtom {
    int element;
    double x, y, z;         // fractional
    std::string neighbours; // atom numbers (from 1, in list order of the atoms given)
};

// A shown viewer window on the atoms in a cubic cell of `edge` angstrom, with the
// options changed by `setUp` before the build, built and painted; `beforeShow` may
// change the window before it is first shown.
inline std::unique_ptr<TLVForm> ViewerOn(const std::vector<TTestAtom>& atoms, double edge,
                                         const std::function<void(TLatvistaOpt&)>& setUp = {},
                                         const std::function<void(TLVForm&)>& beforeShow = {}) {
    auto form = std::make_unique<TLVForm>();
    TLVScene& scene = form->Scene();
    DefaultLatvistaOpt(scene.WLVO);
    if (setUp)
        setUp(scene.WLVO);
    TLigandPanelTexts panel;
    const std::string e = std::to_string(edge);
    panel.Cell = {e, e, e, "90", "90", "90"};
    for (std::size_t k = 0; k < atoms.size(); ++k) {
        const TTestAtom& a = atoms[k];
        panel.AtomRows.push_back({std::to_string(k + 1), std::to_string(a.element),
                                  std::to_string(k + 1), "0", std::to_string(a.x),
                                  std::to_string(a.y), std::to_string(a.z)});
        panel.BondCells.push_back(a.neighbours);
    }
    BuildLigandCompound(panel, scene.CompParamMaler);
    scene.ShowMoleculeOnly = true;
    form->SyncControls();
    if (beforeShow)
        beforeShow(*form);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Create1Click();
    EXPECT_TRUE(WaitForBuild(*form));
    QApplication::processEvents();
    return form;
}

inline QImage Picture(TLVForm& form) {
    QApplication::processEvents();
    return form.Surface()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
}

// The atom node of the compound atom with number `number`.
inline tTopAt* NodeOf(TLVForm& form, int number) {
    for (tTopAt* node = form.Scene().WPTAtEnd; node != nullptr; node = node->li)
        if (node->pSAt != nullptr && node->pSAt->i == number)
            return node;
    return nullptr;
}

// Pixels of `image` within `radius` of (x, y) that differ from `background`.
inline int ForegroundPixels(const QImage& image, double x, double y, int radius,
                            TColor background) {
    const TRgb b = Rgb(background);
    int count = 0;
    for (int j = -radius; j <= radius; ++j)
        for (int i = -radius; i <= radius; ++i)
            if (Distance(PixelAt(image, std::floor(x) + i, std::floor(y) + j), b) > 20)
                ++count;
    return count;
}

} // namespace ormaline::testing
