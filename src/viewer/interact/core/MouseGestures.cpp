#include "viewer/interact/core/MouseGestures.h"

#include "model/NumberFormat.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/interact/core/AtomDescription.h"
#include "viewer/interact/core/Calculations.h"
#include "viewer/interact/core/InteractShared.h"
#include "viewer/interact/core/MousePick.h"
#include "viewer/interact/core/SelectionTools.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace ormaline {
namespace {

constexpr int kModeEdit = 0;
constexpr int kModeSelect = 1;
constexpr int kModeRotate = 2;
constexpr int kModeScale = 3;
constexpr int kModeTranslate = 4;
constexpr int kModeZRotate = 5;
constexpr int kModeWand = 6;
constexpr int kDragThreshold = 20;

bool ViewMode(int mode) {
    return mode >= kModeRotate && mode <= kModeZRotate;
}

std::size_t Ix(int oneBased) {
    return static_cast<std::size_t>(std::clamp(oneBased, 1, 3) - 1);
}

// Rotates the view by `angle` about axis `lin`, turning LX and LZ, when the angle is at
// least the threshold.
void SetRotationAxes(TLatvistaOpt& o, std::uint8_t lin, std::uint8_t lx, std::uint8_t lz) {
    o.lin = lin;
    o.LX = lx;
    o.LZ = lz;
}

void Turn(TLVScene& scene, double angle, std::uint8_t lin, std::uint8_t lx, std::uint8_t lz) {
    SetRotationAxes(scene.WLVO, lin, lx, lz);
    scene.alfa = angle;
    if (std::fabs(scene.alfa) > kMouseRotationThreshold)
        RotorCoord(scene, scene.alfa);
    scene.alfa = 0.0;
}

// A new factor of a size that a drag scales, kept only inside its bounds; a factor that
// is not a finite positive number (a move of half the window diagonal in one step)
// would leave nothing to draw.
bool Acceptable(double value) {
    return std::isfinite(value) && value > 0;
}

TXorShape Rectangle(const TRect& rect) {
    TXorShape shape;
    shape.rect = rect;
    return shape;
}

TXorShape RubberCircle(const TLVScene& scene, int radius) {
    TXorShape shape;
    shape.kind = TXorShape::TKind::Circle;
    shape.x = scene.SStartX;
    shape.y = scene.SStartY;
    shape.radius = radius;
    return shape;
}

void ScaleDrag(TLVScene& scene, int shift, double s, double R) {
    const TLatvistaOpt& o = scene.WLVO;
    if ((shift & ssCtrl) != 0 && o.ABC_Cell) {
        const double a = scene.XYZMas / (s / R + 1);
        if (a > 1 && Acceptable(a))
            scene.XYZMas = a;
    } else if ((shift & ssAlt) != 0 && o.Legend) {
        double& size = o.EqualRadii ? scene.PrevMas : scene.CoefMas;
        const double a = size / (s / R + 1);
        if (a < (o.EqualRadii ? 50.0 : 5.0) && Acceptable(a))
            size = a;
    } else {
        UpdateScaleCoeff(scene, true);
        const double a = scene.mas / (1 - s / R);
        if (a > 0.5 && Acceptable(a))
            scene.mas = a;
    }
}

// True when the drag moved labels (a change of what is drawn) rather than the view.
bool TranslateDrag(TLVScene& scene, const TMouseEnv& env, int shift, int dx, int dy) {
    const TLatvistaOpt& o = scene.WLVO;
    if ((shift & ssCtrl) != 0 && o.ABC_Cell) {
        scene.Gi0 += dx;
        scene.Gj0 -= dy;
    } else if ((shift & ssAlt) != 0 && o.Legend) {
        scene.LegI0 += dx;
        scene.LegJ0 -= dy;
    } else if ((shift & ssShift) != 0 && o.AtomLabels > 0) {
        const auto moved = [dx, dy](std::int32_t offset) {
            return PackPosName(PosNameDx(offset) + dx, PosNameDy(offset) - dy);
        };
        if (scene.WInsAt != nullptr) {
            // The selected labels are moved by this step only: they keep their own offsets,
            // to which the labelling adds the pending offset lWPosName.
            const std::int32_t total = moved(scene.lWPosName);
            scene.lWPosName = PackPosName(dx, -dy);
            NewDataPTAt(scene, 11);
            scene.lWPosName = total;
        } else {
            scene.WPosName = moved(scene.WPosName);
            NewDataPTAt(scene, 11);
        }
        return true;
    } else if (env.clientWidth > 0 && env.clientHeight > 0) {
        scene.gl_[Ix(o.L1)] = static_cast<float>(
            scene.gl_[Ix(o.L1)] + 2.0 * dx / env.clientWidth * scene.gl_MaxI * scene.mas);
        scene.gl_[Ix(o.L2)] = static_cast<float>(
            scene.gl_[Ix(o.L2)] + 2.0 * dy / env.clientHeight * scene.gl_MaxJ * scene.mas);
    }
    return false;
}

void RubberBand(TLVScene& scene, int X, int Y, TMouseResult& result) {
    TInteractShared& shared = InteractShared();
    if (scene.WLVO.CutMode == 1) {
        if (shared.RubberActive)
            result.xorShapes.push_back(Rectangle(shared.RubberRect));
        shared.RubberRect = {std::min(scene.GStartX, X), std::min(scene.GStartY, Y),
                             std::max(scene.GStartX, X), std::max(scene.GStartY, Y)};
        result.xorShapes.push_back(Rectangle(shared.RubberRect));
        shared.RubberActive = true;
        return;
    }
    const double x = (scene.SStartX - X) / scene.CoeffDX, y = (scene.SStartY - Y) / scene.CoeffDX;
    const double r = std::sqrt(x * x + y * y);
    const int rp = PixelRound(r * scene.CoeffDX);
    if (shared.RubberRadius > 0)
        result.xorShapes.push_back(RubberCircle(scene, shared.RubberRadiusPx));
    result.xorShapes.push_back(RubberCircle(scene, rp));
    result.status1 = "Radius = " + FormatFixed(r, 5, 3);
    shared.RubberRadius = static_cast<float>(r);
    shared.RubberRadiusPx = rp;
}

// Selects with `colour` every visible node inside the rubber band (in view coordinates).
void SelectInBand(TLVScene& scene, int colour) {
    const TInteractShared& shared = InteractShared();
    const TLatvistaOpt& o = scene.WLVO;
    const std::size_t l1 = Ix(o.L1), l2 = Ix(o.L2);
    const auto viewX = [&](int px) { return (px - scene.i0) / scene.CoeffDX - scene.gl_[l1]; };
    const auto viewY = [&](int py) { return (scene.j0 - py) / scene.CoeffDX - scene.gl_[l2]; };
    const TRect& rect = shared.RubberRect;
    const double x1 = std::min(viewX(rect.Left), viewX(rect.Right));
    const double x2 = std::max(viewX(rect.Left), viewX(rect.Right));
    const double y1 = std::min(viewY(rect.Top), viewY(rect.Bottom));
    const double y2 = std::max(viewY(rect.Top), viewY(rect.Bottom));
    const double xc = viewX(scene.SStartX), yc = viewY(scene.SStartY);
    const double r2 = static_cast<double>(shared.RubberRadius) * shared.RubberRadius;
    const auto inside = [&](const DVector& v) {
        if (shared.RubberActive)
            return x1 < v[l1] && v[l1] < x2 && y1 < v[l2] && v[l2] < y2;
        if (o.CutMode == 3) {
            double d2 = 0;
            for (std::size_t axis = 0; axis < 3; ++axis)
                d2 += (v[axis] - scene.VCentre[axis]) * (v[axis] - scene.VCentre[axis]);
            return d2 < r2;
        }
        return (v[l1] - xc) * (v[l1] - xc) + (v[l2] - yc) * (v[l2] - yc) < r2;
    };
    for (tTopAt* node = o.ShowVertex ? scene.WPTAll : scene.WPTAtEnd; node != nullptr;
         node = node->li) {
        if ((node->c & kNodeVisible) == 0 || !inside(RotorCoordAt(scene, node->k)))
            continue;
        scene.PTMAt = node;
        SpecAt(scene, colour);
    }
}

// A click on a legend row in the select and edit modes: the wand's command on every
// visible atom of the row.
void LegendRowCommand(TLVScene& scene, const TMouseEnv& env, int row, int command, int colour) {
    scene.PTCurrAt = FirstNodeOfRow(scene, row);
    TViewColours none;
    MagicWandClick(scene, env.colours != nullptr ? *env.colours : none, kWandOneColour, command,
                   colour, scene.ArrLeg[static_cast<std::size_t>(row)].LegFillStyle, 0, 0, row);
}

int LegendRowAt(const TLVScene& scene, const TMouseEnv& env, int X, int Y) {
    return env.metrics != nullptr ? LegClick(scene, *env.metrics, X, Y) : -1;
}

} // namespace

