// The arithmetic of the viewer's image output: the 24-bit bitmap a captured picture is
// wrapped in, the fit of a picture on a page, and the view values a 2D print is drawn
// with at printer scale.
#pragma once

#include "viewer/core/LVScene.h"

#include <cstdint>
#include <vector>

namespace ormaline {

// The capture width: `width` reduced until three times it is a multiple of 4 (so that
// the unpadded rows of 3-byte pixels stay 4-byte aligned).
int CaptureWidth(int width);
// A BMP stream of w x h pixels from rows bottom-up, 3 bytes per pixel in blue-green-red
// order, rows not padded: file header "BM", file size 54 + 3wh, pixel offset 54; info
// header of 40 bytes with width, height, 1 plane, 24 bits, no compression, image size 3wh.
std::vector<std::uint8_t> BmpStream(const std::vector<std::uint8_t>& bgrRows, int width,
                                    int height);

// a * b / c rounded to the nearest integer (halves away from zero); c = 0 gives -1.
int MulDiv(int a, int b, int c);
struct TPixelSize {
    int width = 0, height = 0;
    bool operator==(const TPixelSize&) const = default;
};
// A picture of the client's proportions fitted on a page: the side that limits keeps
// the page's size, the other follows the picture's ratio.
TPixelSize FitToPage(int clientWidth, int clientHeight, int pageWidth, int pageHeight);

// The view values a 2D print changes, kept to be put back afterwards.
struct TPrintView {
    int i0 = 0, j0 = 0, Gi0 = 0, Gj0 = 0, LegI0 = 0, LegJ0 = 0;
    double mas = 0, mas_l = 0, CoeffDX = 0;
};
TPrintView SaveView(const TLVScene& scene);
// The view of a W x H picture of the client's picture: mas_l := min(W, H), mas doubled,
// CoeffDX, GLXYZMas and XYZMas from them, and the anchors scaled with the size.
void ScaleViewForPrint(TLVScene& scene, int width, int height, int clientWidth, int clientHeight);
// Puts the saved values back; GLXYZMas and XYZMas are recomputed.
void RestoreView(TLVScene& scene, const TPrintView& saved);

} // namespace ormaline
