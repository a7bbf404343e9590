// Text for OpenGL: the glyphs 0..254 of a Qt font as bitmap display lists, one list per
// 8-bit character code, drawn with glCallLists at a raster position.
#pragma once

#include <QFont>

namespace ormaline {

// With a current context: 256 lists, glyph c in list base + c (255 stays empty).
// Returns the base, or 0 when no lists could be made.
unsigned MakeGlyphLists(const QFont& font);
void DeleteGlyphLists(unsigned& base);
// The OpenGL error of the last MakeGlyphLists that failed (0: none).
unsigned LastGlyphListError();

// The window font of the viewer: a plain sans serif 11 pixels high.
QFont ViewerWindowFont();

} // namespace ormaline
