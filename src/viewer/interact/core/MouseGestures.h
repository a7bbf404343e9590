// The mouse modes and the gestures of a viewer window: what a press, a move and a release
// of the mouse and the view keys do in each mode. The window converts its events and
// calls these with its scene; they change the view, the selection and the scene and say
// in the result what the window must show or open.
//
// Mouse modes (MouseMode, the mode button's Tag - 1): 0 edit, 1 select, 2 rotate,
// 3 magnify/shrink, 4 translate, 5 z-rotate, 6 magic wand. A gesture becomes a drag when
// it leaves the square of 20 pixels around its press point.
#pragma once

#include "viewer/interact/core/MouseTypes.h"

#include <cstdint>

namespace ormaline {

// The smallest angle a mouse rotation applies (0.1 degree, in radians).
inline constexpr double kMouseRotationThreshold = 0.001744360163014877;
// A tool button's two mouse-ups count as a double click when they are closer than this.
inline constexpr std::uint32_t kDoubleClickMs = 350;

// The rule of a mode button's click: undo state 22 "Mouse mode", no drag, the new mode.
void ChoiceMouseMode(TLVScene& scene, int tag);

// A mouse-up on one of the tool buttons that open something on a double click, at tick
// `now` (milliseconds); `dwTickCount` is shared by all of them (0: none stored). True
// for the second mouse-up of a pair closer than kDoubleClickMs; a slower pair clears the
// stored tick, so that the next mouse-up starts a new pair.
bool CheckDoubleClick(std::uint32_t& dwTickCount, std::uint32_t now);

// Selection colour of a click or drag in select mode: left 1, with Ctrl 2, else with
// Shift 3; the right button the same negated; the middle button 0.
int SelectionColour(TMouseButton button, int shift);

TMouseResult FormMouseDown(TLVScene& scene, const TMouseEnv& env, TMouseButton button, int shift,
                           int X, int Y);
TMouseResult FormMouseMove(TLVScene& scene, const TMouseEnv& env, int shift, int X, int Y);
TMouseResult FormMouseUp(TLVScene& scene, const TMouseEnv& env, TMouseButton button, int shift,
                         int X, int Y);
// The view keys (End, Home, arrows, Page Up and Down) and, on release, Escape, Space and
// the grave accent; other keys do nothing here.
TMouseResult FormKeyDown(TLVScene& scene, const TMouseEnv& env, int key, int shift);
TMouseResult FormKeyUp(TLVScene& scene, const TMouseEnv& env, int key, int shift);

} // namespace ormaline