void ChoiceMouseMode(TLVScene& scene, int tag) {
    KeepState(scene, 22, "Mouse mode");
    scene.MouseMove = false;
    scene.MouseMode = tag - 1;
}

bool CheckDoubleClick(std::uint32_t& dwTickCount, std::uint32_t now) {
    if (dwTickCount == 0) {
        dwTickCount = now;
        return false;
    }
    const bool fast = now - dwTickCount < kDoubleClickMs;
    dwTickCount = 0;
    return fast;
}

int SelectionColour(TMouseButton button, int shift) {
    if (button == TMouseButton::Middle)
        return 0;
    const int colour = (shift & ssCtrl) != 0 ? 2 : (shift & ssShift) != 0 ? 3 : 1;
    return button == TMouseButton::Right ? -colour : colour;
}

TMouseResult FormMouseDown(TLVScene& scene, const TMouseEnv& env, TMouseButton button, int shift,
                           int X, int Y) {
    (void)shift;
    TMouseResult result;
    if (!env.active || !scene.HasScene())
        return result;
    scene.WinResize = false;
    const TLatvistaOpt& o = scene.WLVO;
    if (button == TMouseButton::Left) {
        scene.StartX = scene.GStartX = scene.SStartX = X;
        scene.StartY = scene.GStartY = scene.SStartY = Y;
        if (o.CutMode == 3) {
            scene.VCentre = DetCentreN(scene, 2 | 8);
            const std::size_t l1 = Ix(o.L1), l2 = Ix(o.L2);
            scene.SStartX =
                PixelRound((scene.VCentre[l1] + scene.gl_[l1]) * scene.CoeffDX) + scene.i0;
            scene.SStartY =
                scene.j0 - PixelRound((scene.VCentre[l2] + scene.gl_[l2]) * scene.CoeffDX);
        }
    }
    const int mode = scene.MouseMode;
    if ((mode == kModeEdit || mode == kModeSelect || mode == kModeWand) &&
        (scene.PTMAt == nullptr || scene.rx_ < 0))
        MouseAtom(scene, env, button, X, Y, result);
    if (ViewMode(mode)) {
        // One undo step for the whole drag.
        KeepState(scene, 1, "Rotation");
        scene.NoUndo = false;
    }
    if (mode != kModeWand)
        return result;
    if (button == TMouseButton::Left) {
        int row = -1;
        if (scene.PTMAt == nullptr) {
            row = LegendRowAt(scene, env, X, Y);
            if (row < 0)
                return result;
        }
        result.magicWand = true;
        result.wandNode = scene.PTMAt;
        result.wandRow = row;
    } else if (button == TMouseButton::Right && scene.PTMAt != nullptr) {
        if (scene.PTMAt->p == nullptr)
            result.information = "Atom " + AtomCaption(*scene.PTMAt) + " is not bonded";
        else
            result.neighbourTable = scene.PTMAt;
    }
    result.repaint = true;
    return result;
}

