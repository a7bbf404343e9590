// Structure records: the compound with its atom and adjacency lists, the element
// table, the descriptor and the process-wide options of the structure model.
//
// Records are plain structures with fixed field orders. Lists are singly linked
// through a first field `li` (nullptr ends a list); nodes are allocated one by one
// (NewSteckAt, NewAdjMatr) and freed by the Dispose* operations. Coordinates are
// fractional (units of the cell edges) unless stated; lengths in Å, angles in degrees.
//
// Ownership: a compound owns every atom reachable from `pAtEnd`; each atom owns its
// `PMAd` and `PMAd_` lists, its `DsOr` subtree and its `Struct` block; each adjacency
// node owns its `Chan` list. Adjacency `p` and chain `pC` are non-owning references
// into the same compound's atom list.
#pragma once

#include "model/BitSet.h"
#include "model/ElementCodes.h"
#include "model/LatticeTranslation.h"
#include "model/ParamTTO.h"
#include "model/ShortString.h"
#include "model/SymmetryRecords.h"
#include "model/VectorTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ormaline {

struct tSteckAt;
struct tAdjMatr;

// Kinds of adjacency entries (`tAdjMatr.m`); letters v, s, w, h in graph files.
enum BondKind : std::uint8_t {
    bkNone = 0,
    bkValence = 1,
    bkSpecific = 2,
    bkVanDerWaals = 3,
    bkHydrogen = 4,
};

// Atom core.
struct tSAtom {
    std::int16_t n = 0;     // element code
    std::int32_t i = 0;     // index among atoms of the same element, from 1; negative marks
                            // a central atom of a query subgraph
    DVector k{};            // fractional coordinates x, y, z
    std::int32_t tr = 0;    // packed lattice translation (PackTr)
    float S = 0.0f;         // builders add 1.0 per valence bond read
    std::int32_t kch = 0;   // coordination number of the source; "#" in a graph file sets 1
    std::int32_t DegOx = 0; // oxidation state; new nodes start at 16
};

// Chain node of an adjacency entry.
struct tChanStack {
    tChanStack* li = nullptr;
    ShIVector a{}; // translation
    float R = 0.0f;
    tSteckAt* pC = nullptr; // the atom reached, once linked
    std::uint16_t i = 0;    // number of the atom reached
    std::int8_t n = 0;
    std::uint8_t j = 0;
};

// Adjacency node: one bond or contact of an atom.
struct tAdjMatr {
    tAdjMatr* li = nullptr;
    float R = 0.0f;
    float SA = 0.0f;
    float Rseg = 0.0f;
    float SSeg = 0.0f;
    float VSeg = 0.0f;
    void* pRingSt = nullptr;
    std::uint8_t m = 0; // BondKind
    std::uint8_t misc = 0;
    std::uint8_t tc = 0; // 1 in new nodes
    ShIVector a{};       // translation to add to the partner's coordinates
    bool Lab = false;
    std::int8_t rank = 0;
    std::uint8_t ChanSize = 0;
    tChanStack* Chan = nullptr;
    tSteckAt* p = nullptr; // partner atom once linked
    // The partner's tSteckAt.i as read, kept whole: a number outside 0..65535 (which a
    // 16-bit entry could not hold) is stored as read and never links (AtomNumberIndex).
    std::int32_t i = 0;
    std::uint8_t CSym = 0;
    std::uint8_t Br = 0;
};

// Query-atom constraints (allocated only by the graph-file reader).
struct tAtData {
    ElementCodeSet atset; // allowed elements; empty = no constraint
    TByteSet cnset;       // allowed numbers of neighbours
    TByteSet MultSet;     // allowed site multiplicities
    TByteSet SiteSymSet;  // allowed site-symmetry indexes
    TShortString<30> Color;
};

