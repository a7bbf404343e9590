// What the viewer window hands to the mouse and key rules and what it gets back. The
// window converts its events once into the system's arguments (button, modifier bits,
// client pixels, key code); the rules change the scene and say what the window must do
// (repaint, status texts, exclusive-or outlines to draw, dialogs to open).
#pragma once

#include "viewer/core/Legend.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ormaline {

enum class TMouseButton { Left, Right, Middle };

// Modifier bits of mouse and key events.
inline constexpr int ssShift = 1;
inline constexpr int ssAlt = 2;
inline constexpr int ssCtrl = 4;
inline constexpr int ssLeft = 8; // the left button is held

// Key codes of the keys the viewer handles.
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_PRIOR = 33; // Page Up
inline constexpr int VK_NEXT = 34;  // Page Down
inline constexpr int VK_END = 35;
inline constexpr int VK_HOME = 36;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_GRAVE = 192; // grave accent

// An outline drawn in exclusive-or mode with a white pen, so that drawing it a second
// time removes it: the rubber-band rectangle or circle, or the hover circle.
struct TXorShape {
    enum class TKind { Rectangle, Circle } kind = TKind::Rectangle;
    TRect rect{};                 // Rectangle
    int x = 0, y = 0, radius = 0; // Circle: centre and radius in pixels
    int penWidth = 1;
    int segments = 0; // of a circle drawn as a polygon; 0: as round as the canvas draws it
    bool operator==(const TXorShape&) const = default;
};

// The window's side of a gesture.
struct TMouseEnv {
    bool active = true;         // the window is the active window
    bool threadRunning = false; // a scene build runs
    bool rotationOn = false;    // continuous rotation runs
    int clientWidth = 0, clientHeight = 0;
    const TTextMetrics* metrics = nullptr; // the font the legend is drawn with
    TViewColours* colours = nullptr;
};

// What a gesture asks of the window besides the scene changes it made.
struct TMouseResult {
    bool repaint = false;
    // The gesture changed the view alone (rotation, shift, zoom), not what is drawn.
    bool viewOnly = false;
    std::optional<std::string> status0, status1; // new texts of the status panels
    std::vector<TXorShape> xorShapes;            // to draw now, in order
    std::optional<std::string> information;      // an information box
    bool magicWand = false; // the magic-wand dialog on wandNode, or on legend row wandRow
    tTopAt* wandNode = nullptr;
    int wandRow = -1;
    tTopAt* neighbourTable = nullptr; // the neighbour table of this atom
    bool stopRotation = false;
};

} // namespace ormaline
