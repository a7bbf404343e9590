// The scene of a viewer window: displayed atoms (`tTopAt`) in one singly linked list,
// each with its own doubly linked list of displayed bonds (`tBoundAt`), and the
// selection records (`tInsAt`).
//
// SceneList layout (head `WPTAll`): first the auxiliary points (the 8 cell corners and
// copies of them, each new copy at the head), then from `WPTAtEnd` on the atoms (atoms
// added later by lattice translation are inserted at `WPTAtEnd` and become the new
// `WPTAtEnd`), and from `WPTAtEnd0` on the atoms present when the scene was completed.
//
// Coordinates are Cartesian in angstrom with the cell centre as origin once the scene
// is built. Bonds are stored once in each of the two atoms' lists, pointing to the
// other; an open bond (bit 2 of `c`) points to a node whose image shifted by `t` is the
// partner and is stored in one list only.
#pragma once

#include "model/OurData.h"
#include "viewer/core/Colour.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

namespace ormaline {

struct tBoundAt;
struct tInsAt;

// Fill styles of tints, in the order of the magic wand's list.
enum TBrushStyle : std::uint8_t {
    bsSolid = 0,
    bsClear = 1,
    bsHorizontal = 2,
    bsVertical = 3,
    bsFDiagonal = 4,
    bsBDiagonal = 5,
    bsCross = 6,
    bsDiagCross = 7,
};

// Bits of tTopAt.c.
inline constexpr std::uint8_t kNodePainted = 1;    // already painted in this frame
inline constexpr std::uint8_t kNodeVisible = 2;    // takes part in drawing, picking, export
inline constexpr std::uint8_t kNodeAuxiliary = 16; // never drawn as an atom, not selectable
inline constexpr std::uint8_t kNodeHidden32 = 32;  // hidden by the editing commands
inline constexpr std::uint8_t kNodeHidden64 = 64;
inline constexpr std::uint8_t kCellCornerState = kNodeAuxiliary | kNodeVisible; // 18

// Bits of tBoundAt.c.
inline constexpr std::uint8_t kBondShown = 1;
inline constexpr std::uint8_t kBondOpen = 2;
inline constexpr std::uint8_t kBondLabelKinds = 4;
inline constexpr std::uint8_t kBondLabelLength = 8;

// Bond kind bits of tBoundAt.cb.
inline constexpr std::uint8_t cbValence = 1;        // "Val"; also every distance bond
inline constexpr std::uint8_t cbSpecific = 2;       // "Sp"
inline constexpr std::uint8_t cbCellEdge = 4;       // "CE"
inline constexpr std::uint8_t cbPolyhedronEdge = 8; // "PE"
inline constexpr std::uint8_t cbVanDerWaals = 16;   // "vdW"
inline constexpr std::uint8_t cbHydrogen = 32;      // "Hb"
inline constexpr std::uint8_t cbAxisA = 64;         // axis marks on the cell edges at the origin
inline constexpr std::uint8_t cbAxisB = 128;
inline constexpr std::uint8_t cbAxisC = 192;
inline constexpr std::uint8_t cbAxisMask = 192;

// One displayed atom or auxiliary point.
struct tTopAt {
    std::uint8_t c = 0;       // state bits (kNode*)
    std::int32_t nm = 0;      // drawing model 0..3
    bool LabelExist = false;  // a text label is drawn
    std::int32_t PosName = 0; // label offset in pixels: low 16 bits dx, high 16 bits dy
    bool PolyVert = false;    // auxiliary point (cell corner), in front of WPTAtEnd
    bool mark = false;        // scratch mark of the interaction tools
    std::int32_t LegInd = 0;  // legend row identity
    TColor lAColor = clNone;  // tint of the magic wand; -1 none
    TBrushStyle FillStyle = bsSolid;
    SVector k{};                           // position (Cartesian, angstrom, once built)
    ShIVector t{};                         // lattice translation of this copy of the compound atom
    float rad = 0.0f;                      // atom radius of the current radius system
    float param = 0.0f;                    // numeric parameter of legend mode 4; 0 none
    float rk = 0.0f;                       // projected radius
    float ik = 0.0f, jk = 0.0f, hk = 0.0f; // projected x, y and depth (model units)
    double rrs = 1.0;                      // scratch of the interaction tools
    tSteckAt* pSAt = nullptr;              // the compound atom shown (the cell atom for corners)
    tBoundAt* p = nullptr;                 // first bond
    tBoundAt* oldp = nullptr;              // bond list as completed, restored by a rebuild
    tInsAt* PIAt = nullptr;                // selection record when selected
    tTopAt* li = nullptr;                  // next node
};

// One displayed bond in a node's list.
struct tBoundAt {
    tBoundAt* li = nullptr;  // next bond of the same atom
    tBoundAt* li_ = nullptr; // previous bond of the same atom
    std::uint8_t c = 0;      // kBond* bits
    std::uint8_t cb = 0;     // kind bits cb*
    ShIVector t{};           // lattice translation of the partner (0 for closed bonds)
    tTopAt* p = nullptr;     // partner node
    float r = 0.0f;          // length in angstrom
    float diam = -1.0f;      // drawing thickness; -1 default
    TColor lBColor = clNone; // bond colour; -1 the atoms' colours
    bool sel = false;        // part of the selection
};

// Selection record, newest first from `WInsAt`.
struct tInsAt {
    tTopAt* PTA = nullptr;
    std::uint16_t col = 0; // selection colour 1..3
    std::uint16_t oldcol = 0;
    tInsAt* phi = nullptr; // newer record
    tInsAt* plo = nullptr; // older record
    std::int32_t CIA = 0;
};

// The corner (1,1,1) and its neighbours along a, b and c: (0,1,1), (1,0,1), (1,1,0).
using TCellArr = std::array<tTopAt*, 4>;

// A rectangle in client pixels; Right and Bottom lie outside it.
struct TRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect&) const = default;
};

// One row of the legend: a kind of displayed atom with its circle and text.
struct TRecLeg {
    std::int16_t n = -1;                // element code; -1 for parameter and "None" rows
    std::int32_t i = -1;                // atom index (legend mode 2), else -1
    float rad = 0.5f;                   // radius of the circle (angstrom)
    float KTint = 0.5f;                 // grey level of a parameter row; rad for element rows
    std::int8_t DegOx = -16;            // oxidation state (legend mode 3), else -16 = none
    TColor LegColor = 0;                // not set by the legend itself
    TBrushStyle LegFillStyle = bsSolid; // hatch over the circle (set by the magic wand)
    std::int32_t ind = 0;               // identity, referenced by tTopAt.LegInd
    std::int32_t t_ind = -1;            // parameter bucket; always -1
    std::string st;                     // the row's text
};

// Row identities 0..127 of the legend rows a frame shows (from its visible nodes).
using TLegendSet = std::bitset<128>;

// Node constructors and disposers. A node owns its two bond lists.
tTopAt* NewTopAt();
tBoundAt* NewBoundAt();
tInsAt* NewInsAt();
void DisposeBondList(tBoundAt*& head);
void DisposeTopAt(tTopAt*& node);
void DisposeInsAt(tInsAt*& record);

// A copy of a bond list (same partners, translations and states), doubly linked.
tBoundAt* CopyBondList(const tBoundAt* head);
// Appends a bond at the end of a node's list.
void AppendBond(tTopAt& node, tBoundAt* bond);
// Unlinks a bond from a node's list without freeing it.
void UnlinkBond(tTopAt& node, tBoundAt* bond);
int BondCount(const tTopAt& node);

} // namespace ormaline