TMouseResult FormMouseMove(TLVScene& scene, const TMouseEnv& env, int shift, int X, int Y) {
    TMouseResult result;
    if (scene.WinResize || !env.active || !scene.HasScene())
        return result;
    scene.XMouse = X;
    scene.YMouse = Y;
    TInteractShared& shared = InteractShared();
    if ((shift & ssLeft) == 0) {
        shared.RubberActive = false;
        shared.RubberRadius = -1.0f;
        return result;
    }
    if (std::abs(X - scene.GStartX) > kDragThreshold ||
        std::abs(Y - scene.GStartY) > kDragThreshold)
        scene.MouseMove = true;
    if (X == scene.StartX && Y == scene.StartY)
        return result;
    const int dx = X - scene.StartX, dy = scene.StartY - Y;
    const double R = static_cast<double>(scene.oldi0) * scene.oldi0 +
                     static_cast<double>(scene.oldj0) * scene.oldj0;
    const double s =
        2.0 * (static_cast<double>(scene.oldi0) * dx + static_cast<double>(scene.oldj0) * dy);
    const TLatvistaOpt& o = scene.WLVO;
    bool labelsMoved = false;
    switch (scene.MouseMode) {
    case kModeRotate:
        Turn(scene, 2.0 * dy / scene.oldj0, o.L1, o.L3, o.L2);
        Turn(scene, 2.0 * dx / scene.oldi0, o.L2, o.L3, o.L1);
        break;
    case kModeZRotate:
        Turn(scene, -2.0 * dx / scene.oldj0, o.L3, o.L1, o.L2);
        break;
    case kModeScale:
        ScaleDrag(scene, shift, s, R);
        break;
    case kModeTranslate:
        labelsMoved = TranslateDrag(scene, env, shift, dx, dy);
        break;
    case kModeEdit:
    case kModeSelect:
        if (!o.Perspect && scene.MouseMove && o.CutMode >= 1 && o.CutMode <= 3)
            RubberBand(scene, X, Y, result);
        break;
    default:
        break;
    }
    scene.StartX = X;
    scene.StartY = Y;
    if (ViewMode(scene.MouseMode)) {
        result.repaint = true;
        result.viewOnly = !labelsMoved;
    }
    return result;
}

