#include "model/Symmetry.h"

#include "model/TextUtil.h"

#include <string>

namespace ormaline {

int SiteSymIndex(std::string_view name) {
    for (std::size_t index = 1; index < SiteSymmetryNames.size(); ++index)
        if (SiteSymmetryNames[index] == name)
            return static_cast<int>(index);
    return 0;
}

namespace {

std::uint8_t LatticeIndex(char letter) {
    constexpr std::string_view letters = "PABCFIR";
    std::size_t position = letters.find(letter);
    return position == std::string_view::npos ? 0 : static_cast<std::uint8_t>(position + 1);
}

} // namespace

std::uint16_t SpaceGroupCode(tCompParam& comp) {
    std::string symbol = Trim(comp.NameSG.View());
    comp.nbr = symbol.empty() ? 0 : LatticeIndex(symbol.front());
    comp.NGC = 0;
    comp.CodeSingon = 0;
    if (symbol != "P 1")
        return 0;
    comp.NGC = 1;
    comp.CodeSingon = 1;
    return 1;
}

void BuildSGTables(tCompParam& comp) {
    if (comp.CodeSG != 1)
        return;
    comp.CodesOfSG = {};
    comp.CodesOfSG[0].code = {1, 2, 3};
    comp.CodesOfSG[0].RotorTr = 1;
    comp.RotSym = {};
    for (std::size_t axis = 0; axis < 3; ++axis)
        comp.RotSym[0].Rot[axis][axis] = 1;
    comp.RotSym[0].gesnum = 1;
    comp.TrPart = {};
    comp.MulMat = {};
    comp.tran = {};
    comp.Stabil = {};
    comp.RotateMatr = {};
    comp.MasSubgr = {};
    comp.NumSubgr = 0;
    comp.Originn = {};
    comp.NCode = 0;
    comp.SGMult = 1;
    comp.center = false;
}

void SiteSymmetry(const tCompParam& comp, tSteckAt& atom) {
    atom.NSite = 0;
    if (comp.CodeSG == 1 && comp.SGMult != 0)
        atom.WyckL = u'a';
}

int SiteMult(const tCompParam& comp, const tSteckAt& atom) {
    if (atom.NSite >= comp.MasSubgr.size())
        return 0;
    return comp.SGMult / (comp.MasSubgr[atom.NSite].krat + 1);
}

std::string_view SiteSymName(const tCompParam& comp, const tSteckAt& atom) {
    if (atom.NSite >= comp.MasSubgr.size())
        return SiteSymmetryNames[0];
    std::size_t index = comp.MasSubgr[atom.NSite].SiteSym;
    return index < SiteSymmetryNames.size() ? SiteSymmetryNames[index] : SiteSymmetryNames[0];
}

void GenerateOrbit(const tCompParam& /*comp*/, char /*latticeLetter*/, int /*flags*/,
                   double /*tolerance*/, tSteckAt*& list) {
    // Only the identity and no centring exist in P 1: the list keeps its atoms, which
    // are the independent atoms themselves.
    for (tSteckAt* atom = list; atom != nullptr; atom = atom->li) {
        atom->CSym = 0;
        atom->Br = 0;
        atom->A.tr = PackTr(0, 0, 0);
    }
}

} // namespace ormaline
