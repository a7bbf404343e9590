// Compounds and query fragments for the subgraph-search tests: structures built from a
// bond list with linked partners (as the database loader links them), queries read
// from graph-file lines by the real reader.
#pragma once

#include "ModelTestUtil.h"

#include "model/Compound.h"
#include "model/MolTextReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ormaline::test {

// A bond a-b of atoms numbered from 1; b is reached from a with translation t, a from
// b with -t. Both ends get an entry of the kind.
struct TBond {
    int a = 0;
    int b = 0;
    ShIVector t{};
    std::uint8_t kind = bkValence;
};

// A compound whose atoms (numbers 1, 2, ... in list order) have the given elements and
// whose entries are linked to their partners; CN counts the valence entries.
inline void BuildStructure(tCompParam& comp, const std::vector<std::int16_t>& elements,
                           const std::vector<TBond>& bonds) {
    InitCompParam(comp, staAtNI);
    std::vector<tSteckAt*> atoms;
    tSteckAt** link = &comp.pAt0;
    for (std::size_t k = 0; k < elements.size(); ++k) {
        *link = MakeAtom(elements[k], static_cast<std::int32_t>(k + 1),
                         static_cast<std::int32_t>(k + 1));
        atoms.push_back(*link);
        link = &(*link)->li;
    }
    comp.pAtEnd = comp.pAt0;
    comp.DC.at_ = static_cast<std::uint32_t>(elements.size());
    auto add = [&](int from, int to, ShIVector t, std::uint8_t kind) {
        tSteckAt* atom = atoms.at(static_cast<std::size_t>(from - 1));
        tAdjMatr* entry = AddEntry(atom, to, kind);
        entry->p = atoms.at(static_cast<std::size_t>(to - 1));
        entry->a = t;
        if (kind == bkValence)
            ++atom->CN;
        else
            ++atom->CNdop;
    };
    for (const TBond& bond : bonds) {
        add(bond.a, bond.b, bond.t, bond.kind);
        const ShIVector back = {static_cast<std::int8_t>(-bond.t[0]),
                                static_cast<std::int8_t>(-bond.t[1]),
                                static_cast<std::int8_t>(-bond.t[2])};
        add(bond.b, bond.a, back, bond.kind);
    }
}

// A query compound read from atom lines of a cubic 10 Å version 1 graph file.
inline void ReadQuery(tCompParam& comp, const std::vector<std::string>& atomLines) {
    std::vector<std::string> lines = {"VER=1;0::query", "10.000 10.000 10.000 90.00 90.00 90.00"};
    lines.insert(lines.end(), atomLines.begin(), atomLines.end());
    ASSERT_TRUE(ReadMolText(lines, comp, {})) << lines.back();
}

} // namespace ormaline::test
