#include "viewer/core/ImageOutput.h"

#include "viewer/core/ViewTransforms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ormaline {
namespace {

void PutLE(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k)
        out[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(value >> (8 * k));
}

} // namespace

int CaptureWidth(int width) {
    while (width > 0 && (3 * width) % 4 != 0)
        --width;
    return std::max(width, 0);
}

std::vector<std::uint8_t> BmpStream(const std::vector<std::uint8_t>& bgrRows, int width,
                                    int height) {
    const std::uint32_t imageSize = 3u * static_cast<std::uint32_t>(std::max(width, 0)) *
                                    static_cast<std::uint32_t>(std::max(height, 0));
    std::vector<std::uint8_t> out(54 + imageSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLE(out, 2, 54 + imageSize, 4);
    PutLE(out, 10, 54, 4);
    PutLE(out, 14, 40, 4);
    PutLE(out, 18, static_cast<std::uint32_t>(width), 4);
    PutLE(out, 22, static_cast<std::uint32_t>(height), 4);
    PutLE(out, 26, 1, 2);
    PutLE(out, 28, 24, 2);
    PutLE(out, 34, imageSize, 4);
    std::copy_n(bgrRows.begin(), std::min<std::size_t>(bgrRows.size(), imageSize),
                out.begin() + 54);
    return out;
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

TPixelSize FitToPage(int clientWidth, int clientHeight, int pageWidth, int pageHeight) {
    if (clientWidth <= 0 || clientHeight <= 0 || pageWidth <= 0 || pageHeight <= 0)
        return {std::max(pageWidth, 0), std::max(pageHeight, 0)};
    // The client is wider than the page (in proportion): the width limits.
    if (static_cast<long long>(clientWidth) * pageHeight >
        static_cast<long long>(pageWidth) * clientHeight)
        return {pageWidth, MulDiv(clientHeight, pageWidth, clientWidth)};
    return {MulDiv(clientWidth, pageHeight, clientHeight), pageHeight};
}

TPrintView SaveView(const TLVScene& scene) {
    return {scene.i0,    scene.j0,  scene.Gi0,   scene.Gj0,    scene.LegI0,
            scene.LegJ0, scene.mas, scene.mas_l, scene.CoeffDX};
}

void ScaleViewForPrint(TLVScene& scene, int width, int height, int clientWidth, int clientHeight) {
    const double sx = clientWidth > 0 ? static_cast<double>(width) / clientWidth : 1.0;
    const double sy = clientHeight > 0 ? static_cast<double>(height) / clientHeight : 1.0;
    scene.mas_l = std::min(width, height);
    scene.mas = 2 * scene.mas;
    scene.CoeffDX = scene.mas != 0 ? scene.mas_l / scene.mas : 0.0;
    scene.GLXYZMas = 4 * scene.mas;
    scene.XYZMas = scene.GLXYZMas != 0 ? scene.mas_l / scene.GLXYZMas : 0.0;
    scene.i0 = PixelRound(scene.i0 * sx);
    scene.Gi0 = PixelRound(scene.Gi0 * sx);
    scene.LegI0 = PixelRound(scene.LegI0 * sx);
    scene.j0 = PixelRound(scene.j0 * sy);
    scene.Gj0 = PixelRound(scene.Gj0 * sy);
    scene.LegJ0 = PixelRound(scene.LegJ0 * sy);
}

void RestoreView(TLVScene& scene, const TPrintView& saved) {
    scene.i0 = saved.i0;
    scene.j0 = saved.j0;
    scene.Gi0 = saved.Gi0;
    scene.Gj0 = saved.Gj0;
    scene.LegI0 = saved.LegI0;
    scene.LegJ0 = saved.LegJ0;
    scene.mas = saved.mas;
    scene.mas_l = saved.mas_l;
    scene.CoeffDX = saved.CoeffDX;
    scene.GLXYZMas = 4 * scene.mas;
    scene.XYZMas = scene.GLXYZMas != 0 ? scene.mas_l / scene.GLXYZMas : 0.0;
}

} // namespace ormaline