// Atom node.
struct tSteckAt {
    tSteckAt* li = nullptr;   // next atom
    tSteckAt* DsOr = nullptr; // further atoms attached to this one (never filled here)
    tSAtom A;
    float Rsd = 0.0f;
    float G3 = 0.0f;
    float WCN = 0.0f;
    std::uint8_t CSym = 0;  // symmetry operation that produced this atom (0 = independent)
    std::uint8_t Br = 0;    // centring translation that produced it (0 = none)
    std::uint8_t NSite = 0; // index into MasSubgr (0 = general position)
    std::uint8_t OptSt = 0;
    char16_t WyckL = u' ';   // Wyckoff letter
    std::uint16_t CN = 0;    // valence bonds in PMAd
    std::uint16_t CNdop = 0; // other adjacency entries in PMAd
    std::int32_t i = 0;      // atom number in its source; adjacency entries refer to it
    std::int32_t iold = 0;
    std::int32_t code = 0;
    tAdjMatr* PMAd = nullptr;
    tAdjMatr* PMAd_ = nullptr;
    tAtData* Struct = nullptr; // optional query-atom constraints, owned
};

// Element-table entry.
struct t_element {
    std::int16_t n = 0; // element code
    std::int32_t i = 0; // count of atoms of this element, or 0
    std::int32_t cAt = 0;
    float r = 0.0f; // radius used for drawing
    float ot = 0.0f;
    float nS = 0.0f;
    float RAX = 0.0f;
    float erRAX = 0.0f;
};

using TArrOfElement = std::vector<t_element>;
using TDataElement = std::array<float, 121>;          // by element code 0..120
using TColorElement = std::array<std::uint32_t, 121>; // 0x00BBGGRR by element code 0..120

// Ordering in which InsSortAt keeps a compound's atom list.
enum tSortTypeAtom : std::uint8_t {
    staNone = 0,
    staAtNameInd = 1,
    staAtNI = 2,
    staAtSNI = 3,
    staAtSyCN = 4,
    staAtNISym = 5,
};

// Ordering function: true when `node` goes before list node `b`.
using TCompAtFunc = bool (*)(const tSteckAt* node, const tSteckAt* b);

// Compound descriptor.
struct tDC {
    std::int64_t code = 0; // the compound's code (database ligand code)
    std::int64_t poz = 0;
    std::int32_t cdt = 0;
    tRefCode RefCode;
    std::uint8_t Cfg = 0;
    std::uint32_t Cfg_ = 0;
    std::uint8_t user = 0;
    std::uint32_t at_ = 0; // number of atoms
    std::int16_t rem_ = 0;
    std::int16_t NName_ = 0;
    std::uint8_t ajnl_ = 0;
    std::int16_t cjnl = 0;
    std::uint16_t yjnl = 0;
    tVolume vjnl;
    tNumber njnl;
    tPage pjnl;
    std::uint8_t z = 0;
    std::uint8_t El_ = 0; // number of distinct elements (BuildMEl)
    std::uint8_t AB_ = 0;
    std::uint8_t ALI_ = 0;
    std::uint8_t Name_ = 0;
    std::uint16_t Orig = 0;
    float R_f = 0.0f;
    float Den = 0.0f;
    tSpaceGroup SG; // compact space-group symbol (read by the PDB export)
    SVector Tr{};   // cell edges a, b, c in Å
    SVector Ug{};   // cell angles α, β, γ in degrees
    std::array<std::uint8_t, 5> AB{};
    std::array<std::int32_t, 10> ALI{};
    float SZ = 0.0f;
};

// Managed descriptor.
struct tMDC {
    std::uint8_t bld = 0;
    tShIntMAD ME; // element codes of a formula
    tWordMAD MEZ;
    std::string Authors;
    std::array<std::string, 5> ABStr;
    tCharMAD NameMChar;
    tCharMAD RemMChar;
    std::string CmpName; // the compound's name
    std::string ValForm;
    std::string UserName;
    std::string JnlName;
    std::int64_t JnlCode = 0;
    SmIVector Origin{};
    std::int64_t admatr = 0;
    std::string fkr;
};

