// The compound "Draw" builds from the texts of the ligand detail panel.
#include "app/core/LigandHandoff.h"

#include "model/AtomList.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ormaline;

namespace {

std::vector<std::string> AtomRow(int n, int element, int number, double x, double y, double z) {
    return {std::to_string(n), std::to_string(element), std::to_string(number), "1",
            std::to_string(x), std::to_string(y),       std::to_string(z)};
}

TLigandPanelTexts Panel(std::vector<std::vector<std::string>> atoms,
                        std::vector<std::string> bonds) {
    TLigandPanelTexts panel;
    panel.Cell = {"10.000", "11.000", "12.000", "90.00", "90.00", "90.00"};
    panel.AtomRows = std::move(atoms);
    panel.BondCells = std::move(bonds);
    return panel;
}

std::vector<int> Neighbours(const tSteckAt& atom) {
    std::vector<int> numbers;
    for (const tAdjMatr* entry = atom.PMAd; entry != nullptr; entry = entry->li) {
        EXPECT_EQ(entry->m, bkValence);
        EXPECT_EQ(entry->p, nullptr);
        numbers.push_back(entry->i);
    }
    return numbers;
}

TEST(LigandHandoff, ElementsAndIndexesInReadingOrderGiveTheStatedListOrder) {
    // Elements 6, 1, 6, 8 read in that order.
    tCompParam comp;
    BuildLigandCompound(Panel({AtomRow(1, 6, 1, 0.1, 0.2, 0.3), AtomRow(2, 1, 2, 0.2, 0.2, 0.3),
                               AtomRow(3, 6, 3, 0.3, 0.2, 0.3), AtomRow(4, 8, 4, 0.4, 0.2, 0.3)},
                              {"2 3", "1", "1 4", "3"}),
                        comp);
    struct Want {
        int n, index, number;
        std::vector<int> neighbours;
        double x;
    };
    const std::vector<Want> want = {
        {1, 1, 2, {1}, 0.2}, {6, 1, 1, {2, 3}, 0.1}, {6, 2, 3, {1, 4}, 0.3}, {8, 1, 4, {3}, 0.4}};
    std::size_t k = 0;
    ASSERT_EQ(comp.pAtEnd, comp.pAt0);
    for (const tSteckAt* atom = comp.pAtEnd; atom != nullptr; atom = atom->li, ++k) {
        ASSERT_LT(k, want.size());
        SCOPED_TRACE(k);
        EXPECT_EQ(atom->A.n, want[k].n);
        EXPECT_EQ(atom->A.i, want[k].index);
        EXPECT_EQ(atom->i, want[k].number);
        EXPECT_EQ(Neighbours(*atom), want[k].neighbours);
        EXPECT_EQ(atom->CN, want[k].neighbours.size());
        EXPECT_FLOAT_EQ(atom->A.S, static_cast<float>(want[k].neighbours.size()));
        EXPECT_DOUBLE_EQ(atom->A.k[0], want[k].x);
        EXPECT_EQ(atom->A.kch, 1);
    }
    EXPECT_EQ(k, 4u);
    ASSERT_EQ(comp.MEl.size(), 3u);
    EXPECT_EQ(comp.MEl[0].n, 6);
    EXPECT_EQ(comp.MEl[1].n, 1);
    EXPECT_EQ(comp.MEl[2].n, 8);
    EXPECT_EQ(comp.DC.at_, 4u);
    EXPECT_EQ(comp.NameSG, std::string_view("P 1"));
    EXPECT_EQ(comp.CodeSG, 1);
    EXPECT_FLOAT_EQ(comp.DC.Tr[1], 11.0f);
    EXPECT_FLOAT_EQ(comp.DC.Ug[2], 90.0f);
    EXPECT_FALSE(comp.ParamTTO.NOrth);
}

TEST(LigandHandoff, AdjacencyTexts) {
    struct Case {
        const char* text;
        std::vector<int> numbers;
    };
    const std::vector<Case> cases = {
        {"", {}},         {"7", {7}},  {"2 5  7", {2, 5, 7}}, {"2 5 ", {2, 5}},
        {" 3 4", {3, 4}}, {"   ", {}}, {"65535", {65535}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        tSteckAt atom;
        ParseAdjacencyText(c.text, atom);
        EXPECT_EQ(Neighbours(atom), c.numbers);
        EXPECT_EQ(atom.CN, c.numbers.size());
        DisposeAdjList(atom.PMAd);
    }
}

TEST(LigandHandoff, BadNeighbourNumbersAreConversionErrors) {
    for (const char* text : {"2 x", "1.5", "65536", "-1", "2,3"}) {
        SCOPED_TRACE(text);
        tSteckAt atom;
        EXPECT_THROW(ParseAdjacencyText(text, atom), EConvertError);
        DisposeAdjList(atom.PMAd);
    }
}

TEST(LigandHandoff, BondRowsArePairedByPosition) {
    // The atom grid in the server's order, the bond grid by atom number: row r takes row r.
    tCompParam comp;
    BuildLigandCompound(
        Panel({AtomRow(1, 8, 2, 0, 0, 0), AtomRow(2, 8, 1, 0.1, 0, 0)}, {"2", "1 9"}), comp);
    ASSERT_NE(comp.pAt0, nullptr);
    EXPECT_EQ(comp.pAt0->i, 2);
    EXPECT_EQ(Neighbours(*comp.pAt0), (std::vector<int>{2}));
    EXPECT_EQ(Neighbours(*comp.pAt0->li), (std::vector<int>{1, 9}));
}

TEST(LigandHandoff, MissingBondRowsAndUnparsableCellsAreNoError) {
    tCompParam comp;
    TLigandPanelTexts panel = Panel({AtomRow(1, 17, 1, 0, 0, 0)}, {});
    panel.Cell[0] = "abc";
    BuildLigandCompound(panel, comp);
    EXPECT_FLOAT_EQ(comp.DC.Tr[0], 0.0f);
    ASSERT_NE(comp.pAt0, nullptr);
    EXPECT_EQ(comp.pAt0->PMAd, nullptr);
    EXPECT_EQ(comp.pAt0->CN, 0);
}

TEST(LigandHandoff, ABadAtomCellThrowsAndKeepsTheAtomsReadBefore) {
    const std::vector<std::pair<int, std::string>> badCells = {
        {1, "8a"}, {2, ""}, {3, "x"}, {4, "0.1.2"}, {1, "200"}};
    for (const auto& [column, text] : badCells) {
        SCOPED_TRACE(text);
        tCompParam comp;
        std::vector<std::string> bad = AtomRow(2, 8, 2, 0, 0, 0);
        bad[static_cast<std::size_t>(column)] = text;
        EXPECT_THROW(BuildLigandCompound(Panel({AtomRow(1, 6, 1, 0, 0, 0), bad}, {"", ""}), comp),
                     EConvertError);
        EXPECT_EQ(comp.DC.at_, 1u);
        ASSERT_NE(comp.pAt0, nullptr);
        EXPECT_EQ(comp.pAt0->li, nullptr);
    }
}

} // namespace
