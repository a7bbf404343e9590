#include "model/Compound.h"

#include "model/AtomList.h"

#include <algorithm>

namespace ormaline {

TKRELMOpt KRELMOpt;

tCompParam::~tCompParam() {
    FreeCompParam(*this);
}

void SetSortType(tCompParam& comp, tSortTypeAtom sortType) {
    comp.pAt0 = nullptr;
    comp.pAtEnd = nullptr;
    comp.Count = 0;
    comp.SortType = sortType;
    comp.SortFunc = SortFuncOf(sortType);
}

void InitCompParam(tCompParam& comp, tSortTypeAtom sortType) {
    FreeCompParam(comp);
    SetSortType(comp, sortType);

    comp.DC = tDC{};
    for (int k = 2; k <= 5; ++k)
        comp.DC.ALI[static_cast<std::size_t>(k)] = -1;
    comp.DC.El_ = 0;
    comp.DCOld = comp.DC;
    comp.DC1poz = -1;
    comp.DC1pozOld = -1;
    comp.OldDtsNC = comp.OldDtsDC = 0;
    comp.adl = comp.adlvoid = comp.itl = comp.ill = 0;
    comp.MDC = tMDC{};
    comp.MDC.NameMChar = {u'\0', u'\0'};
    comp.MDC.RemMChar = {u'\0'};
    comp.CompZ = 0.0f;
    comp.CompJnl = 0;
    comp.NumElComp = 0;
    comp.CompMEZ.clear();
    comp.MEl.clear();

    comp.ArrAtoms.clear();
    comp.At = tSteckAt{};
    comp.bAt = tSAtom{};

    comp.ADConfig = comp.ADConfigVoid = comp.ADConfig2 = comp.ADConfigVoid2 = 0;
    comp.ParamTTO = TParamTTO{};

    comp.CodesOfSG = {};
    comp.CodesOfSG[0].code = {1, 2, 3};
    comp.CodesOfSG[0].RotorTr = 1;
    comp.MulMat = {};
    comp.tran = {};
    comp.NCode = 0;
    comp.SGMult = 0;
    comp.center = false;
    comp.CodeSingon = 0;
    comp.nbr = 0;
    comp.NGC = 0;
    comp.CodeSG = 0;
    comp.NameSG.Clear();
    comp.Stabil = {};
    comp.RotateMatr = {};
    comp.RotSym = {};
    comp.TrPart = {};
    comp.NumSubgr = 0;
    comp.MasSubgr = {};
    comp.Originn = {};

    comp.ITSBuf.clear();
    comp.ITLBuf.clear();
    comp.ADMBuf.clear();
    comp.ADMBufVoid.clear();
    comp.HandleProg = 0;
    comp.SizeStruct = 0;
}

void FreeCompParam(tCompParam& comp) {
    comp.MDC.ME.clear();
    comp.MDC.MEZ.clear();
    comp.MDC.NameMChar.clear();
    comp.MDC.RemMChar.clear();

    // The whole list starts at pAtEnd. While a builder is still filling the compound,
    // its atoms hang from pAt0 alone; free those too.
    bool firstReached = comp.pAt0 == nullptr;
    for (const tSteckAt* atom = comp.pAtEnd; atom != nullptr && !firstReached; atom = atom->li)
        firstReached = atom == comp.pAt0;
    DisposeAtList(comp.pAtEnd);
    if (!firstReached)
        DisposeAtList(comp.pAt0);

    comp.ArrAtoms.clear();
    comp.CompMEZ.clear();
    comp.MEl.clear();
    comp.pAt0 = nullptr;
    comp.SortFunc = nullptr;
    comp.Count = 0;
}

namespace {

void AddElementOnce(tCompParam& comp, std::int16_t code) {
    for (const t_element& entry : comp.MEl)
        if (entry.n == code)
            return;
    t_element entry;
    entry.n = code;
    entry.i = 0;
    comp.MEl.push_back(entry);
}

} // namespace

void BuildMEl(tCompParam& comp) {
    comp.MEl.clear();
    for (const tSteckAt* atom = comp.pAt0; atom != nullptr; atom = atom->li) {
        AddElementOnce(comp, atom->A.n);
        for (const tSteckAt* child = atom->DsOr; child != nullptr; child = child->li)
            AddElementOnce(comp, child->A.n);
    }
    // Selection sort by symbol, swapping the codes only.
    std::size_t count = comp.MEl.size();
    for (std::size_t first = 0; first + 1 < count; ++first) {
        std::size_t smallest = first;
        for (std::size_t k = first + 1; k < count; ++k)
            if (ElSymbol(comp.MEl[k].n) < ElSymbol(comp.MEl[smallest].n))
                smallest = k;
        std::swap(comp.MEl[first].n, comp.MEl[smallest].n);
    }
    comp.NumElComp = static_cast<std::int32_t>(count);
    comp.DC.El_ = static_cast<std::uint8_t>(std::min<std::size_t>(count, 255));
}

} // namespace ormaline
