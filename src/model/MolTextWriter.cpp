#include "model/MolTextWriter.h"

#include "model/AdjacencyLinking.h"
#include "model/NumberFormat.h"
#include "model/Symmetry.h"
#include "model/TextUtil.h"

#include <unordered_map>

namespace ormaline {

char BondLetter(std::uint8_t kind) {
    switch (kind) {
    case bkValence:
        return 'v';
    case bkSpecific:
        return 's';
    case bkVanDerWaals:
        return 'w';
    case bkHydrogen:
        return 'h';
    default:
        return '\0';
    }
}

std::string MolTextHeader(const tCompParam& comp) {
    return "VER=1;" + std::to_string(comp.DC.code) + ":" + comp.DC.RefCode.Str() + ":" +
           comp.MDC.CmpName;
}

std::string MolTextCellLine(const tCompParam& comp) {
    std::string line;
    for (std::size_t axis = 0; axis < 3; ++axis)
        line += FormatFixed(comp.DC.Tr[axis], 3) + " ";
    for (std::size_t axis = 0; axis < 3; ++axis)
        line += FormatFixed(comp.DC.Ug[axis], 2) + (axis < 2 ? " " : "");
    return line;
}

std::string MolTextAtomLine(std::int32_t number, const TMolTextAtom& atom, std::size_t atomCount) {
    std::string line;
    if (atom.central)
        line += '*';
    line += std::to_string(number);
    line += ' ';
    line += ElSymbol(atom.element);
    line += '[';
    line += std::to_string(atom.multiplicity);
    line += ',';
    line += Trim(atom.siteSymmetry);
    line += ']';
    // An empty "<>" would stay in the line and spoil the coordinates when read back,
    // so an atom without colour text gets no colour group.
    if (!atom.colour.empty()) {
        line += '<';
        line += atom.colour;
        line += '>';
    }
    line += ' ';
    for (double coordinate : atom.k)
        line += FormatFixed(coordinate, 3) + " ";
    for (const TMolTextBond& bond : atom.bonds) {
        char letter = BondLetter(bond.kind);
        if (letter == '\0' || bond.partner < 1 ||
            static_cast<std::size_t>(bond.partner) > atomCount)
            continue;
        line += std::to_string(bond.partner);
        line += ' ';
        line += letter;
        line += ' ';
    }
    return line;
}

std::vector<std::string> WriteMolText(const tCompParam& comp,
                                      const std::vector<TMolTextAtom>& atoms) {
    std::vector<std::string> lines;
    lines.reserve(atoms.size() + 2);
    lines.push_back(MolTextHeader(comp));
    lines.push_back(MolTextCellLine(comp));
    for (std::size_t k = 0; k < atoms.size(); ++k)
        lines.push_back(MolTextAtomLine(static_cast<std::int32_t>(k + 1), atoms[k], atoms.size()));
    return lines;
}

std::vector<TMolTextAtom> MolTextAtomsFromCompound(const tCompParam& comp) {
    std::unordered_map<const tSteckAt*, std::int32_t> runningNumber;
    const TConstAtomNumberIndex firstByNumber(comp.pAtEnd);
    std::int32_t count = 0;
    for (const tSteckAt* atom = comp.pAtEnd; atom != nullptr; atom = atom->li)
        runningNumber.emplace(atom, ++count);

    std::vector<TMolTextAtom> records;
    records.reserve(static_cast<std::size_t>(count));
    for (const tSteckAt* atom = comp.pAtEnd; atom != nullptr; atom = atom->li) {
        TMolTextAtom record;
        record.central = atom->A.i < 0;
        record.element = atom->A.n;
        record.multiplicity = SiteMult(comp, *atom);
        record.siteSymmetry = std::string(SiteSymName(comp, *atom));
        if (atom->Struct != nullptr)
            record.colour = atom->Struct->Color.Str();
        record.k = atom->A.k;
        for (const tAdjMatr* entry = atom->PMAd; entry != nullptr; entry = entry->li) {
            const tSteckAt* partner = entry->p;
            if (partner == nullptr)
                partner = firstByNumber.Find(entry->i);
            auto numbered = runningNumber.find(partner);
            if (partner != nullptr && numbered != runningNumber.end())
                record.bonds.push_back(TMolTextBond{numbered->second, entry->m});
        }
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace ormaline
