// The part of a viewer window that has no widgets: its compound, options copy, scene,
// selection and view state. The window owns one `TLVScene`; the scene build, the view
// transforms and the interaction tools work on it.
#pragma once

#include "model/OurData.h"
#include "viewer/core/LatvistaOpt.h"
#include "viewer/core/PickIndex.h"
#include "viewer/core/SceneRecords.h"
#include "viewer/core/SceneUndo.h"
#include "viewer/core/UndoHistory.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ormaline {

// 3 x 3 rotation matrix; rows and columns 0..2 stand for the indices 1..3.
using TMatrix3 = std::array<std::array<double, 3>, 3>;

struct TLVScene {
    TLVScene();
    ~TLVScene();
    TLVScene(const TLVScene&) = delete;
    TLVScene& operator=(const TLVScene&) = delete;

    // Compound
    tCompParam CompParamMaler;
    std::int64_t MalerCompPos = -1; // -1: not taken from a base file
    std::uint8_t LVNumProg = 0;     // number of the calling program
    bool ShowMoleculeOnly = false;  // a single molecule: no lattice copies of its atoms

    // Options of this window
    TLatvistaOpt WLVO;

    // Scene
    tTopAt* WPTAll = nullptr;     // head of the SceneList
    tTopAt* WPTAtEnd = nullptr;   // first atom node
    tTopAt* WPTAtEnd0 = nullptr;  // first atom node present at completion
    tTopAt* WPTCell = nullptr;    // first cell corner
    tSteckAt* WPTopEnd = nullptr; // the cell atom (element 0, index 1, S = 1.0)
    std::int32_t WCountAt = 0;    // nodes in the list
    std::int32_t OldWCountAt = 0; // nodes at completion
    std::int32_t NumAllTop = 0;   // largest element code above 110, minus 110
    std::vector<tTopAt*> ArrAt;   // every node, for painting in depth order (StackToArr)
    TCellArr WVecCell{};
    tTopAt* PTMAt = nullptr; // current node
    tTopAt* PTCurrAt = nullptr;

    // Selection
    tInsAt* WInsAt = nullptr;   // newest selection record
    std::uint32_t NumInsAt = 0; // low half: colours 1 and 3, high half: colours 2 and 3
    std::int32_t CountInsAt = 0;

    // The last plane fitted by the calculations: zx . x + zx4 = 0 in model coordinates,
    // with its root-mean-square and largest deviations (angstrom).
    double Sigma = 0.0;
    double MaxDistLoc = 0.0;
    DVector zx{};
    double zx4 = 0.0;

    // View
    TMatrix3 WMatrRotor{};            // R of v = R k + D
    SVector WDeltaCoord{};            // D
    DVector WDeltaVec{0.5, 0.5, 0.5}; // fractional position of the model origin
    double mas = 0.0;                 // model units per GL unit
    double mas_l = 0.0;               // half the smaller client dimension in pixels
    double OldMas = 0.0;              // last fitted scale
    double PrevMas = 0.0;
    double XYZMas = 0.0; // mas_l / GLXYZMas
    double CoefMas = 1.0;
    double GLXYZMas = 0.0; // 4 mas
    double GLLegMas = 0.0;
    double CoeffDX = 0.0; // pixels per angstrom, mas_l / mas
    double alfa = 0.0;    // pending rotation angle in radians
    DVector VCentre{};
    DVector DVMin{};
    DVector DVMax{};
    int i0 = 0, j0 = 0;                    // half client width and height
    int ClientWidth = 0, ClientHeight = 0; // client size of the last NewScale
    int oldi0 = 0, oldj0 = 0;
    int Gi0 = 0, Gj0 = 0;                // axes glyph
    int LegI0 = 0, LegJ0 = 0;            // legend
    SVector gl_{};                       // view offset, reset to zero
    double gl_MaxI = 1.0, gl_MaxJ = 1.0; // half extents of the view volume

    // Legend (rows made by ReadLegInd) and its parameter scale, reset by every build
    std::vector<TRecLeg> ArrLeg;
    std::int32_t CArrLeg = 0;
    TRect LegRect{};          // the legend as last drawn
    TLegendSet LegendShown{}; // row identities the last frame showed
    float ParamStep = 0.0f, ParamRank = 0.0f, GParamMin = 0.0f, GParamMax = 0.0f;

    // Labels
    std::int32_t WPosName = 0;
    std::int32_t lWPosName = 0;

    // Undo: recording is allowed while NoUndo is set (it is cleared during a build).
    // The scene records into its own history unless another recorder is put in its place.
    bool NoUndo = true;
    TUndoHistory UndoHistory{*this};
    TSceneUndo* Undo = &UndoHistory;

    // Mouse tools. Positions are client pixels.
    std::int32_t MouseMode = 1; // the pressed mode button's Tag - 1
    bool MouseMove = false;     // the gesture left the 20-pixel square of its press
    bool WinResize = false;     // a frame resize happened; the next mouse-up only clears it
    std::int32_t StartX = 0, StartY = 0;   // last position of the current drag
    std::int32_t GStartX = 0, GStartY = 0; // press position
    std::int32_t SStartX = 0, SStartY = 0; // centre of the rubber-band circle or sphere
    std::int32_t XMouse = 0, YMouse = 0;   // latest mouse position
    std::int32_t rx_ = -1, i_ = 0, j_ = 0; // hover circle: radius (below 0: none) and centre
    bool WCurrentAtom = true;              // the window's tick marks the atom under the mouse
    std::int32_t MWType = 0, MWComand = 0; // last choices of the magic-wand dialog
    std::uint32_t dwTickCount = 0;         // tick of the last tool-button mouse-up, 0 none
    bool IsFirstClick = false;

    // Projected positions and the node list change together with these counters: GetIntK
    // counts projections, StackToArr and FreeScene count changes of the node list. The
    // pick index is valid while both are what it was built with.
    std::uint64_t ProjectionStamp = 0;
    std::uint64_t NodeListStamp = 0;
    TPickIndex PickIndex;
    // Counts changes of what a frame draws other than the view: edits, undo, selection,
    // tints, labels, radii, models. The window counts one with every repaint it asks for
    // but those of the view commands (rotation, shift, zoom, fits), so that the fast
    // drawing of a large scene keeps its spheres and cylinders while this count, the node
    // list and the options hold. Whatever changes the scene outside the window's commands
    // counts it itself.
    std::uint64_t ContentStamp = 0;

    bool HasScene() const { return WPTAll != nullptr; }
    // Frees the SceneList, the cell atom list, the selection, ArrAt and the undo history.
    void FreeScene();
    // Frees the selection records only.
    void FreeSelection();
};

// Counts the nodes of a list from `head`.
int CountNodes(const tTopAt* head);

// Records an undo state (code and remark) when single-step recording is allowed.
inline void KeepState(TLVScene& scene, int code, std::string_view remark) {
    if (scene.NoUndo)
        scene.Undo->KeepState(code, remark);
}

} // namespace ormaline
