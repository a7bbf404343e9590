// Text for OpenGL: the glyphs 0..254 of a Qt font as bitmap display lists, one list per
// 8-bit character code, drawn with glCallLists at a raster position.
#pragma once

#include "viewer/core/Legend.h"

#include <QFont>
#include <QFontMetrics>

namespace ormaline {

// With a current context: 256 lists, glyph c in list base + c (255 stays empty).
// Returns the base, or 0 when no lists could be made.
unsigned MakeGlyphLists(const QFont& font);
void DeleteGlyphLists(unsigned& base);
// The OpenGL error of the last MakeGlyphLists that failed (0: none).
unsigned LastGlyphListError();

// The window font of the viewer: a plain sans serif 11 pixels high.
QFont ViewerWindowFont();

// Measures of texts drawn with the glyph lists of a font: a text is as wide as the sum
// of its characters' advances (the lists do not kern).
class TGlyphMetrics : public TTextMetrics {
public:
    explicit TGlyphMetrics(const QFont& font) : metrics_(font) {}
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    int Ascent() const override { return metrics_.ascent(); }

private:
    QFontMetrics metrics_;
};

} // namespace ormaline
