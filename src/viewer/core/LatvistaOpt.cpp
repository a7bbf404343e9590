#include "viewer/core/LatvistaOpt.h"

#include "model/NumberFormat.h"
#include "model/TextUtil.h"

#include <charconv>
#include <cmath>

namespace ormaline {

void DefaultLatvistaOpt(TLatvistaOpt& o) {
    o = TLatvistaOpt{};
    o.NumModel = 3;
    o.Perspect = false;
    o.GrColor = false;
    o.Black_White = false;
    o.SeeCell = false;
    o.Sublattice = false;
    o.ColBonds = false;
    o.ABC_Cell = false;
    o.Legend = true;
    o.EqualRadii = true;
    o.LegFrame = true;
    o.Fog = false;
    o.WGBCol = 0xFFFFFF;
    o.CylinderCol = 0xFFFFFF;
    o.L1 = 3;
    o.L2 = 1;
    o.L3 = 2;
    o.LinAxis = 2;
    o.lin = 1;
    o.LX = 3;
    o.LZ = 2;
    o.RotorStep = 1.0f;
    o.ZeroPos = 7;
    // The light set-up recomputes these from ZeroPos; they start consistent with it.
    o.NearPos = o.ZeroPos - 3;
    o.FarPos = o.ZeroPos + 3;
    o.Luminosity = 0.4f;
    o.TintData = 0;
    o.ModelCryst = 0;
    o.LVMode = 0;
    o.TMax = {0, 0, 0};
    o.GPenColor = 0;
    o.CutMode = 1;
    o.LegMode = 1;
    o.AtomLabels = 0;
    o.RadSyst = 0;
    o.PartRad = 3;
    o.IBracket = false;
    o.ATransparent = false;
    o.CurrentAtom = true;
    o.KeepForUndo = true;
    o.AdjMatrix = 1;
    o.BondLabels = 0;
    o.dBond = 0.2f;
    o.ShiftStep = 0.5f;
    o.AdjTol = 0.3f;
    o.NumDefBond = 1;
    o.NumSeeBond = 1;
    o.ArrTickBonds = {1, 0, 0, 0, 0, 0};
    o.TickLineCircle = 0;
    o.FaceStyle = 1;
    o.DataToFile = false;
    o.ShowVertex = false;
    o.PolySubLat = false;
    o.SelInsAt = true;
    o.TranslucentFaces = false;
    o.Light_Position = {1.0f, 2.0f, 3.0f};
    o.Opacity = 0.5f;
    o.RadAt = ElementRadiiTable(0);
    o.nTr = 1;
    o.NAtoms = 128;
    o.AtomRadii = false;
    o.MolGraphOpt = 8;
    o.FastDrawAtoms = 20000;
}

TLatvistaOpt DefaultLatvistaOptions() {
    TLatvistaOpt options;
    DefaultLatvistaOpt(options);
    return options;
}

TLatvistaOpt& ViewerOptions() {
    static TLatvistaOpt options = DefaultLatvistaOptions();
    return options;
}

TOptionChanges CompareOptions(const TLatvistaOpt& before, const TLatvistaOpt& after,
                              bool defaultsLoaded) {
    TOptionChanges changes;
    changes.sublattice = before.Sublattice != after.Sublattice;
    changes.rebuild = changes.sublattice || before.TMax != after.TMax || defaultsLoaded ||
                      before.AdjMatrix != after.AdjMatrix;
    changes.legend = before.LegMode != after.LegMode || before.GrColor != after.GrColor;
    changes.atomLabels = before.AtomLabels != after.AtomLabels;
    changes.bondLabels = before.BondLabels != after.BondLabels;
    changes.model = before.NumModel != after.NumModel;
    return changes;
}

std::optional<TPlaneBounds> ParseInPlane(std::string_view text) {
    const std::string trimmed = Trim(text);
    TPlaneBounds bounds;
    if (trimmed.empty())
        return bounds;
    const std::size_t colon = trimmed.find(':');
    if (colon == std::string::npos) {
        const std::optional<double> value = ParseNumber(trimmed);
        if (!value || std::fabs(*value) > MaxSingle)
            return std::nullopt;
        bounds.MinBPlane = bounds.MaxBPlane = static_cast<float>(*value);
        return bounds;
    }
    bounds.MaxBPlane = 2147483648.0f;
    const std::string low = Trim(std::string_view(trimmed).substr(0, colon));
    const std::string high = Trim(std::string_view(trimmed).substr(colon + 1));
    if (!low.empty()) {
        const std::optional<double> value = ParseNumber(low);
        if (!value || std::fabs(*value) > MaxSingle)
            return std::nullopt;
        bounds.MinBPlane = static_cast<float>(*value);
    }
    if (!high.empty()) {
        const std::optional<double> value = ParseNumber(high);
        if (!value || std::fabs(*value) > MaxSingle)
            return std::nullopt;
        bounds.MaxBPlane = static_cast<float>(*value);
    }
    return bounds;
}

std::string FormatInPlane(const TPlaneBounds& bounds) {
    if (bounds.MaxBPlane < 1e-4f)
        return "";
    return FormatFixed(bounds.MinBPlane, 2) + ":" + FormatFixed(bounds.MaxBPlane, 2);
}

std::uint8_t StepThickDigit(std::uint8_t digit, bool up) {
    if (digit > 9)
        digit = 0;
    if (up)
        return static_cast<std::uint8_t>(digit == 9 ? 0 : digit + 1);
    return static_cast<std::uint8_t>(digit == 0 ? 9 : digit - 1);
}

std::string FormatGeneral(double value, int digits) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    std::string text(buffer, result.ptr);
    for (char& ch : text)
        if (ch == 'e')
            ch = 'E';
    return text;
}

TNumericEditCheck CheckNumericEdit(std::string_view name, std::string_view text, double minimum,
                                   double maximum, bool integer) {
    TNumericEditCheck check;
    const std::optional<double> number = ParseNumber(text);
    const bool ranged = std::fabs(maximum - minimum) > 1e-6;
    // A number too large for single precision cannot be stored.
    bool valid = number.has_value() && std::fabs(*number) <= MaxSingle;
    if (valid && ranged && (*number < minimum || *number > maximum))
        valid = false;
    if (valid && integer && std::nearbyint(*number) != *number)
        valid = false;
    if (valid) {
        check.ok = true;
        check.value = static_cast<float>(*number);
        return check;
    }
    check.message = "Error in " + std::string(name) + ": " + std::string(text);
    if (ranged)
        check.message += " (range=" + FormatGeneral(minimum) + "-" + FormatGeneral(maximum) + ")";
    check.message += ".";
    return check;
}

} // namespace ormaline
