// What both drawing surfaces of a viewer window (the OpenGL view and its 2D stand-in) do
// with their events: mouse and key events become the window's arguments (button,
// modifier bits, client pixels, key code), and the client size is counted in device
// pixels.
#pragma once

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace ormaline {

class TLVForm;

// Client size of `surface` in device pixels.
int SurfacePixelWidth(const QWidget& surface);
int SurfacePixelHeight(const QWidget& surface);

// Each hands the event to the window and returns true, or returns false when the viewer
// does not take it (a button or key it does not know) and the surface's base class
// should have it.
bool HandMousePress(TLVForm& form, const QWidget& surface, QMouseEvent& event);
void HandMouseMove(TLVForm& form, const QWidget& surface, QMouseEvent& event);
bool HandMouseRelease(TLVForm& form, const QWidget& surface, QMouseEvent& event);
bool HandKeyPress(TLVForm& form, QKeyEvent& event);
bool HandKeyRelease(TLVForm& form, QKeyEvent& event);

} // namespace ormaline