TMouseResult FormMouseUp(TLVScene& scene, const TMouseEnv& env, TMouseButton button, int shift,
                         int X, int Y) {
    TMouseResult result;
    if (scene.WinResize) {
        scene.WinResize = false;
        return result;
    }
    if (!env.active || !scene.HasScene())
        return result;
    TInteractShared& shared = InteractShared();
    const int mode = scene.MouseMode;
    if (ViewMode(mode))
        scene.NoUndo = true;
    if (scene.MouseMove) {
        if (shared.RubberRadius > 0)
            result.xorShapes.push_back(RubberCircle(scene, shared.RubberRadiusPx));
        if (shared.RubberActive)
            result.xorShapes.push_back(Rectangle(shared.RubberRect));
    }
    if (mode == kModeSelect) {
        const int colour = SelectionColour(button, shift);
        if (scene.MouseMove) {
            scene.MouseMove = false;
            if (shared.RubberActive || shared.RubberRadius > 0) {
                KeepState(scene, 3, "Select region");
                SelectInBand(scene, colour);
            }
        } else if (scene.PTMAt != nullptr) {
            KeepState(scene, 3, "Select atom");
            SpecAt(scene, colour);
        } else if (const int row = LegendRowAt(scene, env, X, Y); row < 0) {
            InsAllAtom(scene, colour);
        } else {
            LegendRowCommand(scene, env, row, colour == 0 ? kWandUnselect : kWandSelect, colour);
        }
        if (std::optional<std::string> line = Dimension(scene))
            result.status1 = *line;
        result.repaint = true;
    } else if (mode == kModeEdit && !scene.MouseMove) {
        shared.StatusText.clear();
        if (button == TMouseButton::Right) {
            if (scene.PTMAt != nullptr) {
                scene.PTMAt->c =
                    static_cast<std::uint8_t>((scene.PTMAt->c & ~kNodeVisible) | kNodeHidden32);
                scene.PTMAt = nullptr;
            } else if (const int row = LegendRowAt(scene, env, X, Y); row < 0) {
                InsAllAtom(scene, 0);
            } else {
                LegendRowCommand(scene, env, row, kWandDelete, 1);
            }
            result.repaint = true;
        }
    }
    shared.RubberRadius = -1.0f;
    shared.RubberActive = false;
    scene.MouseMove = false;
    return result;
}

