#include "viewer/LVGLView.h"

#include "viewer/interact/core/MouseTypes.h"
#include "viewer/maler.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>

#include <GL/gl.h>

#include <cmath>

namespace ormaline {

namespace {

int ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    int shift = 0;
    if ((modifiers & Qt::ShiftModifier) != 0)
        shift |= ssShift;
    if ((modifiers & Qt::AltModifier) != 0)
        shift |= ssAlt;
    if ((modifiers & Qt::ControlModifier) != 0)
        shift |= ssCtrl;
    if ((buttons & Qt::LeftButton) != 0)
        shift |= ssLeft;
    return shift;
}

// The buttons the viewer knows; others are not handed on.
std::optional<TMouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return TMouseButton::Left;
    case Qt::RightButton:
        return TMouseButton::Right;
    case Qt::MiddleButton:
        return TMouseButton::Middle;
    default:
        return std::nullopt;
    }
}

// The key codes of the keys the viewer handles; 0 for any other key.
int KeyCodeOf(int key) {
    switch (key) {
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
    case Qt::Key_Dead_Grave:
        return VK_GRAVE;
    default:
        return 0;
    }
}

} // namespace

TLVGLView::TLVGLView(TLVForm& form, QWidget* parent) : QOpenGLWidget(parent), form_(form) {
    setMinimumSize(64, 64);
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button held set the mouse position the hover highlight picks at.
    setMouseTracking(true);
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
}

QPoint TLVGLView::ClientPixel(const QPointF& position) const {
    const double ratio = devicePixelRatioF();
    return {static_cast<int>(std::floor(position.x() * ratio)),
            static_cast<int>(std::floor(position.y() * ratio))};
}

void TLVGLView::mousePressEvent(QMouseEvent* event) {
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (!button)
        return QOpenGLWidget::mousePressEvent(event);
    const QPoint at = ClientPixel(event->position());
    form_.FormMouseDown(*button, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TLVGLView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = ClientPixel(event->position());
    form_.FormMouseMove(ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TLVGLView::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (!button)
        return QOpenGLWidget::mouseReleaseEvent(event);
    const QPoint at = ClientPixel(event->position());
    form_.FormMouseUp(*button, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TLVGLView::keyPressEvent(QKeyEvent* event) {
    const int key = KeyCodeOf(event->key());
    if (key == 0)
        return QOpenGLWidget::keyPressEvent(event);
    form_.FormKeyDown(key, ShiftOf(event->modifiers(), Qt::NoButton));
}

void TLVGLView::keyReleaseEvent(QKeyEvent* event) {
    const int key = KeyCodeOf(event->key());
    if (key == 0 || event->isAutoRepeat())
        return QOpenGLWidget::keyReleaseEvent(event);
    form_.FormKeyUp(key, ShiftOf(event->modifiers(), Qt::NoButton));
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
