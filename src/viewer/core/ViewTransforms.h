// View transforms: the rotation R and translation D that take a model point k
// (angstrom, cell centre at the origin) to the view point v = R k + D, the axis order
// that maps view components to screen x, y and depth, the scale that fits the structure
// to the window, and the projection the renderers set up.
//
// Axis indices (L1, L2, L3, lin, LX, LZ in the options) are 1..3. Angles are in radians
// unless a name says degrees.
#pragma once

#include "viewer/core/LVScene.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ormaline {

// Smallest pending rotation that is applied (0.1 degree).
inline constexpr double kMinRotation = 0.0017443601630;

DVector RotorCoordAt(const TLVScene& scene, const SVector& k);
DVector RotorCoordAt(const TLVScene& scene, const DVector& k);
// k = R^T (v - D) / det R; when |det R| <= 1e-7 the point is returned unchanged.
DVector RotorCoordAt_1(const TLVScene& scene, const DVector& v);

// Rotates the view by `angle` about the axis `lin` (the rotation acts on the picture).
void RotorCoord(TLVScene& scene, double angle);
// R := identity, D := 0; the undo history is cleared.
void NewRotorCryst(TLVScene& scene);
// Axis choice by number: 1 about screen x, 2 about screen y, 3 about the viewing axis.
void ChooseRotationAxis(TLatvistaOpt& options, int axis);
// The rotation left in `alfa` applied when it is at least kMinRotation; alfa := 0.
void ApplyPendingRotation(TLVScene& scene);
// Rotate dialog: a rotation by `degrees` about the axis of item 0..2 ("X", "Y", "Z").
void RotateByDialog(TLVScene& scene, float degrees, int item);
// One tick of continuous rotation: axis LinAxis, alfa := RotorStep degrees.
void ContinuousRotationTick(TLVScene& scene);

// Window geometry for a client area of width x height pixels.
void NewScale(TLVScene& scene, int width, int height, bool refit);
void InitPositions(TLVScene& scene);
// Projected positions of every node (ik, jk, hk, rk); counts a new projection.
void GetIntK(TLVScene& scene);
// A pixel coordinate: rounded to nearest with ties to even; values too large for a
// screen (or not numbers) become far off-screen coordinates.
int PixelRound(double value);
// Screen pixel of a projected node.
std::array<double, 2> ScreenPixel(const TLVScene& scene, const tTopAt& node);
// Centre in view coordinates of the selected nodes whose colour c has bit c set in `mask`
// (10: colours 1 and 3, 12: colours 2 and 3), (0, 0, 0) when none qualifies; without a
// selection, of the visible nodes (from WPTAll while the cell is shown, else WPTAtEnd).
inline constexpr int kAllSelectionColours = 2 | 4 | 8;
DVector DetCentreN(const TLVScene& scene, int mask);
// D moves the centre of the selection (or of the visible nodes) to the view origin.
void CurrCentre(TLVScene& scene);
// The fitted scale (sets OldMas, CoefMas, GLLegMas).
double MaxOrthDist(TLVScene& scene);

// What FormResize hands to OpenGL: the viewport, the projection box (a frustum when
// perspective is on, else orthographic) and the model-view translation along z.
struct TProjection {
    int viewportWidth = 0, viewportHeight = 0;
    bool perspective = false;
    double left = 0, right = 0, bottom = 0, top = 0, nearZ = 0, farZ = 0;
    double translateZ = 0;
};
TProjection FormResize(TLVScene& scene, int width, int height);

// The fit commands' arithmetic (without the repaint).
TProjection FitScale(TLVScene& scene, int width, int height);
void FitCenter(TLVScene& scene);
void FitSpace(TLVScene& scene, int width, int height);
// A typed scale becomes mas; the derived values follow (nothing more when it is 0).
void SetTypedScale(TLVScene& scene, float scale);
// CoeffDX := mas_l / mas, with `withAxes` also the axes glyph's GLXYZMas and XYZMas;
// nothing when mas is 0.
void UpdateScaleCoeff(TLVScene& scene, bool withAxes);
// Pixels per angstrom, mas_l / mas (set before every paint).
void UpdateCoeffDX(TLVScene& scene);

// Before a paint: false when there is nothing to draw (no scene, |mas| or |XYZMas| below
// 1e-7); otherwise the pending rotation is applied, the projected positions refreshed and
// CoeffDX set. After the paint (EndPaint): alfa := 0 and PTMAt := none.
bool BeginPaint(TLVScene& scene);
void EndPaint(TLVScene& scene);

// Turns the view to look along `vector` (view coordinates) and fits the space.
void SetNormal(TLVScene& scene, DVector vector, int width, int height);
// "h,k,l": digits, "-" and "," only, exactly three integers; nothing otherwise.
std::optional<std::array<int, 3>> ParseHkl(std::string_view text);
// The lattice direction h a + k b + l c in model coordinates.
DVector HklVector(const TLVScene& scene, const std::array<int, 3>& hkl);
// Views along the direction of a typed "h,k,l"; false when the text is rejected
// (the window then shows "Error in hkl!").
bool Set_hkl(TLVScene& scene, std::string_view text, int width, int height);

// A model point as fractional coordinates: three numbers with 5 decimals, each after a blank.
std::string StrVector(const TLVScene& scene, const DVector& point);

} // namespace ormaline
