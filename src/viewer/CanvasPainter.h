// Draws a 2D picture of canvas operations (viewer/core/Canvas2D.h) with a QPainter: on the
// window's off-screen image, on a vector picture (SVG) or on a printer-sized image.
#pragma once

#include "viewer/core/Canvas2D.h"

#include <QColor>

class QPainter;

namespace ormaline {

QColor QtColour(TColor colour);
// The system's tooltip background, the colour of framed labels.
TColor TooltipColour();

// Draws every operation in order with the painter's font; antialiasing stays off, as on
// the system's canvas.
void DrawCanvasPicture(QPainter& painter, const TCanvasPicture& picture);

} // namespace ormaline
