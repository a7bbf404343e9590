#include "viewer/interact/core/PlaneEquations.h"

#include "model/NumberFormat.h"
#include "model/PlaneKernels.h"

#include <cmath>
#include <optional>

namespace ormaline {
namespace {

constexpr double kTermThreshold = 1e-4;

// "+" before a positive coefficient that is not the first term.
std::string Term(double value, bool first) {
    return (value > 0.0 && !first ? "+" : "") + FormatFixed(value, 4);
}

// The characteristic polynomial λ³ + m·λ² + B·λ + C of a symmetric matrix.
struct TCubic {
    double m, B, C;
    double operator()(double x) const { return ((x + m) * x + B) * x + C; }
};

// One real root: stepping outwards from 0 in unit steps until the cubic changes sign
// between neighbouring points, then bisection to a bracket narrower than 1e-7. The
// steps stop at `limit` (no root found).
std::optional<double> CubicRoot(const TCubic& cubic, double limit) {
    if (cubic(0.0) == 0.0)
        return 0.0;
    for (double step = 0.0; step <= limit; step += 1.0) {
        for (const double sign : {1.0, -1.0}) {
            double lo = sign * step;
            double hi = sign * (step + 1.0);
            double flo = cubic(lo);
            const double fhi = cubic(hi);
            if (fhi == 0.0)
                return hi;
            if ((flo < 0.0) == (fhi < 0.0))
                continue;
            while (std::fabs(hi - lo) >= 1e-7) {
                const double mid = (lo + hi) / 2.0;
                const double fmid = cubic(mid);
                if (fmid == 0.0)
                    return mid;
                if ((fmid < 0.0) == (flo < 0.0)) {
                    lo = mid;
                    flo = fmid;
                } else {
                    hi = mid;
                }
            }
            return (lo + hi) / 2.0;
        }
    }
    return std::nullopt;
}

} // namespace

TPlaneTexts& PlaneTexts() {
    static TPlaneTexts texts;
    return texts;
}

std::vector<DVector> SelectedPositions(const TLVScene& scene) {
    std::vector<DVector> points;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
        points.push_back({record->PTA->k[0], record->PTA->k[1], record->PTA->k[2]});
    return points;
}

TFractionalPlane FractionalPlane(const TLVScene& scene, const DVector& normal, double d) {
    // Model = M · (edges · (f − origin shift)), with M the map of FractToOrth:
    //   X = u·k11,  Y = u·SinBeta·Cos_C + v·SinAlpha,  Z = u·cos β + v·cos α + w.
    // The coefficients of f are therefore the edges times Mᵀ·n.
    const TParamTTO& p = scene.CompParamMaler.ParamTTO;
    const SVector& edges = scene.CompParamMaler.DC.Tr;
    DVector mt{normal};
    if (p.NOrth) {
        mt[0] = p.k11 * normal[0] + p.SinBeta * p.Cos_C * normal[1] + p.CosUg[1] * normal[2];
        mt[1] = p.SinAlpha * normal[1] + p.CosUg[0] * normal[2];
        mt[2] = normal[2];
    }
    TFractionalPlane plane;
    plane.constant = d;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        plane.coefficients[axis] = mt[axis] * edges[axis];
        plane.constant -= plane.coefficients[axis] * scene.WDeltaVec[axis];
    }
    return plane;
}

void CalcPlEq(const TLVScene& scene, int group, const DVector& normal, double d, double MaxDev,
              double Sigma) {
    TFractionalPlane fractional = FractionalPlane(scene, normal, d);
    DVector& f = fractional.coefficients;
    double& df = fractional.constant;

    // The scale: the smallest magnitude above the threshold, else the largest one.
    double scale = -1.0;
    double largest = 0.0;
    for (const double value : {f[0], f[1], f[2], df}) {
        const double magnitude = std::fabs(value);
        largest = std::max(largest, magnitude);
        if (magnitude > kTermThreshold && (scale < 0.0 || magnitude < scale))
            scale = magnitude;
    }
    if (scale < 0.0)
        scale = largest;
    if (df > kTermThreshold) {
        df = -df;
        for (double& value : f)
            value = -value;
    }
    std::string suffix;
    if (scale > kTermThreshold) {
        df /= scale;
        bool integers = true;
        for (double& value : f) {
            value /= scale;
            if (std::fabs(value - std::nearbyint(value)) > kTermThreshold)
                integers = false;
        }
        if (integers)
            suffix = " (" + std::to_string(RoundHalfEven(f[0])) + "," +
                     std::to_string(RoundHalfEven(f[1])) + "," +
                     std::to_string(RoundHalfEven(f[2])) + ")";
    }

    static constexpr char kLetters[3] = {'x', 'y', 'z'};
    std::string ortho, frac;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (std::fabs(normal[axis]) <= kTermThreshold)
            continue;
        ortho += Term(normal[axis], ortho.empty()) + "*" + kLetters[axis];
        frac += Term(f[axis], frac.empty()) + "*" + kLetters[axis];
    }
    if (std::fabs(d) > kTermThreshold)
        ortho += (d > 0.0 ? "+" : "") + FormatFixed(d, 4);
    if (std::fabs(df) > kTermThreshold)
        frac += (df > 0.0 ? "+" : "") + FormatFixed(df, 4);
    ortho += "=0";
    frac += "=0";
    ortho += "\r\n  Sigma=" + FormatFixed(Sigma, 2) + " A" +
             "\r\n  MaxDev=" + FormatFixed(MaxDev, 2) + " A";

    TPlaneTexts& texts = PlaneTexts();
    if (group == 1) {
        texts.OrthoEq1 = ortho;
        texts.FracEq1 = frac + suffix;
    } else {
        texts.OrthoEq2 = ortho;
        texts.FracEq2 = frac;
    }
}

