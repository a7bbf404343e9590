#include "viewer/core/ViewTransforms.h"

#include "model/CellGeometry.h"
#include "model/NumberFormat.h"
#include "model/TextUtil.h"
#include "viewer/core/RenderRules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ormaline {
namespace {

std::size_t Ix(int oneBased) {
    return static_cast<std::size_t>(std::clamp(oneBased, 1, 3) - 1);
}

double Determinant(const TMatrix3& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

int NearPos(const TLatvistaOpt& options) {
    return options.ZeroPos - 3;
}
int FarPos(const TLatvistaOpt& options) {
    return options.ZeroPos + 3;
}

bool CellShown(const TLVScene& scene) {
    return (scene.WLVO.NumSeeBond & 4) != 0;
}

bool IsCellCorner(const tTopAt& node) {
    return node.PolyVert;
}

void ScaleSteps(TLVScene& scene) {
    scene.mas = MaxOrthDist(scene);
    scene.GLXYZMas = 4.0 * scene.mas;
    scene.XYZMas = scene.GLXYZMas != 0.0 ? scene.mas_l / scene.GLXYZMas : 0.0;
}

} // namespace

DVector RotorCoordAt(const TLVScene& scene, const DVector& k) {
    DVector v;
    for (std::size_t row = 0; row < 3; ++row)
        v[row] = scene.WMatrRotor[row][0] * k[0] + scene.WMatrRotor[row][1] * k[1] +
                 scene.WMatrRotor[row][2] * k[2] + scene.WDeltaCoord[row];
    return v;
}

DVector RotorCoordAt(const TLVScene& scene, const SVector& k) {
    return RotorCoordAt(scene, DVector{k[0], k[1], k[2]});
}

DVector RotorCoordAt_1(const TLVScene& scene, const DVector& v) {
    const double det = Determinant(scene.WMatrRotor);
    if (!(std::fabs(det) > 1e-7))
        return v;
    DVector d;
    for (std::size_t axis = 0; axis < 3; ++axis)
        d[axis] = v[axis] - scene.WDeltaCoord[axis];
    DVector k;
    for (std::size_t column = 0; column < 3; ++column)
        k[column] = (scene.WMatrRotor[0][column] * d[0] + scene.WMatrRotor[1][column] * d[1] +
                     scene.WMatrRotor[2][column] * d[2]) /
                    det;
    return k;
}

void RotorCoord(TLVScene& scene, double angle) {
    if (scene.NoUndo)
        scene.Undo->KeepState(1, "Rotation");
    const std::size_t lin = Ix(scene.WLVO.lin), lx = Ix(scene.WLVO.LX), lz = Ix(scene.WLVO.LZ);
    TMatrix3 m{};
    m[lin][lin] = 1.0;
    m[lx][lx] = std::cos(angle);
    m[lz][lz] = std::cos(angle);
    m[lx][lz] = -std::sin(angle);
    m[lz][lx] = std::sin(angle);
    SVector d{};
    TMatrix3 r{};
    for (std::size_t row = 0; row < 3; ++row) {
        double sum = 0.0;
        for (std::size_t j = 0; j < 3; ++j)
            sum += m[row][j] * scene.WDeltaCoord[j];
        d[row] = static_cast<float>(sum);
        for (std::size_t column = 0; column < 3; ++column) {
            double product = 0.0;
            for (std::size_t j = 0; j < 3; ++j)
                product += m[row][j] * scene.WMatrRotor[j][column];
            r[row][column] = product;
        }
    }
    scene.WDeltaCoord = d;
    scene.WMatrRotor = r;
}

void NewRotorCryst(TLVScene& scene) {
    scene.WMatrRotor = {};
    for (std::size_t axis = 0; axis < 3; ++axis)
        scene.WMatrRotor[axis][axis] = 1.0;
    scene.WDeltaCoord = {0.0f, 0.0f, 0.0f};
    scene.Undo->ClearHistory();
}

void ChooseRotationAxis(TLatvistaOpt& o, int axis) {
    if (axis == 1) {
        o.lin = o.L1;
        o.LX = o.L2;
        o.LZ = o.L3;
    } else if (axis == 2) {
        o.lin = o.L2;
        o.LX = o.L3;
        o.LZ = o.L1;
    } else if (axis == 3) {
        o.lin = o.L3;
        o.LX = o.L1;
        o.LZ = o.L2;
    }
}

void ApplyPendingRotation(TLVScene& scene) {
    if (std::fabs(scene.alfa) > kMinRotation)
        RotorCoord(scene, scene.alfa);
    scene.alfa = 0.0;
}

void RotateByDialog(TLVScene& scene, float degrees, int item) {
    scene.alfa = static_cast<double>(degrees) * std::numbers::pi / 180.0;
    if (std::fabs(scene.alfa) > kMinRotation) {
        ChooseRotationAxis(scene.WLVO, item + 1);
        RotorCoord(scene, scene.alfa);
    }
    scene.alfa = 0.0;
}

void ContinuousRotationTick(TLVScene& scene) {
    ChooseRotationAxis(scene.WLVO, scene.WLVO.LinAxis);
    scene.alfa = static_cast<double>(scene.WLVO.RotorStep) * std::numbers::pi / 180.0;
}

void NewScale(TLVScene& scene, int width, int height, bool refit) {
    scene.ClientWidth = width;
    scene.ClientHeight = height;
    scene.i0 = width / 2;
    scene.j0 = height / 2;
    if (refit && scene.oldi0 > 0 && scene.oldj0 > 0) {
        const double fi = static_cast<double>(scene.i0) / scene.oldi0;
        const double fj = static_cast<double>(scene.j0) / scene.oldj0;
        scene.Gi0 = static_cast<int>(RoundHalfEven(scene.Gi0 * fi));
        scene.LegI0 = static_cast<int>(RoundHalfEven(scene.LegI0 * fi));
        scene.Gj0 = static_cast<int>(RoundHalfEven(scene.Gj0 * fj));
        scene.LegJ0 = static_cast<int>(RoundHalfEven(scene.LegJ0 * fj));
    } else {
        scene.Gi0 = scene.i0 / 4;
        scene.LegI0 = 7 * scene.i0 / 4;
        scene.Gj0 = scene.j0 / 4 + scene.j0;
        scene.LegJ0 = scene.j0 / 4;
    }
    scene.oldi0 = scene.i0;
    scene.oldj0 = scene.j0;
    scene.gl_ = {0.0f, 0.0f, 0.0f};
    scene.mas_l = std::min(scene.i0, scene.j0);
    // XYZMas is mas_l / GLXYZMas; a scale fitted before the window had its size would
    // otherwise keep XYZMas at 0, and nothing would be drawn until the next fit.
    if (scene.GLXYZMas != 0.0)
        scene.XYZMas = scene.mas_l / scene.GLXYZMas;
}

void InitPositions(TLVScene& scene) {
    scene.gl_ = {0.0f, 0.0f, 0.0f};
    scene.Gi0 = scene.i0 / 4;
    scene.LegI0 = 7 * scene.i0 / 4;
    scene.Gj0 = scene.j0 / 4 + scene.j0;
    scene.LegJ0 = scene.j0 / 4;
}

void GetIntK(TLVScene& scene) {
    ++scene.ProjectionStamp;
    const TLatvistaOpt& o = scene.WLVO;
    const bool perspective = o.Perspect && o.ZeroPos > 0;
    scene.PickIndex.Begin(static_cast<std::size_t>(std::max(scene.WCountAt, 0)),
                          scene.ProjectionStamp, scene.NodeListStamp);
    // Every frame projects every node: the view's constants are taken once.
    const TMatrix3 m = scene.WMatrRotor;
    const DVector shift{scene.WDeltaCoord[0], scene.WDeltaCoord[1], scene.WDeltaCoord[2]};
    const DVector offset{scene.gl_[0], scene.gl_[1], scene.gl_[2]};
    const std::size_t l1 = Ix(o.L1), l2 = Ix(o.L2), l3 = Ix(o.L3);
    const double partRad = PartRadOf(o);
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        const DVector k{node->k[0], node->k[1], node->k[2]};
        DVector p;
        for (std::size_t row = 0; row < 3; ++row)
            p[row] =
                offset[row] + (m[row][0] * k[0] + m[row][1] * k[1] + m[row][2] * k[2] + shift[row]);
        node->ik = static_cast<float>(p[l1]);
        node->jk = static_cast<float>(p[l2]);
        node->hk = static_cast<float>(p[l3]);
        node->rk = static_cast<float>(node->rad / partRad);
        if (perspective) {
            const double f =
                NearPos(o) * scene.mas / (o.ZeroPos * scene.mas - static_cast<double>(node->hk));
            node->ik = static_cast<float>(node->ik * f);
            node->jk = static_cast<float>(node->jk * f);
            node->rk = static_cast<float>(node->rk * f);
        }
        scene.PickIndex.Add(node, node->ik, node->jk, node->hk, node->rk);
    }
}

