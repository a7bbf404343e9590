#include "viewer/LVSurfaceInput.h"

#include "viewer/interact/core/MouseTypes.h"
#include "viewer/maler.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <cmath>
#include <optional>

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

namespace {

QPoint ClientPixel(const QWidget& surface, const QPointF& position) {
    const double ratio = surface.devicePixelRatioF();
    return {static_cast<int>(std::floor(position.x() * ratio)),
            static_cast<int>(std::floor(position.y() * ratio))};
}

} // namespace

int SurfacePixelWidth(const QWidget& surface) {
    return static_cast<int>(surface.width() * surface.devicePixelRatioF() + 0.5);
}

int SurfacePixelHeight(const QWidget& surface) {
    return static_cast<int>(surface.height() * surface.devicePixelRatioF() + 0.5);
}

bool HandMousePress(TLVForm& form, const QWidget& surface, QMouseEvent& event) {
    const std::optional<TMouseButton> button = ButtonOf(event.button());
    if (!button)
        return false;
    const QPoint at = ClientPixel(surface, event.position());
    form.FormMouseDown(*button, ShiftOf(event.modifiers(), event.buttons()), at.x(), at.y());
    return true;
}

void HandMouseMove(TLVForm& form, const QWidget& surface, QMouseEvent& event) {
    const QPoint at = ClientPixel(surface, event.position());
    form.FormMouseMove(ShiftOf(event.modifiers(), event.buttons()), at.x(), at.y());
}

bool HandMouseRelease(TLVForm& form, const QWidget& surface, QMouseEvent& event) {
    const std::optional<TMouseButton> button = ButtonOf(event.button());
    if (!button)
        return false;
    const QPoint at = ClientPixel(surface, event.position());
    form.FormMouseUp(*button, ShiftOf(event.modifiers(), event.buttons()), at.x(), at.y());
    return true;
}

bool HandKeyPress(TLVForm& form, QKeyEvent& event) {
    const int key = KeyCodeOf(event.key());
    if (key == 0)
        return false;
    form.FormKeyDown(key, ShiftOf(event.modifiers(), Qt::NoButton));
    return true;
}

bool HandKeyRelease(TLVForm& form, QKeyEvent& event) {
    const int key = KeyCodeOf(event.key());
    if (key == 0 || event.isAutoRepeat())
        return false;
    form.FormKeyUp(key, ShiftOf(event.modifiers(), Qt::NoButton));
    return true;
}

} // namespace ormaline