bool EquationPlaneMNK(TLVScene& scene) {
    SMasVec points;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
        points.push_back(record->PTA->k);
    return FitPlane(points, scene.Sigma, scene.MaxDistLoc, scene.zx, scene.zx4) == kFitPlaneOk;
}

std::optional<TLineFit> FitLine(const std::vector<DVector>& points) {
    if (points.empty())
        return std::nullopt;
    TLineFit line;
    for (const DVector& p : points)
        for (std::size_t axis = 0; axis < 3; ++axis)
            line.b[axis] += p[axis];
    for (double& component : line.b)
        component /= static_cast<double>(points.size());
    std::vector<DVector> centred;
    double sxx = 0, syy = 0, szz = 0, sxy = 0, sxz = 0, syz = 0;
    for (const DVector& p : points) {
        const DVector c{p[0] - line.b[0], p[1] - line.b[1], p[2] - line.b[2]};
        centred.push_back(c);
        sxx += c[0] * c[0];
        syy += c[1] * c[1];
        szz += c[2] * c[2];
        sxy += c[0] * c[1];
        sxz += c[0] * c[2];
        syz += c[1] * c[2];
    }
    // Inertia tensor of the centred points; its smallest moment lies along the line.
    const TMatrix3 inertia = {
        {{syy + szz, -sxy, -sxz}, {-sxy, sxx + szz, -syz}, {-sxz, -syz, sxx + syy}}};
    const double trace = inertia[0][0] + inertia[1][1] + inertia[2][2];
    double minors = 0.0;
    for (int i = 0; i < 3; ++i)
        minors += Cofactor(inertia, i, i);
    const double det = Det3(inertia[0], inertia[1], inertia[2]);
    const TCubic cubic{-trace, minors, -det};
    const std::optional<double> first = CubicRoot(cubic, std::ceil(std::fabs(trace)) + 1.0);
    if (!first)
        return std::nullopt;
    // The remaining quadratic λ² + p·λ + q of the deflated cubic.
    const double p = cubic.m + *first;
    const double q = cubic.B + *first * p;
    double discriminant = p * p - 4.0 * q;
    if (std::fabs(discriminant) <= 1e-4)
        discriminant = 0.0;
    if (discriminant < 0.0 || !std::isfinite(discriminant))
        return std::nullopt;
    const double root = std::sqrt(discriminant);
    const double smallest = std::min({*first, (-p - root) / 2.0, (-p + root) / 2.0});

    TMatrix3 shifted = inertia;
    for (std::size_t i = 0; i < 3; ++i)
        shifted[i][i] -= smallest;
    int bestRow = 0, bestCol = 0;
    double best = 0.0;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (const double value = std::fabs(Cofactor(shifted, row, col)); value > best) {
                best = value;
                bestRow = row;
                bestCol = col;
            }
    if (best < 0.0005)
        return std::nullopt;
    const double pivot = Cofactor(shifted, bestRow, bestCol);
    for (int t = 0; t < 3; ++t)
        line.u[static_cast<std::size_t>(t)] = Cofactor(shifted, bestRow, t) / pivot;
    const double length =
        std::sqrt(line.u[0] * line.u[0] + line.u[1] * line.u[1] + line.u[2] * line.u[2]);
    for (double& component : line.u)
        component /= length;
    for (const DVector& c : centred) {
        const DVector cross{c[1] * line.u[2] - c[2] * line.u[1],
                            c[2] * line.u[0] - c[0] * line.u[2],
                            c[0] * line.u[1] - c[1] * line.u[0]};
        line.summ += cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2];
    }
    return line;
}

std::string LineEquationText(const TLineFit& line) {
    static constexpr const char* kNames[3] = {"   x=", "   y=", "   z="};
    std::string text;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        text += kNames[axis];
        if (std::fabs(line.u[axis]) <= 1e-7) {
            text += FormatFixed(line.b[axis], 4);
        } else {
            text += FormatFixed(line.u[axis], 4) + " * t";
            if (std::fabs(line.b[axis]) > 1e-7)
                text += " + " + FormatFixed(line.b[axis], 4);
        }
        text += "\r\n";
    }
    return text + "   summ=" + FormatFixed(line.summ, 4) + "\r\n";
}

bool EquationLineMNK(const TLVScene& scene) {
    const std::optional<TLineFit> line = FitLine(SelectedPositions(scene));
    if (!line)
        return false;
    PlaneTexts().LineEq = LineEquationText(*line);
    return true;
}

} // namespace ormaline
