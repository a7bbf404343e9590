#include "viewer/LVGLView.h"

#include "viewer/maler.h"

#include <QOpenGLContext>

namespace ormaline {

TLVGLView::TLVGLView(TLVForm& form, QWidget* parent) : QOpenGLWidget(parent), form_(form) {
    setMinimumSize(64, 64);
    setFocusPolicy(Qt::StrongFocus);
}

TLVGLView::~TLVGLView() {
    form_.SurfaceAboutToBeDestroyed();
}

int TLVGLView::PixelWidth() const {
    return static_cast<int>(width() * devicePixelRatioF() + 0.5);
}

int TLVGLView::PixelHeight() const {
    return static_cast<int>(height() * devicePixelRatioF() + 0.5);
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
