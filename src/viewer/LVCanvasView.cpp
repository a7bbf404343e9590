#include "viewer/LVCanvasView.h"

#include "viewer/LVGLView.h"
#include "viewer/LVSurfaceInput.h"
#include "viewer/maler.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace ormaline {

bool OpenGLContextCanBeCreated(const QSurfaceFormat& format) {
    QOpenGLContext trial;
    trial.setFormat(format);
    return trial.create() && trial.isValid();
}

TLVCanvasView::TLVCanvasView(TLVForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setMinimumSize(64, 64);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The window paints every pixel (the picture covers the whole client area).
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TLVCanvasView::paintEvent(QPaintEvent*) {
    form_.FormPaint();
}

void TLVCanvasView::resizeEvent(QResizeEvent*) {
    form_.FormResize();
}

void TLVCanvasView::mousePressEvent(QMouseEvent* event) {
    if (!HandMousePress(form_, *this, *event))
        QWidget::mousePressEvent(event);
}

void TLVCanvasView::mouseMoveEvent(QMouseEvent* event) {
    HandMouseMove(form_, *this, *event);
}

void TLVCanvasView::mouseReleaseEvent(QMouseEvent* event) {
    if (!HandMouseRelease(form_, *this, *event))
        QWidget::mouseReleaseEvent(event);
}

void TLVCanvasView::keyPressEvent(QKeyEvent* event) {
    if (!HandKeyPress(form_, *event))
        QWidget::keyPressEvent(event);
}

void TLVCanvasView::keyReleaseEvent(QKeyEvent* event) {
    if (!HandKeyRelease(form_, *event))
        QWidget::keyReleaseEvent(event);
}

void TLVForm::setVisible(bool visible) {
    // Decided before the window is first created: a window that holds an OpenGL widget
    // is composed through OpenGL, so the OpenGL surface must be gone by then.
    if (visible && view_ == surface_ && !OpenGLTried &&
        !OpenGLContextCanBeCreated(surface_->format()))
        StandInFor2D();
    QMainWindow::setVisible(visible);
}

void TLVForm::StandInFor2D() {
    auto* canvas = new TLVCanvasView(*this, this);
    canvas->setFont(surface_->font());
    canvas->setCursor(surface_->cursor());
    // The OpenGL surface stays, off screen and without a context, so that everything
    // that asks it for its context finds none; the window deletes it.
    takeCentralWidget();
    setCentralWidget(canvas);
    setFocusProxy(canvas);
    view_ = canvas;
    SurfaceInitialized();
}

} // namespace ormaline
