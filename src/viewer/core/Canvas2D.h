// A 2D picture as a list of canvas operations in client pixels: what the 2D renderer
// decides to draw, kept apart from the canvas that draws it (a window bitmap, a vector
// picture or a printer page), so that every rule can be checked without a display.
#pragma once

#include "viewer/core/Colour.h"
#include "viewer/core/SceneRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ormaline {

enum class TPenStyle : std::uint8_t { Solid, Dash, Dot, DashDot };

struct TPen {
    TColor colour = 0;
    int width = 1; // 0 and 1: one pixel
    TPenStyle style = TPenStyle::Solid;
    bool operator==(const TPen&) const = default;
};

// A brush of style bsClear fills nothing; hatch styles draw their lines in `colour` and
// leave what lies between them.
struct TBrush {
    TColor colour = 0xFFFFFF;
    TBrushStyle style = bsSolid;
    bool operator==(const TBrush&) const = default;
};

struct TPoint {
    int x = 0, y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TCanvasItem {
    enum class TKind : std::uint8_t {
        FillRect,  // points[0] top left, points[1] bottom right (outside); brush only
        Line,      // from points[0] to points[1]; pen only
        Polygon,   // points; outline with the pen, filled with the brush
        Ellipse,   // bounding box points[0] .. points[1] (outside); pen and brush
        Rectangle, // points[0] .. points[1] (outside); pen and brush
        Text,      // top left of the text cell at points[0]; the pen colour, with a solid
                   // brush the text cell is filled with it first
    };
    TKind kind = TKind::Line;
    TPen pen;
    TBrush brush;
    std::vector<TPoint> points;
    std::string text;
};

struct TCanvasPicture {
    int width = 0, height = 0;
    std::vector<TCanvasItem> items;
};

} // namespace ormaline