int PixelRound(double value) {
    if (!(value > -1e9))
        return -1000000000;
    if (!(value < 1e9))
        return 1000000000;
    return static_cast<int>(RoundHalfEven(value));
}

std::array<double, 2> ScreenPixel(const TLVScene& scene, const tTopAt& node) {
    return {scene.i0 + node.ik * scene.CoeffDX, scene.j0 - node.jk * scene.CoeffDX};
}

DVector DetCentreN(const TLVScene& scene, int mask) {
    DVector sum{0.0, 0.0, 0.0};
    int count = 0;
    const auto add = [&](const tTopAt& node) {
        const DVector v = RotorCoordAt(scene, node.k);
        for (std::size_t axis = 0; axis < 3; ++axis)
            sum[axis] += v[axis];
        ++count;
    };
    if (scene.WInsAt != nullptr) {
        for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
            if (record->col < 16 && (mask & (1 << record->col)) != 0)
                add(*record->PTA);
    } else {
        const tTopAt* first = CellShown(scene) ? scene.WPTAll : scene.WPTAtEnd;
        for (const tTopAt* node = first; node != nullptr; node = node->li)
            if ((node->c & kNodeVisible) != 0)
                add(*node);
    }
    if (count == 0)
        return sum;
    for (double& component : sum)
        component /= count;
    return sum;
}

