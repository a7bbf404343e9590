// Compounds for the scene tests, built the way the viewer's creators fill them.
#pragma once

#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "viewer/core/LVScene.h"
#include "viewer/core/SceneBuild.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace ormaline::test {

struct TTestContact {
    int partner;        // the partner's atom number
    std::uint8_t kind;  // 1 valence .. 4 hydrogen bond
    ShIVector a{};      // translation to the partner's image
};

struct TTestAtom {
    std::int16_t n;     // element code
    DVector k;          // fractional coordinates
    std::vector<TTestContact> contacts{};
};

// Fills the scene's compound: the cell, space group "P 1", the atoms in the order
// given (atom number and index = position from 1) and their contacts.
inline void FillCompound(TLVScene& scene, SVector edges, SVector angles,
                         const std::vector<TTestAtom>& atoms) {
    tCompParam& comp = scene.CompParamMaler;
    InitCompParam(comp, staAtNI);
    comp.DC.Tr = edges;
    comp.DC.Ug = angles;
    CalcParamTTO(comp);
    comp.NameSG = "P 1";
    comp.CodeSG = 1;
    tSteckAt* head = nullptr;
    int number = 0;
    for (const TTestAtom& source : atoms) {
        tSteckAt* atom = NewSteckAt();
        atom->A.n = source.n;
        atom->A.i = ++number;
        atom->i = number;
        atom->A.k = source.k;
        for (const TTestContact& contact : source.contacts) {
            tAdjMatr* entry = NewAdjMatr();
            entry->i = static_cast<std::uint16_t>(contact.partner);
            entry->m = contact.kind;
            entry->a = contact.a;
            AppendNode(entry, atom->PMAd);
        }
        AppendNode(atom, head);
        ++comp.DC.at_;
    }
    comp.pAt0 = comp.pAtEnd = head;
}

inline void FillCubic(TLVScene& scene, float edge, const std::vector<TTestAtom>& atoms) {
    FillCompound(scene, {edge, edge, edge}, {90.0f, 90.0f, 90.0f}, atoms);
}

inline bool Build(TLVScene& scene) { return SeeCryst(scene, TSceneBuildMonitor{}); }

inline std::vector<tTopAt*> Nodes(const tTopAt* head) {
    std::vector<tTopAt*> nodes;
    for (const tTopAt* node = head; node != nullptr; node = node->li)
        nodes.push_back(const_cast<tTopAt*>(node));
    return nodes;
}

inline std::vector<tTopAt*> AtomNodes(const TLVScene& scene) { return Nodes(scene.WPTAtEnd); }

inline std::vector<const tBoundAt*> Bonds(const tTopAt& node) {
    std::vector<const tBoundAt*> bonds;
    for (const tBoundAt* bond = node.p; bond != nullptr; bond = bond->li)
        bonds.push_back(bond);
    return bonds;
}

// Bonds that are not cell edges.
inline int AtomBondCount(const TLVScene& scene) {
    int count = 0;
    for (const tTopAt* node : AtomNodes(scene))
        for (const tBoundAt* bond : Bonds(*node))
            if ((bond->cb & cbCellEdge) == 0)
                ++count;
    return count;
}

struct TBondRecord {
    int partner; // position of the partner in the list
    ShIVector t;
    std::uint8_t c, cb;
    float r;
    bool operator==(const TBondRecord&) const = default;
};

// Every node's bonds, partners given by list position, checking the back links.
inline std::vector<std::vector<TBondRecord>> BondTable(const TLVScene& scene) {
    std::map<const tTopAt*, int> position;
    int index = 0;
    for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        position[node] = index++;
    std::vector<std::vector<TBondRecord>> table;
    for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        std::vector<TBondRecord> bonds;
        const tBoundAt* previous = nullptr;
        for (const tBoundAt* bond = node->p; bond != nullptr; bond = bond->li) {
            EXPECT_EQ(bond->li_, previous);
            previous = bond;
            bonds.push_back({position.at(bond->p), bond->t, bond->c, bond->cb, bond->r});
        }
        table.push_back(bonds);
    }
    return table;
}

} // namespace ormaline::test
