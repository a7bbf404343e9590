// What the OpenGL renderer draws over the scene: the axes glyph and the legend, from the
// pictures of the legend module, and the exclusive-or outlines of the mouse tools.
#include "viewer/GLRendererDetail.h"

#include <cmath>
#include <numbers>

namespace ormaline {

using namespace gldetail;

DVector TGLRenderer::PixelToGL(const TLVScene& scene, double x, double y) const {
    const TLatvistaOpt& o = scene.WLVO;
    // Under perspective depth 0 lies ZeroPos / NearPos times as far as the near plane.
    const double e =
        o.Perspect && o.ZeroPos > 3 ? static_cast<double>(o.ZeroPos) / (o.ZeroPos - 3) : 1.0;
    const double scale = scene.mas_l > 0 ? e / scene.mas_l : 0.0;
    return {(x - width_ / 2.0) * scale, (height_ / 2.0 - y) * scale, 0.0};
}

void TGLRenderer::TextAtPixel(const TLVScene& scene, double x, double top, double z,
                              const std::string& text) {
    // The glyphs hang from the baseline, which lies one ascent below the cell's top.
    const double baseline = top + (metrics_ != nullptr ? metrics_->Ascent() : 0);
    const DVector at = PixelToGL(scene, x, baseline);
    TextOut3D(at[0], at[1], z, text);
}

void TGLRenderer::SeeABCCell(TLVScene& scene, const TViewColours& colours) {
    const TAxesPicture picture = ormaline::SeeABCCell(scene, colours);
    if (!picture.drawn)
        return;
    glLineStipple(1, kSolidPattern);
    glLineWidth(picture.lineWidth == 0 ? 1.0f : static_cast<float>(picture.lineWidth));
    const DVector origin = PixelToGL(scene, picture.x0, picture.y0);
    const int halfText = metrics_ != nullptr ? metrics_->TextHeight("a") / 2 : 0;
    for (const TAxesPicture::TAxis& axis : picture.axes) {
        GLSetColor(axis.colour);
        drawOneLine(1.0, origin, PixelToGL(scene, axis.x, axis.y));
        SetColFont(picture.textColour);
        TextAtPixel(scene, axis.x, axis.y - halfText, 0.0, std::string(1, axis.letter));
    }
    SetEmission(kBlack);
}

void TGLRenderer::SeeLegend(TLVScene& scene, const TViewColours& colours, const TLegendSet& shown) {
    if (metrics_ == nullptr)
        return;
    const TLegendPicture picture = ormaline::SeeLegend(scene, colours, shown, *metrics_);
    if (!picture.drawn)
        return;
    const bool fog = scene.WLVO.Fog;
    if (fog)
        glDisable(GL_FOG);
    glLineStipple(1, kSolidPattern);
    if (picture.frame) {
        const TRect& r = picture.rect;
        const DVector corners[4] = {
            PixelToGL(scene, r.Left, r.Bottom), PixelToGL(scene, r.Right, r.Bottom),
            PixelToGL(scene, r.Right, r.Top), PixelToGL(scene, r.Left, r.Top)};
        glLineWidth(1.0f);
        GLSetColor(picture.pen);
        Apply();
        glBegin(GL_LINE_LOOP);
        for (const DVector& corner : corners)
            glVertex3d(corner[0], corner[1], 0.0);
        glEnd();
        GLSetColor(picture.background);
        Apply();
        glBegin(GL_QUADS);
        glNormal3f(0.0f, 0.0f, 0.5f);
        for (const DVector& corner : corners)
            glVertex3d(corner[0], corner[1], 0.0);
        glEnd();
    }
    const double pixel = PixelToGL(scene, width_ / 2.0 + 1.0, 0)[0];
    for (const TLegendPicture::TRow& row : picture.rows) {
        SetEmission(kBlack);
        drawSphere(row.colour, row.p, 1.0, row.sphereRadius * pixel,
                   PixelToGL(scene, row.x, row.y));
        SetColFont(picture.pen);
        TextAtPixel(scene, row.textX, row.y - row.textHeight / 2 + 2, 0.001, row.text);
    }
    SetEmission(kBlack);
    if (fog)
        glEnable(GL_FOG);
}

void TGLRenderer::DrawXorShapes(const std::vector<TXorShape>& shapes, int width, int height) {
    if (shapes.empty())
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_LINE_BIT |
                 GL_CURRENT_BIT | GL_POLYGON_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LINE_STIPPLE);
    glDisable(GL_LINE_SMOOTH);
    glDepthMask(GL_FALSE);
    // The alpha channel stays, so that the window shows the picture as it was.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_XOR);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (const TXorShape& shape : shapes) {
        glLineWidth(static_cast<float>(std::max(shape.penWidth, 1)));
        glBegin(GL_LINE_LOOP);
        if (shape.kind == TXorShape::TKind::Rectangle) {
            // Through the centres of the outline's pixels; Right and Bottom lie outside.
            const double l = shape.rect.Left + 0.5, t = shape.rect.Top + 0.5;
            const double r = shape.rect.Right - 0.5, b = shape.rect.Bottom - 0.5;
            glVertex2d(l, t);
            glVertex2d(r, t);
            glVertex2d(r, b);
            glVertex2d(l, b);
        } else {
            const int segments =
                shape.segments > 0 ? shape.segments : std::clamp(shape.radius, 24, 360);
            for (int k = 0; k < segments; ++k) {
                const double angle = 2.0 * std::numbers::pi * k / segments;
                glVertex2d(shape.x + 0.5 + shape.radius * std::cos(angle),
                           shape.y + 0.5 + shape.radius * std::sin(angle));
            }
        }
        glEnd();
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glFlush();
}

} // namespace ormaline