void CurrCentre(TLVScene& scene) {
    const DVector centre = DetCentreN(scene, kAllSelectionColours);
    for (std::size_t axis = 0; axis < 3; ++axis)
        scene.WDeltaCoord[axis] = static_cast<float>(scene.WDeltaCoord[axis] - centre[axis]);
}

double MaxOrthDist(TLVScene& scene) {
    const TLatvistaOpt& o = scene.WLVO;
    const std::size_t l1 = Ix(o.L1), l2 = Ix(o.L2), l3 = Ix(o.L3);
    const bool cell = CellShown(scene);
    const auto counts = [&](const tTopAt& node) {
        return (node.c & kNodeVisible) != 0 && (cell || !IsCellCorner(node));
    };
    double x = 0.0, y = 0.0;
    for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        if (!counts(*node))
            continue;
        const DVector v = RotorCoordAt(scene, node->k);
        x = std::max(x, std::fabs(v[l1]) + node->rad);
        y = std::max(y, std::fabs(v[l2]) + node->rad);
    }
    if (x < 0.001)
        x = 1.0;
    if (y < 0.001)
        y = 1.0;
    scene.OldMas = std::max(x, y);
    if (o.Perspect && o.ZeroPos > 0) {
        const double old = scene.OldMas;
        x = 0.0;
        y = 0.0;
        for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
            if (!counts(*node))
                continue;
            const DVector v = RotorCoordAt(scene, node->k);
            const double f = NearPos(o) * old / (o.ZeroPos * old - v[l3]);
            x = std::max(x, std::fabs(v[l1] + node->rad) * f);
            y = std::max(y, std::fabs(v[l2] + node->rad) * f);
        }
        if (x < 0.001)
            x = 1.0;
        if (y < 0.001)
            y = 1.0;
        scene.OldMas = std::max(x, y);
    }
    scene.OldMas *= 1.1;
    scene.CoefMas = 1.0;
    scene.GLLegMas = scene.OldMas;
    return scene.OldMas;
}

