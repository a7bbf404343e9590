#include "viewer/GLRendererDetail.h"

#include "model/NumberFormat.h"
#include "viewer/core/Legend.h"
#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/AtomDescription.h"

#include <QOpenGLFunctions>

#include <GL/glu.h>

#include <algorithm>

namespace ormaline {

using namespace gldetail;

bool TGLRenderer::InitGL() {
    if (quadObj_ == nullptr)
        quadObj_ = gluNewQuadric();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LINE_STIPPLE);
    QOpenGLFunctions* functions = CurrentFunctions();
    buffersAvailable_ =
        functions != nullptr && functions->hasOpenGLFeature(QOpenGLFunctions::Buffers);
    return quadObj_ != nullptr;
}

void TGLRenderer::ReleaseGL() {
    impostors_.ReleaseGL();
    ReleaseGeometry();
    for (auto& [segments, shape] : sphereShapes_)
        ReleaseBuffers(shape.buffers);
    sphereShapes_.clear();
    ReleaseAll(positionBuffers_);
    ReleaseAll(spareBuffers_);
    sphereMeshes_.clear();
    cylinderMeshes_.clear();
    if (quadObj_ != nullptr)
        gluDeleteQuadric(quadObj_);
    quadObj_ = nullptr;
}

void TGLRenderer::InitLight(TLatvistaOpt& options, TViewColours& colours, bool initColor) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    options.NearPos = options.ZeroPos - 3;
    options.FarPos = options.ZeroPos + 3;
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const TFloat4 position{options.Light_Position[0], options.Light_Position[1],
                           options.Light_Position[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position.data());
    const TFloat4 modelAmbient{options.Luminosity, options.Luminosity, options.Luminosity, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient.data());
    glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient.data());
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse.data());
    glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular.data());
    glMaterialfv(GL_FRONT, GL_EMISSION, kBlack.data());
    if (options.Fog) {
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, static_cast<float>(options.NearPos + 2));
        glFogf(GL_FOG_END, static_cast<float>(options.FarPos + 2));
    } else {
        glDisable(GL_FOG);
    }
    InitViewColours(colours, options, initColor);
    materialKnown_ = false;
}

DVector TGLRenderer::ScreenPosition(const TLVScene& scene, const tTopAt& node) const {
    const DVector v = RotorCoordAt(scene, node.k);
    const TLatvistaOpt& o = scene.WLVO;
    DVector p{};
    const std::array<std::size_t, 3> order{AxisIndex(o.L1), AxisIndex(o.L2), AxisIndex(o.L3)};
    for (std::size_t axis = 0; axis < 3; ++axis)
        p[axis] = scene.gl_[order[axis]] + v[order[axis]];
    return p;
}

