#include "model/CellGeometry.h"

#include <cmath>
#include <numbers>

namespace ormaline {

bool BadCell(const SVector& edges, const SVector& angles) {
    for (int axis = 0; axis < 3; ++axis) {
        float edge = edges[static_cast<std::size_t>(axis)];
        float angle = angles[static_cast<std::size_t>(axis)];
        if (!std::isfinite(edge) || !std::isfinite(angle) || edge < 0.1f || angle < 0.1f)
            return true;
    }
    return false;
}

bool CalcParamTTO(const SVector& edges, const SVector& angles, TParamTTO& param) {
    param.CosUg = {0.0, 0.0, 0.0};
    param.SinAlpha = 1.0;
    param.SinBeta = 1.0;
    param.Cos_C = 0.0;
    param.k11 = 1.0;
    param.NOrth = true;
    bool nearRight = true;
    for (float angle : angles)
        nearRight = nearRight && std::fabs(static_cast<double>(angle) - 90.0) <= 0.01;
    param.NOrth = !nearRight;

    if (BadCell(edges, angles))
        return false;
    if (param.NOrth) {
        DVector radians{};
        for (std::size_t axis = 0; axis < 3; ++axis) {
            radians[axis] = static_cast<double>(angles[axis]) * std::numbers::pi / 180.0;
            param.CosUg[axis] = std::cos(radians[axis]);
        }
        param.SinAlpha = std::sin(radians[0]);
        param.SinBeta = std::sin(radians[1]);
        param.Cos_C =
            (param.CosUg[2] - param.CosUg[1] * param.CosUg[0]) / param.SinBeta / param.SinAlpha;
        param.k11 = std::sqrt(std::fabs(1.0 - param.Cos_C * param.Cos_C)) * param.SinBeta;
    }
    return true;
}

bool CalcParamTTO(tCompParam& comp) {
    return CalcParamTTO(comp.DC.Tr, comp.DC.Ug, comp.ParamTTO);
}

void FractToOrthD(DVector& vector, const TParamTTO& param) {
    const double u = vector[0];
    const double v = vector[1];
    const double w = vector[2];
    vector[0] = u * param.k11;
    vector[1] = u * param.SinBeta * param.Cos_C + v * param.SinAlpha;
    vector[2] = u * param.CosUg[1] + v * param.CosUg[0] + w;
}

void FractToOrth(SVector& vector, const TParamTTO& param) {
    DVector wide{vector[0], vector[1], vector[2]};
    FractToOrthD(wide, param);
    for (std::size_t axis = 0; axis < 3; ++axis)
        vector[axis] = static_cast<float>(wide[axis]);
}

void OrthToFract(DVector& vector, const TParamTTO& param) {
    const double x = vector[0];
    const double y = vector[1];
    const double z = vector[2];
    const double u = x / param.k11;
    const double v = (y - u * param.SinBeta * param.Cos_C) / param.SinAlpha;
    vector[0] = u;
    vector[1] = v;
    vector[2] = z - u * param.CosUg[1] - v * param.CosUg[0];
}

double SafeArcCos(double x) {
    if (x < -1.0)
        return std::numbers::pi;
    if (x > 1.0)
        return 0.0;
    return std::acos(x);
}

double AngleFromSides(double a, double b, double c) {
    return SafeArcCos((c * c + b * b - a * a) / (2.0 * c * b));
}

double VecLen(const DVector& v) {
    return std::sqrt(std::fabs(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
}

void UnitNormal(const DVector& u, const DVector& v, DVector& normal, double eps, int& flag) {
    normal = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    double length = VecLen(normal);
    if (length >= eps) {
        for (double& component : normal)
            component /= length;
    } else {
        flag = 1;
    }
}

} // namespace ormaline