TProjection FormResize(TLVScene& scene, int width, int height) {
    // An empty client area is treated as one pixel, so that no extent divides by zero.
    const int w = std::max(width, 1);
    const int h = std::max(height, 1);
    if (h < w) {
        scene.gl_MaxJ = 1.0;
        scene.gl_MaxI = static_cast<double>(w) / h;
    } else {
        scene.gl_MaxI = 1.0;
        scene.gl_MaxJ = static_cast<double>(h) / w;
    }
    TProjection projection;
    projection.viewportWidth = width;
    projection.viewportHeight = height;
    projection.perspective = scene.WLVO.Perspect;
    projection.left = -scene.gl_MaxI;
    projection.right = scene.gl_MaxI;
    projection.bottom = -scene.gl_MaxJ;
    projection.top = scene.gl_MaxJ;
    projection.nearZ = NearPos(scene.WLVO);
    projection.farZ = FarPos(scene.WLVO);
    NewScale(scene, width, height, true);
    projection.translateZ = -static_cast<double>(scene.WLVO.ZeroPos);
    return projection;
}

TProjection FitScale(TLVScene& scene, int width, int height) {
    if (scene.NoUndo)
        scene.Undo->KeepState(5, "Fit scale");
    ScaleSteps(scene);
    NewScale(scene, width, height, false);
    InitPositions(scene);
    return FormResize(scene, width, height);
}

void FitCenter(TLVScene& scene) {
    if (scene.NoUndo)
        scene.Undo->KeepState(5, "Fit center");
    CurrCentre(scene);
    scene.gl_ = {0.0f, 0.0f, 0.0f};
}

void FitSpace(TLVScene& scene, int width, int height) {
    CurrCentre(scene);
    scene.gl_ = {0.0f, 0.0f, 0.0f};
    ScaleSteps(scene);
    NewScale(scene, width, height, false);
    InitPositions(scene);
}

void SetTypedScale(TLVScene& scene, float scale) {
    scene.mas = scale;
    UpdateScaleCoeff(scene, true);
}

void UpdateScaleCoeff(TLVScene& scene, bool withAxes) {
    if (scene.mas == 0.0)
        return;
    scene.CoeffDX = scene.mas_l / scene.mas;
    if (withAxes) {
        scene.GLXYZMas = 4.0 * scene.mas;
        scene.XYZMas = scene.mas_l / scene.GLXYZMas;
    }
}

void UpdateCoeffDX(TLVScene& scene) {
    scene.CoeffDX = scene.mas != 0.0 ? scene.mas_l / scene.mas : 0.0;
}

bool BeginPaint(TLVScene& scene) {
    if (!scene.HasScene() || !(std::fabs(scene.mas) >= 1e-7) || !(std::fabs(scene.XYZMas) >= 1e-7))
        return false;
    if (std::fabs(scene.alfa) > kMinRotation)
        RotorCoord(scene, scene.alfa);
    GetIntK(scene);
    UpdateCoeffDX(scene);
    return true;
}

void EndPaint(TLVScene& scene) {
    scene.alfa = 0.0;
    scene.PTMAt = nullptr;
}

