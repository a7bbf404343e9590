// The viewer's option record: every setting of a viewer window, its built-in defaults,
// the process-wide copy that carries settings from a closing window to the next new one,
// and the check of typed numbers that the option dialogs share.
#pragma once

#include "viewer/core/Colour.h"
#include "viewer/core/ElementTables.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ormaline {

struct TLatvistaOpt {
    std::int32_t NumModel;            // 0 wire, 1 cylinder, 2 sphere & wire, 3 sphere & cylinder
    bool Perspect;                    // perspective projection
    bool GrColor;                     // atoms coloured by element group
    bool Black_White;                 // black-and-white rendering
    bool SeeCell;                     // stored only
    bool Sublattice;                  // a change forces a rebuild that frees the old scene first
    bool ColBonds;                    // bonds coloured by their atoms
    bool ABC_Cell;                    // axes glyph shown
    bool Legend;                      // legend shown
    bool EqualRadii;                  // legend circles of equal size
    bool LegFrame;                    // framed legend
    bool Fog;                         // linear fog
    TColor WGBCol;                    // background colour
    TColor CylinderCol;               // cylinder colour when bonds are not coloured
    std::uint8_t L1, L2, L3;          // axis order: view components drawn as screen x, y and depth
    std::uint8_t LinAxis;             // axis of continuous rotation, 1..3
    std::uint8_t lin, LX, LZ;         // rotation axis and the two indices that turn
    float RotorStep;                  // degrees per rotation tick
    std::int32_t ZeroPos;             // viewing distance
    std::int32_t NearPos;             // ZeroPos - 3
    std::int32_t FarPos;              // ZeroPos + 3
    float Luminosity;                 // ambient light level 0..1
    std::int32_t TintData;            // stored only
    std::uint8_t ModelCryst;          // renderer: 0 OpenGL, 1 2D drawing
    std::uint8_t LVMode;              // stored only
    std::array<std::uint8_t, 3> TMax; // all zero: distance bonds continue across the cell faces
    TColor GPenColor;                 // pen colour: texts, lines in black and white
    std::int32_t CutMode;             // region tool: 1 rectangle, 2 circle, 3 sphere
    std::int32_t LegMode;             // legend mode 0..4
    std::int32_t AtomLabels;          // atom label kind 0..6
    std::uint8_t RadSyst;             // radius system 0 or 1
    std::uint8_t PartRad;             // drawn sphere radius = radius / PartRad
    bool IBracket;                    // brackets in labels
    bool ATransparent;                // framed labels of the 2D renderer
    bool CurrentAtom;                 // mark the atom under the mouse
    bool KeepForUndo;                 // undo recording
    std::int32_t AdjMatrix;           // bond source: 0 distances, 1 stored contacts, 2 none
    std::int32_t BondLabels;          // 0 none, 1 kind names, 2 length
    float dBond;                      // default cylinder radius in angstrom
    float ShiftStep;                  // keyboard translation step
    float AdjTol;                     // tolerance added to the radius sum for distance bonds
    std::uint16_t NumDefBond;         // bond kinds used by connectivity tools, export and labels
    std::uint16_t NumSeeBond;         // bond kinds drawn; bit 4 also shows the unit cell
    std::array<std::uint8_t, 6> ArrTickBonds; // line width per bond kind, 0 meaning 1
    std::int32_t TickLineCircle;              // pen width of legend circles in the 2D renderer
    std::uint8_t FaceStyle;                   // stored only
    bool DataToFile;                          // switched off by every scene build and dialog apply
    bool ShowVertex;       // auxiliary points count for the legend and whole-scene commands
    bool PolySubLat;       // stored only
    bool SelInsAt;         // stored only
    bool TranslucentFaces; // stored only
    std::array<float, 3> Light_Position;
    float Opacity;            // stored only
    TElementValues RadAt;     // current element radii by element number
    std::uint8_t nTr;         // stored only
    std::int32_t NAtoms;      // stored only
    bool AtomRadii;           // stored only
    std::int32_t MolGraphOpt; // stored only
    // Visible atoms from which a scene is drawn by the fast drawing for large scenes
    // (ray-cast impostors, points under two pixels); 0 never. "Fast Drawing From:".
    std::int32_t FastDrawAtoms;

    bool operator==(const TLatvistaOpt&) const = default;
};

// Sets every field to its built-in default; RadAt becomes the radius table of system 0.
void DefaultLatvistaOpt(TLatvistaOpt& options);
TLatvistaOpt DefaultLatvistaOptions();

// The process-wide copy: a new window copies it, a closing window writes its copy back.
// It starts at the defaults. Used only from the user-interface thread.
TLatvistaOpt& ViewerOptions();

// Result of checking a typed number of an option edit.
struct TNumericEditCheck {
    bool ok = false;
    float value = 0.0f;  // the accepted value (single precision) when ok
    std::string message; // the error text when not ok
};

// Checks the text of a numeric edit named `name`. A range applies when the bounds differ
// by more than 1e-6; a value outside [minimum, maximum] is then rejected. The message is
// "Error in " + name + ": " + text [+ " (range=" + min + "-" + max + ")"] + "." with the
// bounds written with 6 significant digits. On failure the dialog rewrites the edit with
// its old value and focuses it.
// With `integer` set, a number with a fraction is rejected the same way.
TNumericEditCheck CheckNumericEdit(std::string_view name, std::string_view text, double minimum,
                                   double maximum, bool integer = false);

// Bounds of the "Fast Drawing From:" edit (atoms): counts a single-precision value holds.
inline constexpr double MaxFastDrawAtoms = 10000000.0;

// What an applied options dialog changed, and so what the window must redo.
struct TOptionChanges {
    bool rebuild = false;    // Sublattice, TMax, AdjMatrix changed or the defaults were loaded
    bool sublattice = false; // Sublattice changed
    bool legend = false;     // LegMode or GrColor changed
    bool atomLabels = false; // AtomLabels changed
    bool bondLabels = false; // BondLabels changed
    bool model = false;      // NumModel changed
};
TOptionChanges CompareOptions(const TLatvistaOpt& before, const TLatvistaOpt& after,
                              bool defaultsLoaded);

// The "InPlane" edit: "min:max", or one number for both; an empty side keeps the minimum
// at 0 or the maximum at 2147483648; an empty text gives 0 and 0. Nothing when a part is
// not a number.
struct TPlaneBounds {
    float MinBPlane = 0.0f;
    float MaxBPlane = 0.0f;
};
std::optional<TPlaneBounds> ParseInPlane(std::string_view text);
// The two bounds with 2 decimals joined by ":", or empty when MaxBPlane < 1e-4.
std::string FormatInPlane(const TPlaneBounds& bounds);

// A "Thick" entry stepped up (after 9 comes 0) or down (0 becomes 9).
std::uint8_t StepThickDigit(std::uint8_t digit, bool up);

// A number in general format with `digits` significant digits ("180", "0.5", "3.40282E+38").
std::string FormatGeneral(double value, int digits = 6);

// Largest single-precision value, the open upper bound of several option edits.
inline constexpr double MaxSingle = 3.4028235e38;

} // namespace ormaline
