// What the renderers decide without drawing: the window's colour sets (group colours,
// selection colours, the pen colour), the colour of a node, which bond half becomes a
// cylinder or a patterned line, the materials of bond halves and the label texts.
// Qt-free and OpenGL-free, so that every rule can be checked without a display.
#pragma once

#include "viewer/core/ElementTables.h"
#include "viewer/core/LVScene.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace ormaline {

// The colours a viewer window keeps besides its options.
struct TViewColours {
    TGroupColors ColorGr = GroupColorTable;                                  // 13 group colours
    std::array<TColor, 4> clInsAt{0x00FFFF, 0xFF00FF, 0x00FF00, 0x808080};   // 2D selection
    std::array<TColor, 4> clGLInsAt{0x008080, 0xFF00FF, 0x00FF00, 0x808080}; // OpenGL selection
    TColor PenColor = 0; // the canvas font colour: texts, lines in black and white
    bool operator==(const TViewColours&) const = default;
};

// The colour part of InitLight: GPenColor := black; with `initColor` the default group and
// selection colours; then every group colour equal to the background becomes the pen
// colour and every selection colour equal to the background becomes black.
void InitViewColours(TViewColours& colours, TLatvistaOpt& options, bool initColor);

// Colour of a numeric node parameter; no command sets one, and 0 gives the pen colour.
TColor ParamColor(const tTopAt& node, const TViewColours& colours);

// The OpenGL colour of a node (spheres, points, bond halves): selection, element 0, black
// and white, tint, group colour, legend mode 4, element colour, first rule that applies.
TColor NodeColour(const tTopAt& node, const TLatvistaOpt& options, const TViewColours& colours);

// Index into ArrTickBonds of a bond kind: "Sp" 1, "CE" 2, "PE" 3, "vdW" 4, "Hb" 5, else 0.
int TickIndexOfKind(std::uint8_t kind);
// Line width of a bond kind (entry 0 means 1.0).
float LineWidthOfKind(const TLatvistaOpt& options, std::uint8_t kind);
// Line pattern of a bond kind: "Sp" 0x00FF, "vdW" 0x0F0F, "Hb" 0xFF10, otherwise solid.
std::uint16_t LinePatternOfKind(std::uint8_t kind);
inline constexpr std::uint16_t kSolidPattern = 0xFFFF;

inline bool IsCylinderModel(int nm) {
    return nm == 1 || nm == 3;
}
inline bool IsSphereModel(int nm) {
    return nm == 2 || nm == 3;
}

// A bond half is a cylinder when both atoms use a cylinder model and the pattern is solid.
bool HalfIsCylinder(const tTopAt& a, const tTopAt& b, std::uint16_t pattern);

// Material of one bond half drawn as a line: diffuse = ambient = `colour`; `specularBlack`
// tells whether the specular part is set to black.
struct TLineMaterial {
    TColor colour;
    bool specularBlack;
};
TLineMaterial LineHalfMaterial(const tBoundAt& bond, const tTopAt& atom, TColor atomColour,
                               const TLatvistaOpt& options, const TViewColours& colours);
// Diffuse colour of one bond half drawn as a cylinder.
TColor CylinderHalfDiffuse(const tBoundAt& bond, const tTopAt& atom, TColor atomColour,
                           const TLatvistaOpt& options);

// Bond label: kind names joined by "," (bit 4 of c) or the length with three decimals
// (bit 8); empty when the bond has no label or its kind is not in NumDefBond.
std::string BondLabelText(const tBoundAt& bond, const TLatvistaOpt& options);
// The names of the kinds in cb, in the order "Val", "Sp", "CE", "PE", "vdW", "Hb".
std::string BondKindNames(std::uint8_t cb);

// Atom label of label kind AtomLabels. Kind 5 ("CP Composition") is the partner
// composition the atom description of the mouse tools leaves behind; it is handed in.
std::string AtomLabelText(const tTopAt& node, const TLatvistaOpt& options,
                          const std::string& partnerComposition = {});

// The divisor of drawn radii (PartRad, 0 taken as 1).
inline double PartRadOf(const TLatvistaOpt& options) {
    return options.PartRad == 0 ? 1.0 : static_cast<double>(options.PartRad);
}

// The frame's depth order: by projected depth, ties by the node's address, so that the
// order is total and the same for every frame of an unchanged view.
inline bool DepthBefore(const tTopAt& x, const tTopAt& y) {
    if (x.hk != y.hk)
        return x.hk < y.hk;
    return std::less<const tTopAt*>()(&x, &y);
}

// Sphere slices and stacks for a segment hint: round((sqrt(nSeg) + 1) * 3), 2 below 0.
int SphereSegments(double nSeg);
// Cylinder slices of the frame: round((sqrt(Rb * CoeffDX) + 1) * 3).
int CylinderSlices(double modelRadius, double coeffDX);

} // namespace ormaline