void SetNormal(TLVScene& scene, DVector v, int width, int height) {
    if (scene.NoUndo)
        scene.Undo->KeepState(1, "Set normal");
    scene.NoUndo = false;
    TLatvistaOpt& o = scene.WLVO;
    scene.WDeltaCoord = {0.0f, 0.0f, 0.0f};
    scene.WMatrRotor = {};
    for (std::size_t axis = 0; axis < 3; ++axis)
        scene.WMatrRotor[axis][axis] = 1.0;
    o.L1 = 1;
    o.L2 = 2;
    o.L3 = 3;
    // Rotates v and the view by alpha about axis `lin`, turning LX and LZ (1-based).
    const auto turn = [&](int lin, int lx, int lz, double alpha) {
        o.lin = static_cast<std::uint8_t>(lin);
        o.LX = static_cast<std::uint8_t>(lx);
        o.LZ = static_cast<std::uint8_t>(lz);
        RotorCoord(scene, alpha);
        const double x = v[Ix(lx)], z = v[Ix(lz)];
        v[Ix(lx)] = std::cos(alpha) * x - std::sin(alpha) * z;
        v[Ix(lz)] = std::sin(alpha) * x + std::cos(alpha) * z;
    };
    // The angle between Z = (0, 0, 1) and w.
    const auto angleToZ = [](const DVector& w) {
        const double length = std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
        return SafeArcCos(w[2] / length);
    };
    if (std::fabs(v[0]) > 1e-7) {
        const DVector w{v[0], 0.0, v[2]};
        double alpha = angleToZ(w);
        if (w[0] > 0)
            alpha = 2 * std::numbers::pi - alpha;
        turn(2, 3, 1, alpha);
    }
    if (std::fabs(v[1]) > 1e-7) {
        const DVector w{0.0, v[1], v[2]};
        double alpha = angleToZ(w);
        if (w[1] > 0)
            alpha = 2 * std::numbers::pi - alpha;
        turn(1, 3, 2, alpha);
    }
    o.lin = 3;
    o.LX = 1;
    o.LZ = 2;
    scene.alfa = 0.0;
    FitSpace(scene, width, height);
    scene.NoUndo = true;
}

std::optional<std::array<int, 3>> ParseHkl(std::string_view text) {
    for (char ch : text)
        if (!((ch >= '0' && ch <= '9') || ch == '-' || ch == ','))
            return std::nullopt;
    std::array<int, 3> hkl{};
    std::size_t start = 0;
    for (int index = 0; index < 3; ++index) {
        const std::size_t comma = text.find(',', start);
        if ((index < 2) != (comma != std::string_view::npos))
            return std::nullopt;
        const std::string_view part = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const std::optional<std::int32_t> value = ParseInt32(part);
        if (!value)
            return std::nullopt;
        hkl[static_cast<std::size_t>(index)] = *value;
        start = comma + 1;
    }
    return hkl;
}

DVector HklVector(const TLVScene& scene, const std::array<int, 3>& hkl) {
    const tCompParam& comp = scene.CompParamMaler;
    DVector v;
    for (std::size_t axis = 0; axis < 3; ++axis)
        v[axis] = hkl[axis] == 0 ? 0.0 : hkl[axis] * static_cast<double>(comp.DC.Tr[axis]);
    if (comp.ParamTTO.NOrth)
        FractToOrthD(v, comp.ParamTTO);
    return v;
}

bool Set_hkl(TLVScene& scene, std::string_view text, int width, int height) {
    const std::optional<std::array<int, 3>> hkl = ParseHkl(text);
    if (!hkl)
        return false;
    SetNormal(scene, HklVector(scene, *hkl), width, height);
    return true;
}

std::string StrVector(const TLVScene& scene, const DVector& point) {
    const tCompParam& comp = scene.CompParamMaler;
    DVector f = point;
    if (comp.ParamTTO.NOrth)
        OrthToFract(f, comp.ParamTTO);
    std::string text;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        text += ' ';
        text += FormatFixed(f[axis] / comp.DC.Tr[axis] + scene.WDeltaVec[axis], 5);
    }
    return text;
}

} // namespace ormaline
