#include "app/core/LigandHandoff.h"

#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "model/Errors.h"
#include "model/TextUtil.h"

#include <limits>

namespace ormaline {
namespace {

std::int32_t IntegerCell(const std::string& text) {
    const std::optional<std::int32_t> value = ParseInt32(text);
    if (!value)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return *value;
}

double NumberCell(const std::string& text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value)
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return *value;
}

const std::string& Column(const std::vector<std::string>& row, std::size_t column) {
    static const std::string empty;
    return column < row.size() ? row[column] : empty;
}

} // namespace

std::int16_t CheckedElementCode(std::int32_t code) {
    if (code < kMinElementCode || code > kMaxElementCode)
        throw EConvertError("'" + std::to_string(code) + "' is not a valid element code");
    return static_cast<std::int16_t>(code);
}

void ParseAdjacencyText(std::string_view text, tSteckAt& atom) {
    // The cell is trimmed first: a blank-only or blank-led cell is no reason to fail.
    std::string_view rest = TrimView(text);
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        const std::string_view number = rest.substr(0, blank);
        rest =
            blank == std::string_view::npos ? std::string_view() : TrimView(rest.substr(blank + 1));
        const std::optional<std::int32_t> value = ParseInt32(number);
        if (!value || *value < 0 || *value > std::numeric_limits<std::uint16_t>::max())
            throw EConvertError("'" + std::string(number) + "' is not a valid integer value");
        tAdjMatr* entry = NewAdjMatr();
        entry->i = *value;
        entry->m = bkValence;
        AppendNode(entry, atom.PMAd);
        ++atom.CN;
        atom.A.S += 1.0f;
    }
}

void BuildLigandCompound(const TLigandPanelTexts& panel, tCompParam& comp) {
    InitCompParam(comp, staAtNI);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        comp.DC.Tr[axis] = static_cast<float>(ParseNumber(panel.Cell[axis]).value_or(0.0));
        comp.DC.Ug[axis] = static_cast<float>(ParseNumber(panel.Cell[axis + 3]).value_or(0.0));
    }
    CalcParamTTO(comp);
    comp.NameSG = "P 1";
    comp.CodeSG = 1;
    for (std::size_t r = 0; r < panel.AtomRows.size(); ++r) {
        const std::vector<std::string>& row = panel.AtomRows[r];
        tSteckAt* atom = NewSteckAt();
        try {
            atom->A.kch = IntegerCell(Column(row, 3));
            atom->i = IntegerCell(Column(row, 2));
            atom->A.n = CheckedElementCode(IntegerCell(Column(row, 1)));
            for (std::size_t axis = 0; axis < 3; ++axis)
                atom->A.k[axis] = NumberCell(Column(row, 4 + axis));
        } catch (...) {
            DisposeAtList(atom);
            throw;
        }
        ++comp.DC.at_;
        int sameElement = 0;
        for (const tSteckAt* other = comp.pAt0; other != nullptr; other = other->li)
            if (other->A.n == atom->A.n)
                ++sameElement;
        atom->A.i = sameElement + 1;
        if (atom->A.i == 1) {
            t_element entry;
            entry.n = atom->A.n;
            comp.MEl.push_back(entry);
            comp.NumElComp = static_cast<std::int32_t>(comp.MEl.size());
        }
        InsSortAt(atom, &comp.pAt0, CompAtNI);
        ParseAdjacencyText(r < panel.BondCells.size() ? panel.BondCells[r] : std::string(), *atom);
    }
    comp.pAtEnd = comp.pAt0;
}

} // namespace ormaline
