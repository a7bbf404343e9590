#include "viewer/LVGLView.h"

#include "viewer/LVSurfaceInput.h"
#include "viewer/maler.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>

#include <GL/gl.h>

namespace ormaline {

TLVGLView::TLVGLView(TLVForm& form, QWidget* parent) : QOpenGLWidget(parent), form_(form) {
    setMinimumSize(64, 64);
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button held set the mouse position the hover highlight picks at.
    setMouseTracking(true);
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
}

void TLVGLView::mousePressEvent(QMouseEvent* event) {
    if (!HandMousePress(form_, *this, *event))
        QOpenGLWidget::mousePressEvent(event);
}

void TLVGLView::mouseMoveEvent(QMouseEvent* event) {
    HandMouseMove(form_, *this, *event);
}

void TLVGLView::mouseReleaseEvent(QMouseEvent* event) {
    if (!HandMouseRelease(form_, *this, *event))
        QOpenGLWidget::mouseReleaseEvent(event);
}

void TLVGLView::keyPressEvent(QKeyEvent* event) {
    if (!HandKeyPress(form_, *event))
        QOpenGLWidget::keyPressEvent(event);
}

void TLVGLView::keyReleaseEvent(QKeyEvent* event) {
    if (!HandKeyRelease(form_, *event))
        QOpenGLWidget::keyReleaseEvent(event);
}

TLVGLView::~TLVGLView() {
    form_.SurfaceAboutToBeDestroyed();
}

int TLVGLView::PixelWidth() const {
    return SurfacePixelWidth(*this);
}

int TLVGLView::PixelHeight() const {
    return SurfacePixelHeight(*this);
}

QImage TLVGLView::KeptPicture() {
    if (context() == nullptr)
        return {};
    makeCurrent();
    QImage image(PixelWidth(), PixelHeight(), QImage::Format_RGBA8888);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, image.width(), image.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    doneCurrent();
    // OpenGL rows run from the bottom up.
    return image.mirrored().convertToFormat(QImage::Format_RGB32);
}

void TLVGLView::initializeGL() {
    if (QOpenGLContext* glContext = context())
        connect(
            glContext, &QOpenGLContext::aboutToBeDestroyed, this,
            [this] { form_.SurfaceAboutToBeDestroyed(); }, Qt::DirectConnection);
    form_.SurfaceInitialized();
}

void TLVGLView::resizeGL(int, int) {
    form_.FormResize();
}

void TLVGLView::paintGL() {
    form_.FormPaint();
}

} // namespace ormaline
