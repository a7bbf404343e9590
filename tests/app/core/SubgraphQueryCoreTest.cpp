// The Qt-free parts of the subgraph query: the loader's statement and atom rows, the
// element pre-filter.
#include "app/core/LiMoNFromDB.h"
#include "app/core/SubgraphTest.h"

#include "model/Compound.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include "FakeResult.h"

namespace ormaline {
namespace {

using test::TFakeResult;

TEST(LiMoNFromDB, AtomStatement) {
    // Three blanks after "cd.cn,", none between the closing quote and "and".
    EXPECT_EQ(SelectLiMoNAtoms(*ParseGuid("{ABCDEF01-2345-6789-ABCD-EF0123456789}")),
              "select cd.id, cd.specat, cd.numat numat, cd.cn,   cd.fractx, cd.fracty, cd.fractz, "
              "adm.adm_str from topology.limon_cd cd,topology.limon_adm_dn adm where cd.limonid = "
              "'ABCDEF01-2345-6789-ABCD-EF0123456789'and cd.limonid=adm.limonid and "
              "cd.numat=adm.at_num");
}

TFakeResult::Row AtomRow(const char* specat, const char* numat, const char* cn, const char* adm) {
    return {{"id", "{00000000-0000-0000-0000-000000000001}"},
            {"specat", specat},
            {"numat", numat},
            {"cn", cn},
            {"fractx", "0.125"},
            {"fracty", "-0.5"},
            {"fractz", "1e-3"},
            {"adm_str", adm}};
}

std::string Labels(const tCompParam& comp) {
    std::string text;
    for (const tSteckAt* atom = comp.pAt0; atom != nullptr; atom = atom->li) {
        text += (text.empty() ? "" : " ") + std::string(ElSymbol(atom->A.n)) +
                std::to_string(atom->A.i) + "#" + std::to_string(atom->i) + ":";
        for (const tAdjMatr* e = atom->PMAd; e != nullptr; e = e->li)
            text += std::to_string(e->i) + (e->p == nullptr ? "?" : "=" + std::to_string(e->p->i)) +
                    ",";
    }
    return text;
}

TEST(LiMoNFromDB, AtomRowsInServerOrderGiveIndexesElementsAndLinkedNeighbours) {
    // C, H, C, O read in that order; atom 4 names atom 9, which the ligand lacks.
    TFakeResult rows({AtomRow("6", "1", "4", "2 3"), AtomRow("1", "2", "1", " 1 "),
                      AtomRow("6", "3", "3", "1 4"), AtomRow("8", "4", "2", "3  9")});
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    TAtomInserter inserter(comp);
    for (; !rows.Eof(); rows.Next())
        AddLigandAtom(comp, inserter, ReadLigandAtomValues(rows));
    ResolveNeighbours(comp);
    comp.pAtEnd = comp.pAt0;
    EXPECT_EQ(Labels(comp), "H1#2:1=1, C1#1:2=2,3=3, C2#3:1=1,4=4, O1#4:3=3,9?,");
    EXPECT_EQ(comp.MDC.ME, (tShIntMAD{6, 1, 8}));
    const tSteckAt& oxygen = *comp.pAt0->li->li->li;
    EXPECT_EQ(oxygen.A.kch, 2);
    EXPECT_EQ(oxygen.CN, 2);
    EXPECT_FLOAT_EQ(oxygen.A.S, 2.0f);
    EXPECT_EQ(oxygen.A.k, (DVector{0.125, -0.5, 0.001}));
    EXPECT_EQ(oxygen.WyckL, u' '); // no tables were built for this compound

    TFakeResult bad = TFakeResult::OneRow(AtomRow("121", "5", "0", ""));
    EXPECT_THROW(AddLigandAtom(comp, inserter, ReadLigandAtomValues(bad)), EConvertError);
    TFakeResult badList = TFakeResult::OneRow(AtomRow("6", "5", "0", "1 x"));
    EXPECT_THROW(AddLigandAtom(comp, inserter, ReadLigandAtomValues(badList)), EConvertError);
}

struct PrefilterCase {
    const char* name;
    std::vector<std::vector<int>> sets; // newest first; {} is the empty set
    tShIntMAD elements;
    bool passes;
};

class ElementPrefilter : public testing::TestWithParam<PrefilterCase> {};

TEST_P(ElementPrefilter, Passes) {
    tSetAtSet* sets = nullptr;
    for (auto it = GetParam().sets.rbegin(); it != GetParam().sets.rend(); ++it) {
        ElementCodeSet set;
        for (int code : *it)
            set.Include(code);
        sets = new tSetAtSet{sets, set};
    }
    EXPECT_EQ(PassesElementSets(sets, GetParam().elements), GetParam().passes);
    FreeSetAtSet(sets);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ElementPrefilter,
    testing::Values(PrefilterCase{"NoSetsPassNothing", {}, {6, 8}, false},
                    PrefilterCase{"OneMemberOfEachSet", {{6}, {7, 8}}, {1, 8, 6}, true},
                    PrefilterCase{"ASetWithoutMember", {{6}, {7, 16}}, {6, 8}, false},
                    PrefilterCase{"NoElementsAtAll", {{6}}, {}, false},
                    PrefilterCase{"EmptySetTakesAnyElement", {{}}, {17}, true},
                    PrefilterCase{"EmptySetNeedsAnElement", {{}}, {}, false},
                    PrefilterCase{"CodeZeroIsAnElement", {{0}}, {0}, true},
                    PrefilterCase{"GroupCodesAreNoMembers", {{6}}, {-4}, false}),
    [](const testing::TestParamInfo<PrefilterCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace ormaline