// Process-wide options of the structure model; zero at start, never saved.
struct TKRELMOpt {
    float SigmaForPlane = 0.0f;
    float MinBPlane = 0.0f; // lower bound of the subgraph search's in-bond ratio
    float MaxBPlane = 0.0f; // upper bound; 0.0001 or less switches that test off
};

// The one instance of the process.
extern TKRELMOpt KRELMOpt;

// An atom of a structure-file database; no operation of this system fills them.
struct tFullAtom {
    tSAtom A;
    std::uint8_t CSym = 0;
    std::uint8_t Br = 0;
};

// Compound record. It frees what it owns when destroyed (FreeCompParam), so it is
// neither copied nor moved: the lists would otherwise have two owners.
struct tCompParam {
    tCompParam() = default;
    tCompParam(const tCompParam&) = delete;
    tCompParam& operator=(const tCompParam&) = delete;
    ~tCompParam();

    // 1. Descriptor
    tDC DC;
    tDC DCOld;
    std::int64_t DC1poz = 0;
    std::int64_t DC1pozOld = 0;
    std::int64_t OldDtsNC = 0;
    std::int64_t OldDtsDC = 0;
    std::int32_t adl = 0;
    std::int32_t adlvoid = 0;
    std::int32_t itl = 0;
    std::int32_t ill = 0;
    tMDC MDC;
    float CompZ = 0.0f; // formula units
    std::int32_t CompJnl = 0;
    std::int32_t NumElComp = 0; // entries in MEl
    tIntMAD CompMEZ;
    TArrOfElement MEl; // element table

    // 2. Atoms
    tSteckAt* pAt0 = nullptr;   // first independent atom
    tSteckAt* pAtEnd = nullptr; // head of the whole list (images first, then pAt0 ...)
    std::vector<tFullAtom> ArrAtoms;
    tSteckAt At; // scratch atom node (never part of the list)
    tSAtom bAt;  // scratch atom core
    std::int32_t Count = 0;
    TCompAtFunc SortFunc = nullptr;
    tSortTypeAtom SortType = staNone;

    // 3. Adjacency configuration; bit 0 of ADConfig: a non-valence entry was read
    std::uint8_t ADConfig = 0;
    std::uint8_t ADConfigVoid = 0;
    std::uint8_t ADConfig2 = 0;
    std::uint8_t ADConfigVoid2 = 0;

    // 4. Geometry
    TParamTTO ParamTTO;

    // 5. Symmetry
    std::array<tcodRec, kMaxSymOps> CodesOfSG{};
    std::array<std::array<std::uint8_t, kMaxSymOps>, kMaxSymOps> MulMat{};
    std::array<std::array<std::uint8_t, kMaxSymOps>, kMaxSymOps> tran{};
    std::uint8_t NCode = 0;  // operations stored beyond the identity
    std::uint8_t SGMult = 0; // general multiplicity
    bool center = false;
    std::uint8_t CodeSingon = 0;
    std::uint8_t nbr = 0;
    std::int16_t NGC = 0;
    std::uint16_t CodeSG = 0; // setting code; 0 = none
    tNameSG NameSG;
    std::array<std::int8_t, 47> Stabil{};
    std::array<std::int8_t, 47> RotateMatr{};
    std::array<tRotor, kMaxSymOps> RotSym{};
    std::array<std::array<std::int16_t, 3>, kMaxSymOps> TrPart{}; // in 24ths of the edges
    std::uint8_t NumSubgr = 0;
    std::array<TSubgr, kMaxSubgroups> MasSubgr{};
    SmIVector Originn{};

    // 6. File buffers
    tByteMAD ITSBuf;
    tByteMAD ITLBuf;
    tByteMAD ADMBuf;
    tByteMAD ADMBufVoid;
    std::uintptr_t HandleProg = 0;

    // 7. Size of the atoms' Struct blocks once any atom has one; 0 otherwise
    std::int32_t SizeStruct = 0;
};

} // namespace ormaline
