// Helpers of the viewer's GUI tests: waiting for a scene build, reading the drawn
// picture back, and the colour fixed-function lighting gives a sphere at a point, worked
// out here from the lighting equation rather than taken from the renderer.
#pragma once

#include "viewer/LVGLView.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/maler.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ormaline::testing {

// The viewer windows on screen, in the application's order.
inline std::vector<TLVForm*> VisibleViewers() {
    std::vector<TLVForm*> viewers;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TLVForm*>(widget); form != nullptr && form->isVisible())
            viewers.push_back(form);
    return viewers;
}

// Processes events until the window's build has ended.
inline bool WaitForBuild(TLVForm& form) {
    return QTest::qWaitFor([&] { return !form.ThreadRunning(); }, 120000);
}

// Shows the window, waits for the build and returns the picture of its surface.
inline QImage DrawnPicture(TLVForm& form) {
    if (!form.isVisible())
        form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(WaitForBuild(form));
    QApplication::processEvents();
    return form.Surface()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
}

struct TRgb {
    double r, g, b;
};

inline TRgb Rgb(TColor colour) {
    const TColorFloats f = ColorToFloats(colour);
    return {f.r * 255.0, f.g * 255.0, f.b * 255.0};
}

inline TRgb PixelAt(const QImage& image, double x, double y) {
    const QColor c =
        image.pixelColor(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    return {static_cast<double>(c.red()), static_cast<double>(c.green()),
            static_cast<double>(c.blue())};
}

inline double Distance(const TRgb& a, const TRgb& b) {
    return std::max({std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b)});
}

// The colour of a lit sphere of diffuse colour `colour` (ambient 0.3 grey, white
// specular, shininess 100, emission `emission`) at the surface point whose screen offset
// from the sphere's centre is (dx, dy) radii (screen y downwards). Light 0 at
// `light` in eye coordinates with ambient 0.5 and white diffuse and specular, model
// ambient `luminosity`; orthographic view along -z; the centre at eye position `centre`.
inline TRgb LitSphere(TColor colour, double dx, double dy, double radius,
                      const std::array<double, 3>& centre, const std::array<float, 3>& light,
                      double luminosity, std::array<double, 3> emission = {0, 0, 0}) {
    const double nz = std::sqrt(std::max(0.0, 1.0 - dx * dx - dy * dy));
    const std::array<double, 3> n{dx, -dy, nz};
    std::array<double, 3> l{};
    double length = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        l[i] = light[i] - (centre[i] + n[i] * radius);
        length += l[i] * l[i];
    }
    length = std::sqrt(length);
    for (double& v : l)
        v /= length;
    const double diffuse = std::max(0.0, n[0] * l[0] + n[1] * l[1] + n[2] * l[2]);
    std::array<double, 3> h{l[0], l[1], l[2] + 1.0};
    const double hl = std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);
    const double nh = std::max(0.0, (n[0] * h[0] + n[1] * h[1] + n[2] * h[2]) / hl);
    const double specular = diffuse > 0 ? std::pow(nh, 100.0) : 0.0;
    const TColorFloats c = ColorToFloats(colour);
    const double ambient = 0.3 * (luminosity + 0.5);
    const auto channel = [&](double value, double glow) {
        return std::clamp(glow + ambient + value * diffuse + specular, 0.0, 1.0) * 255.0;
    };
    return {channel(c.r, emission[0]), channel(c.g, emission[1]), channel(c.b, emission[2])};
}

// The eye-space centre (GL units) of a node drawn orthographically.
inline std::array<double, 3> EyeCentre(const TLVForm& form, const tTopAt& node) {
    const TLVScene& scene = form.Scene();
    return {node.ik / scene.mas, node.jk / scene.mas, node.hk / scene.mas - scene.WLVO.ZeroPos};
}

// Pixel radius of a node's sphere.
inline double PixelRadius(const TLVForm& form, const tTopAt& node) {
    return node.rk * form.Scene().CoeffDX;
}

// A screen direction from a node's centre (unit vector, screen y downwards) that stays
// clear of the node's bonds and of nearer spheres at `fraction` radii, or nothing.
inline std::optional<std::array<double, 2>> ClearDirection(const TLVForm& form, const tTopAt& node,
                                                           double fraction) {
    const TLVScene& scene = form.Scene();
    const auto centre = ScreenPixel(scene, node);
    const double r = PixelRadius(form, node);
    std::optional<std::array<double, 2>> best;
    double bestClearance = 0;
    for (int step = 0; step < 16; ++step) {
        const double angle = step * 3.14159265358979 / 8;
        const std::array<double, 2> dir{std::cos(angle), std::sin(angle)};
        const double sx = centre[0] + dir[0] * fraction * r, sy = centre[1] + dir[1] * fraction * r;
        double clearance = 1e9;
        for (const tBoundAt* bond = node.p; bond != nullptr; bond = bond->li) {
            const auto other = ScreenPixel(scene, *bond->p);
            double bx = other[0] - centre[0], by = other[1] - centre[1];
            const double bl = std::hypot(bx, by);
            if (bl < 1e-9)
                continue;
            bx /= bl;
            by /= bl;
            const double along = (sx - centre[0]) * bx + (sy - centre[1]) * by;
            const double across = std::fabs((sx - centre[0]) * by - (sy - centre[1]) * bx);
            if (along > 0)
                clearance = std::min(clearance, across);
        }
        bool covered = false;
        for (const tTopAt* other = scene.WPTAtEnd; other != nullptr; other = other->li) {
            if (other == &node || other->hk <= node.hk || (other->c & kNodeVisible) == 0)
                continue;
            const auto oc = ScreenPixel(scene, *other);
            if (std::hypot(sx - oc[0], sy - oc[1]) < PixelRadius(form, *other) + 3)
                covered = true;
        }
        if (!covered && clearance > bestClearance) {
            bestClearance = clearance;
            best = dir;
        }
    }
    if (bestClearance < 0.25 * r)
        return std::nullopt;
    return best;
}

} // namespace ormaline::testing