void TGLRenderer::LatvistaFull(TLVScene& scene, const TViewColours& colours,
                               const TProjection& projection, int width, int height) {
    const TLatvistaOpt& o = scene.WLVO;
    width_ = width;
    height_ = height;
    materialKnown_ = false;
    material_ = {kBlack, kBlack, kBlack, kBlack, kShininess};
    normalizeState_ = -1;

    // Frame constants.
    const double partRad = PartRadOf(o);
    rbModel_ = o.dBond / partRad;
    cylinderSlices_ = CylinderSlices(rbModel_, scene.CoeffDX);

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (projection.perspective)
        glFrustum(projection.left, projection.right, projection.bottom, projection.top,
                  projection.nearZ, projection.farZ);
    else
        glOrtho(projection.left, projection.right, projection.bottom, projection.top,
                projection.nearZ, projection.farZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The light is given in eye coordinates: it moves with the viewer.
    const TFloat4 light{o.Light_Position[0], o.Light_Position[1], o.Light_Position[2], 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light.data());
    glTranslated(0.0, 0.0, projection.translateZ);

    const TColorFloats background = ColorToFloats(o.WGBCol);
    glClearColor(background.r, background.g, background.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const TVisibility visibility = MarkVisibleNodes(scene);
    if (visibility.legend.none())
        return;

    glEnable(GL_CULL_FACE);
    glEnable(GL_LINE_SMOOTH);
    // Large scenes: impostors instead of meshes (the walk there is always in list order).
    lastFrameFast_ = visibility.nodes == scene.ArrAt.size() &&
                     TImpostorRenderer::Wanted(o, visibility.atoms) &&
                     impostors_.DrawFrame(*this, scene, colours, projection, width, height);
    if (!lastFrameFast_)
        DrawMeshes(scene, colours, visibility.nodes);
    if (o.ABC_Cell)
        SeeABCCell(scene, colours);
    if (o.Legend)
        SeeLegend(scene, colours, visibility.legend);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LINE_SMOOTH);
    SetNormalize(false);
    MakeOpaque();
    glFlush();
}

// Smoothed lines write their pixel coverage into the alpha channel even without
// blending; the window composes its OpenGL picture by that alpha, so thin lines (axes,
// wire bonds, the legend frame) would come out dark on the screen and in copies. The
// picture is opaque: alpha is set to 1 everywhere, colours untouched.
void TGLRenderer::MakeOpaque() {
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

void TGLRenderer::DrawMeshes(TLVScene& scene, const TViewColours& colours, std::size_t nodeCount) {
    std::sort(scene.ArrAt.begin(), scene.ArrAt.end(),
              [](const tTopAt* a, const tTopAt* b) { return DepthBefore(*a, *b); });
    deferring_ = Tessellation == TTessellation::Cached;
    materials_.clear();
    materialHashes_.clear();
    lastMaterial_ = 0;
    spheres_.clear();
    cylinders_.clear();
    labels_.clear();
    frameContent_ = {};
    // With the depth array holding exactly the list's nodes (as every scene build leaves
    // it), the walk goes in list order, which keeps neighbouring atoms near in memory;
    // which end of a bond draws it is still decided by the depth order.
    stableWalk_ = deferring_ && nodeCount == scene.ArrAt.size();
    if (stableWalk_) {
        for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
            if ((node->c & kNodePainted) == 0)
                PaintNode(scene, *node, colours);
    } else {
        for (tTopAt* node : scene.ArrAt)
            if ((node->c & kNodePainted) == 0)
                PaintNode(scene, *node, colours);
    }
    stableWalk_ = false;
    const bool gathered = deferring_;
    deferring_ = false;
    if (gathered)
        FlushDeferred(scene, colours.PenColor);
}

bool TGLRenderer::PartnerPaintedFirst(const tTopAt& a, const tTopAt& b) const {
    if (!stableWalk_)
        return (b.c & kNodePainted) != 0;
    // In depth order b would have been painted before a: it is a itself, it was marked
    // as painted by the visibility pass, or it comes first in depth.
    return &b == &a || (b.c & kNodeVisible) == 0 || DepthBefore(b, a);
}

void TGLRenderer::PaintNode(TLVScene& scene, tTopAt& a, const TViewColours& colours) {
    const TLatvistaOpt& o = scene.WLVO;
    const double mas = scene.mas;
    const double partRad = PartRadOf(o);
    a.c |= kNodePainted;
    const DVector pa = ScreenPosition(scene, a);
    const TColor colourA = NodeColour(a, o, colours);
    const bool cellShown = (o.NumSeeBond & cbCellEdge) != 0;
    double largestRadius = 0.0;
    bool anyBond = false;
    bool bondStarted = false;

    if (!(a.PolyVert && !cellShown)) {
        for (tBoundAt* bond = a.p; bond != nullptr; bond = bond->li) {
            const double modelRadius = bond->diam >= 0 ? bond->diam / partRad : rbModel_;
            largestRadius = anyBond ? std::max(largestRadius, modelRadius) : modelRadius;
            anyBond = true;
            tTopAt* b = bond->p;
            const auto kind = static_cast<std::uint8_t>(bond->cb & 0x3F);
            if (b == nullptr || (kind & o.NumSeeBond) == 0 || PartnerPaintedFirst(a, *b))
                continue;
            glLineWidth(LineWidthOfKind(o, kind));
            if ((b->c & kNodeVisible) == 0 || (bond->c & kBondOpen) != 0 ||
                (bond->c & kBondShown) == 0)
                continue;
            bondStarted = true;
            const DVector pb = ScreenPosition(scene, *b);
            const DVector mid{(pa[0] + pb[0]) / 2, (pa[1] + pb[1]) / 2, (pa[2] + pb[2]) / 2};
            const std::uint16_t pattern = LinePatternOfKind(kind);
            const bool cylinder = HalfIsCylinder(a, *b, pattern);
            const TColor colourB = NodeColour(*b, o, colours);
            const double glRadius = modelRadius / mas;
            const SVector midK{(a.k[0] + b->k[0]) / 2, (a.k[1] + b->k[1]) / 2,
                               (a.k[2] + b->k[2]) / 2};
            struct THalf {
                const tTopAt& atom;
                TColor colour;
                DVector from, to;   // GL model units, screen axis order
                SVector fromK, toK; // before the view
            };
            const THalf halves[2] = {{a, colourA, pa, mid, a.k, midK},
                                     {*b, colourB, mid, pb, midK, b->k}};
            for (const THalf& half : halves) {
                const bool selectedBond = bond->sel && half.atom.PIAt != nullptr;
                if (cylinder) {
                    TMaterial material{
                        Floats(CylinderHalfDiffuse(*bond, half.atom, half.colour, o)), kAtomAmbient,
                        kWhite, kBlack, kShininess};
                    if (selectedBond)
                        material.diffuse = material.ambient = material.specular =
                            Floats(half.colour);
                    SetMaterial(material);
                    if (deferring_) {
                        AddCylinderItem(half.fromK, half.toK, modelRadius);
                    } else {
                        SetCurrentColour(bond->lBColor != clNone ? bond->lBColor : half.colour);
                        gluCylinderMy(half.from, half.to, glRadius, mas, cylinderSlices_);
                    }
                } else {
                    glLineStipple(1, pattern);
                    const TLineMaterial line =
                        LineHalfMaterial(*bond, half.atom, half.colour, o, colours);
                    TMaterial material{Floats(line.colour), Floats(line.colour), kBlack, kBlack,
                                       material_.shininess};
                    if (selectedBond)
                        material.diffuse = material.ambient = material.specular =
                            Floats(half.colour);
                    SetMaterial(material);
                    SetCurrentColour(half.colour);
                    drawOneLine(mas, half.from, half.to);
                }
            }
            const std::string label = BondLabelText(*bond, o);
            if (!label.empty()) {
                SetColFont(colours.PenColor);
                TextOut3D(mid[0] / mas, mid[1] / mas, mid[2] / mas + 2.0 * o.dBond / partRad / mas,
                          label);
                SetEmission(kBlack);
            }
        }
    }
    if (!anyBond)
        largestRadius = rbModel_;

    double drawnRadius = a.rad / partRad;
    if ((a.c & kNodeAuxiliary) == 0 && !(a.PolyVert && !o.ShowVertex)) {
        if (a.nm == 0) {
            if (!bondStarted) {
                SetMaterial(
                    {Floats(colourA), Floats(colourA), kBlack, kBlack, material_.shininess});
                SetCurrentColour(colourA);
                const float size = static_cast<float>(o.ArrTickBonds[0]);
                glPointSize(size < 1e-7f ? 1.0f : size);
                Apply();
                SetNormalize(false);
                glBegin(GL_POINTS);
                glNormal3f(0.0f, 0.0f, 0.5f);
                GlVertex(pa, mas);
                glEnd();
            }
        } else {
            if (a.nm == 1 || (a.nm == 3 && a.rad < o.dBond))
                drawnRadius = largestRadius;
            TFloat4 emission = kBlack;
            if (a.PIAt != nullptr) {
                const TFloat4 c = Floats(colourA);
                emission = {(0.3f + c[0]) / 3.0f, (0.3f + c[1]) / 3.0f, (0.3f + c[2]) / 3.0f, 1.0f};
            }
            SetEmission(emission);
            const double nSeg = static_cast<double>(RoundHalfEven(a.rk * scene.CoeffDX));
            if (deferring_) {
                SetMaterial(SphereMaterial(colourA));
                AddSphereItem({pa[0] / mas, pa[1] / mas, pa[2] / mas}, SphereSegments(nSeg),
                              drawnRadius / mas);
            } else {
                drawSphere(colourA, nSeg, mas, drawnRadius, pa);
            }
            if (a.PIAt != nullptr)
                SetEmission(kBlack);
        }
    }
    if (a.LabelExist) {
        const std::string text =
            AtomLabelText(a, o, o.AtomLabels == 5 ? WrAtom(a, {0, 0, 0}, o.NumSeeBond).StrCP : "");
        if (!text.empty() && width_ > 0 && height_ > 0) {
            const double dx = PosNameDx(a.PosName), dy = PosNameDy(a.PosName);
            const double x = 2.0 * dx / width_ * scene.gl_MaxI + pa[0] / mas;
            const double y = pa[1] / mas - 2.0 * dy / height_ * scene.gl_MaxJ;
            const double z = (pa[2] + 1.5 * drawnRadius + 0.03) / mas + 0.001;
            SetColFont(colours.PenColor);
            TextOut3D(x, y, z, text);
            SetEmission(kBlack);
        }
    }
}

} // namespace ormaline