TMouseResult FormKeyDown(TLVScene& scene, const TMouseEnv& env, int key, int shift) {
    (void)env;
    TMouseResult result;
    if (!scene.HasScene())
        return result;
    const TLatvistaOpt& o = scene.WLVO;
    const bool ctrl = (shift & ssCtrl) != 0;
    const double b = ctrl ? 0.02 : 0.1;
    switch (key) {
    case VK_END: {
        KeepState(scene, 5, "Scale");
        // The scale stays above 0.5, as a drag keeps it.
        const double next = scene.mas - scene.mas * b;
        if (scene.mas > 0.5 && next > 0.5)
            scene.mas = next;
        break;
    }
    case VK_HOME:
        KeepState(scene, 5, "Scale");
        scene.mas += scene.mas * b;
        break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        const bool pageKey = key == VK_PRIOR || key == VK_NEXT;
        const bool horizontal = key == VK_LEFT || key == VK_RIGHT;
        if ((shift & ssAlt) != 0) {
            double step = ctrl ? o.ShiftStep / 5.0 : o.ShiftStep;
            if (key == VK_PRIOR || key == VK_LEFT || key == VK_DOWN)
                step = -step;
            const std::size_t axis = Ix(pageKey ? o.L3 : horizontal ? o.L1 : o.L2);
            scene.gl_[axis] = static_cast<float>(scene.gl_[axis] + step);
        } else {
            double angle = o.RotorStep * std::numbers::pi / 180.0;
            if (ctrl)
                angle /= 5.0;
            if (key == VK_PRIOR || key == VK_LEFT || key == VK_UP)
                angle = -angle;
            if (pageKey)
                SetRotationAxes(scene.WLVO, o.L3, o.L1, o.L2);
            else if (horizontal)
                SetRotationAxes(scene.WLVO, o.L2, o.L3, o.L1);
            else
                SetRotationAxes(scene.WLVO, o.L1, o.L2, o.L3);
            scene.alfa = angle;
            RotorCoord(scene, scene.alfa);
            scene.alfa = 0.0;
        }
        break;
    }
    default:
        return result;
    }
    UpdateScaleCoeff(scene, false);
    result.repaint = true;
    result.viewOnly = true; // a zoom, shift or rotation
    return result;
}

TMouseResult FormKeyUp(TLVScene& scene, const TMouseEnv& env, int key, int shift) {
    (void)shift;
    TMouseResult result;
    if (!scene.HasScene())
        return result;
    switch (key) {
    case VK_ESCAPE:
        result.stopRotation = env.rotationOn;
        break;
    case VK_SPACE:
        FitSpace(scene, env.clientWidth, env.clientHeight);
        break;
    case VK_GRAVE:
        ToggleOption(scene, 11, "Group color", &TLatvistaOpt::GrColor);
        if (env.colours != nullptr)
            env.colours->ColorGr = GroupColorTable;
        ReadLegInd(scene, true);
        break;
    default:
        return result;
    }
    UpdateScaleCoeff(scene, true);
    result.repaint = true;
    return result;
}

} // namespace ormaline
