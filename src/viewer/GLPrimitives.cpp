// The OpenGL renderer's primitives: materials, spheres, lines, cylinders and text.
#include "viewer/GLRendererDetail.h"

#include <GL/glu.h>

namespace ormaline {

using namespace gldetail;

void TGLRenderer::SetMaterial(const TMaterial& material) {
    material_ = material;
    if (!deferring_)
        Apply();
}

void TGLRenderer::Apply() {
    if (materialKnown_ && material_ == applied_)
        return;
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material_.diffuse.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material_.ambient.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material_.specular.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, material_.emission.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material_.shininess);
    applied_ = material_;
    materialKnown_ = true;
}

// Scaled unit tessellations need their normals renormalised; lines keep the normal
// (0, 0, 0.5) unnormalised, so the state follows what is drawn.
void TGLRenderer::SetNormalize(bool on) {
    const int wanted = on ? 1 : 0;
    if (normalizeState_ == wanted)
        return;
    if (on)
        glEnable(GL_NORMALIZE);
    else
        glDisable(GL_NORMALIZE);
    normalizeState_ = wanted;
}

const TUnitMesh& TGLRenderer::SphereMesh(int slices) {
    auto found = sphereMeshes_.find(slices);
    if (found == sphereMeshes_.end())
        found = sphereMeshes_.emplace(slices, UnitSphere(slices, slices)).first;
    return found->second;
}

const TUnitMesh& TGLRenderer::CylinderMesh(int slices) {
    auto found = cylinderMeshes_.find(slices);
    if (found == cylinderMeshes_.end())
        found = cylinderMeshes_.emplace(slices, UnitCylinder(slices)).first;
    return found->second;
}

void TGLRenderer::SetCurrentColour(TColor colour) {
    const TColorFloats f = ColorToFloats(colour);
    glColor4f(f.r, f.g, f.b, f.a);
}

// The current material with another emission.
void TGLRenderer::SetEmission(const std::array<float, 4>& emission) {
    SetMaterial(
        {material_.diffuse, material_.ambient, material_.specular, emission, material_.shininess});
}

// An atom's material: its colour, the atom ambient, white specular, the current emission.
TGLRenderer::TMaterial TGLRenderer::SphereMaterial(TColor colour) const {
    return {Floats(colour), kAtomAmbient, kWhite, material_.emission, kShininess};
}

void TGLRenderer::drawSphere(TColor colour, double nSeg, double mas, double radius,
                             const DVector& position) {
    SetMaterial(SphereMaterial(colour));
    SetCurrentColour(colour);
    glPushMatrix();
    glTranslated(position[0] / mas, position[1] / mas, position[2] / mas);
    SetNormalize(false);
    gluQuadricDrawStyle(quadObj_, GLU_FILL);
    const int segments = SphereSegments(nSeg);
    gluSphere(quadObj_, radius / mas, segments, segments);
    glPopMatrix();
}

void TGLRenderer::GlVertex(const DVector& p, double mas) {
    glVertex3f(static_cast<float>(p[0] / mas), static_cast<float>(p[1] / mas),
               static_cast<float>(p[2] / mas));
}

void TGLRenderer::drawOneLine(double mas, const DVector& p, const DVector& q) {
    Apply();
    SetNormalize(false);
    glBegin(GL_LINES);
    glNormal3f(0.0f, 0.0f, 0.5f);
    GlVertex(p, mas);
    GlVertex(q, mas);
    glEnd();
}

void TGLRenderer::gluCylinderMy(const DVector& p, const DVector& q, double radius, double mas,
                                int slices) {
    const TCylinderFrame frame = CylinderFrame(p, q, mas);
    glPushMatrix();
    glTranslated(frame.origin[0], frame.origin[1], frame.origin[2]);
    glRotated(frame.aroundY, 0.0, 1.0, 0.0);
    glRotated(frame.aroundX, 1.0, 0.0, 0.0);
    SetNormalize(false);
    gluQuadricDrawStyle(quadObj_, GLU_FILL);
    gluCylinder(quadObj_, radius, radius, frame.length, slices, 1);
    glPopMatrix();
}

void TGLRenderer::GLSetColor(TColor colour) {
    // Without a highlight, so that lines and texts show exactly their colour.
    const TFloat4 f = Floats(colour);
    SetMaterial({f, f, kBlack, f, material_.shininess});
    SetCurrentColour(colour);
}

void TGLRenderer::SetColFont(TColor penColour) {
    GLSetColor(penColour);
}

void TGLRenderer::TextOut3D(double x, double y, double z, const std::string& text) {
    if (fontListBase_ == 0 || text.empty())
        return;
    if (deferring_) {
        labels_.push_back({x, y, z, text});
        return;
    }
    Apply();
    glPushMatrix();
    glPushAttrib(0xFFFFF);
    glRasterPos3f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    glListBase(fontListBase_);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopAttrib();
    glPopMatrix();
}

void TGLRenderer::TextOut2D(double x, double y, const std::string& text) {
    if (fontListBase_ == 0 || text.empty())
        return;
    Apply();
    glPushMatrix();
    glPushAttrib(0xFFFFF);
    glRasterPos2f(static_cast<float>(x), static_cast<float>(y));
    glListBase(fontListBase_);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopAttrib();
    glPopMatrix();
}

} // namespace ormaline
