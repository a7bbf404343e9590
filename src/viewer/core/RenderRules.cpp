#include "viewer/core/RenderRules.h"

#include "model/ElementCodes.h"
#include "model/NumberFormat.h"

#include <cmath>
#include <cstdlib>

namespace ormaline {

void InitViewColours(TViewColours& colours, TLatvistaOpt& options, bool initColor) {
    options.GPenColor = 0;
    colours.PenColor = options.GPenColor;
    if (initColor) {
        const TViewColours defaults;
        colours.ColorGr = defaults.ColorGr;
        colours.clInsAt = defaults.clInsAt;
        colours.clGLInsAt = defaults.clGLInsAt;
    }
    for (TColor& colour : colours.ColorGr)
        if (colour == options.WGBCol)
            colour = options.GPenColor;
    for (TColor& colour : colours.clInsAt)
        if (colour == options.WGBCol)
            colour = 0;
    for (TColor& colour : colours.clGLInsAt)
        if (colour == options.WGBCol)
            colour = 0;
}

TColor ParamColor(const tTopAt& node, const TViewColours& colours) {
    // No command gives a node a parameter; a parameter of 0 is drawn in the pen colour.
    (void)node;
    return colours.PenColor;
}

TColor NodeColour(const tTopAt& node, const TLatvistaOpt& options, const TViewColours& colours) {
    if (node.PIAt != nullptr) {
        const int col = node.PIAt->col;
        if (col >= 1 && col <= 4)
            return colours.clGLInsAt[static_cast<std::size_t>(col - 1)];
    }
    const int element = node.pSAt != nullptr ? node.pSAt->A.n : 0;
    if (element == 0)
        return colours.PenColor;
    if (options.Black_White)
        return options.LegMode == 4 ? ParamColor(node, colours) : 0xC0C0C0;
    if (node.lAColor != clNone)
        return node.lAColor;
    if (options.GrColor)
        return GroupColorOf(element, colours.ColorGr);
    if (options.LegMode == 4)
        return ParamColor(node, colours);
    return ElementColor(element);
}

int TickIndexOfKind(std::uint8_t kind) {
    switch (kind) {
    case cbSpecific:
        return 1;
    case cbCellEdge:
        return 2;
    case cbPolyhedronEdge:
        return 3;
    case cbVanDerWaals:
        return 4;
    case cbHydrogen:
        return 5;
    default:
        return 0;
    }
}

float LineWidthOfKind(const TLatvistaOpt& options, std::uint8_t kind) {
    const std::uint8_t width =
        options.ArrTickBonds[static_cast<std::size_t>(TickIndexOfKind(kind))];
    return width == 0 ? 1.0f : static_cast<float>(width);
}

std::uint16_t LinePatternOfKind(std::uint8_t kind) {
    switch (kind) {
    case cbSpecific:
        return 0x00FF;
    case cbVanDerWaals:
        return 0x0F0F;
    case cbHydrogen:
        return 0xFF10;
    default:
        return kSolidPattern;
    }
}

bool HalfIsCylinder(const tTopAt& a, const tTopAt& b, std::uint16_t pattern) {
    return IsCylinderModel(a.nm) && IsCylinderModel(b.nm) && pattern == kSolidPattern;
}

TLineMaterial LineHalfMaterial(const tBoundAt& bond, const tTopAt& atom, TColor atomColour,
                               const TLatvistaOpt& options, const TViewColours& colours) {
    if (options.Black_White || (!options.ColBonds && IsSphereModel(atom.nm)))
        return {bond.lBColor != clNone ? bond.lBColor : colours.PenColor, true};
    return {atomColour, true};
}

TColor CylinderHalfDiffuse(const tBoundAt& bond, const tTopAt& atom, TColor atomColour,
                           const TLatvistaOpt& options) {
    if (!options.ColBonds && atom.nm == 3)
        return bond.lBColor != clNone ? bond.lBColor : options.CylinderCol;
    return atomColour;
}

std::string BondKindNames(std::uint8_t cb) {
    static constexpr std::array<const char*, 6> kNames{"Val", "Sp", "CE", "PE", "vdW", "Hb"};
    std::string text;
    for (std::size_t bit = 0; bit < kNames.size(); ++bit) {
        if ((cb & (1u << bit)) == 0)
            continue;
        if (!text.empty())
            text += ',';
        text += kNames[bit];
    }
    return text;
}

std::string BondLabelText(const tBoundAt& bond, const TLatvistaOpt& options) {
    if ((bond.c & (kBondLabelKinds | kBondLabelLength)) == 0 || (bond.cb & options.NumDefBond) == 0)
        return {};
    if ((bond.c & kBondLabelKinds) != 0)
        return BondKindNames(bond.cb);
    return FormatFixed(bond.r, 3);
}

namespace {

std::string OxidationText(int state) {
    return state > 0 ? "+" + std::to_string(state) : std::to_string(state);
}

} // namespace

std::string AtomLabelText(const tTopAt& node, const TLatvistaOpt& options,
                          const std::string& partnerComposition) {
    if (node.pSAt == nullptr)
        return {};
    const tSAtom& atom = node.pSAt->A;
    const std::string symbol(ElSymbol(atom.n));
    switch (options.AtomLabels) {
    case 1:
        return symbol;
    case 2:
        return std::to_string(std::abs(atom.i));
    case 3: {
        const std::string index = std::to_string(std::abs(atom.i));
        return options.IBracket ? symbol + "(" + index + ")" : symbol + index;
    }
    case 4:
        if (std::abs(atom.DegOx) == 16)
            return symbol;
        return options.IBracket ? symbol + "{" + OxidationText(atom.DegOx) + "}"
                                : symbol + OxidationText(atom.DegOx);
    case 5:
        return partnerComposition;
    case 6: {
        const double s = atom.S;
        if (std::fabs(s - std::nearbyint(s)) < 0.001)
            return "1";
        return FormatFixed(s - std::floor(s), 3);
    }
    default:
        return {};
    }
}

int SphereSegments(double nSeg) {
    if (nSeg < 0)
        return 2;
    return static_cast<int>(RoundHalfEven((std::sqrt(nSeg) + 1.0) * 3.0));
}

int CylinderSlices(double modelRadius, double coeffDX) {
    const double product = modelRadius * coeffDX;
    return static_cast<int>(RoundHalfEven((std::sqrt(product > 0 ? product : 0.0) + 1.0) * 3.0));
}

} // namespace ormaline
