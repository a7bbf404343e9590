#include "ModelTestUtil.h"

#include "model/AtomInserter.h"
#include "model/AtomList.h"
#include "model/Compound.h"

#include <gtest/gtest.h>

#include <random>

namespace ormaline {
namespace {

using test::AtomsOf;
using test::ListLabels;
using test::MakeAtom;

TEST(AtomNodes, NewSteckAtDefaults) {
    tSteckAt* atom = NewSteckAt();
    EXPECT_EQ(atom->li, nullptr);
    EXPECT_EQ(atom->DsOr, nullptr);
    EXPECT_EQ(atom->PMAd, nullptr);
    EXPECT_EQ(atom->PMAd_, nullptr);
    EXPECT_EQ(atom->Struct, nullptr);
    EXPECT_EQ(atom->WyckL, u' ');
    EXPECT_EQ(atom->A.DegOx, 16);
    EXPECT_EQ(atom->A.tr, 0);
    EXPECT_EQ(atom->A.n, 0);
    EXPECT_EQ(atom->A.i, 0);
    EXPECT_EQ(atom->A.S, 0.0f);
    EXPECT_EQ(atom->CN, 0);
    EXPECT_EQ(atom->CNdop, 0);
    EXPECT_EQ(atom->i, 0);
    EXPECT_EQ(atom->Rsd, 0.0f);
    DisposeAtList(atom);
    EXPECT_EQ(atom, nullptr);
}

TEST(AtomNodes, NewAdjMatrDefaults) {
    tAdjMatr* entry = NewAdjMatr();
    EXPECT_EQ(entry->tc, 1);
    EXPECT_EQ(entry->m, 0);
    EXPECT_EQ(entry->misc, 0);
    EXPECT_EQ(entry->a, (ShIVector{0, 0, 0}));
    EXPECT_FALSE(entry->Lab);
    EXPECT_EQ(entry->p, nullptr);
    EXPECT_EQ(entry->Chan, nullptr);
    EXPECT_EQ(entry->pRingSt, nullptr);
    EXPECT_EQ(entry->li, nullptr);
    DisposeAdjList(entry);
    EXPECT_EQ(entry, nullptr);
}

TEST(AtomList, AppendKeepsReadingOrder) {
    tAdjMatr* head = nullptr;
    for (std::uint16_t number : {5, 2, 9}) {
        tAdjMatr* entry = NewAdjMatr();
        entry->i = number;
        entry->li = reinterpret_cast<tAdjMatr*>(&head); // a stale link is overwritten
        AppendNode(entry, head);
    }
    std::vector<int> numbers;
    for (const tAdjMatr* entry = head; entry != nullptr; entry = entry->li)
        numbers.push_back(entry->i);
    EXPECT_EQ(numbers, (std::vector<int>{5, 2, 9}));
    DisposeAdjList(head);
}

struct InsertRow {
    const char* name;
    std::vector<std::pair<int, int>> atoms; // (element, index) in reading order
    const char* expected;
};

TEST(AtomList, CompAtNIInsertionOrders) {
    const InsertRow rows[] = {
        {"mixed", {{6, 1}, {1, 1}, {6, 2}, {8, 1}}, "H1 C1 C2 O1"},
        {"reverse", {{8, 3}, {8, 2}, {8, 1}}, "O1 O2 O3"},
        {"central first of its element", {{6, 1}, {6, -2}, {6, 3}, {6, -4}}, "C-4 C-2 C1 C3"},
        {"unknown and zero codes", {{6, 1}, {-16, 1}, {0, 1}}, "E?1 001 C1"},
        {"single", {{26, 1}}, "Fe1"},
    };
    for (const InsertRow& row : rows) {
        tSteckAt* head = nullptr;
        for (auto [element, index] : row.atoms)
            InsSortAt(MakeAtom(static_cast<std::int16_t>(element), index), &head, CompAtNI);
        EXPECT_EQ(ListLabels(head), row.expected) << row.name;
        DisposeAtList(head);
    }
}

TEST(AtomList, EqualKeysKeepReadingOrder) {
    tSteckAt* head = nullptr;
    for (int number = 1; number <= 3; ++number)
        InsSortAt(MakeAtom(6, 1, number), &head, CompAtNI);
    InsSortAt(MakeAtom(1, 1, 4), &head, CompAtNI);
    std::vector<int> numbers;
    for (const tSteckAt* atom : AtomsOf(head))
        numbers.push_back(atom->i);
    EXPECT_EQ(numbers, (std::vector<int>{4, 1, 2, 3}));
    DisposeAtList(head);
}

TEST(AtomList, DisposeListStopsAtStopNode) {
    tSteckAt* head = nullptr;
    for (int k = 0; k < 4; ++k)
        InsSortAt(MakeAtom(6, k + 1), &head, CompAtNI);
    tSteckAt* third = head->li->li;
    DisposeAtList(head, third);
    EXPECT_EQ(head, third);
    EXPECT_EQ(ListLabels(head), "C3 C4");
    DisposeList(head, head->li); // plain nodes: frees C3 only
    EXPECT_EQ(ListLabels(head), "C4");
    DisposeAtList(head);
}

TEST(AtomList, DisposeAtListFreesEverythingOwned) {
    // Runs clean under LeakSanitizer only when every owned part is freed.
    tSteckAt* atom = MakeAtom(6, 1);
    tAdjMatr* entry = test::AddEntry(atom, 2);
    entry->Chan = new tChanStack{};
    entry->Chan->li = new tChanStack{};
    test::AddEntry(atom, 3);
    atom->PMAd_ = NewAdjMatr();
    atom->Struct = new tAtData{};
    atom->DsOr = MakeAtom(1, 1);
    atom->DsOr->DsOr = MakeAtom(1, 2);
    atom->DsOr->li = MakeAtom(8, 1);
    test::AddEntry(atom->DsOr, 1);
    DisposeAtList(atom);
    EXPECT_EQ(atom, nullptr);
}

TEST(Compound, InitialisedOnlyFreesNothing) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    EXPECT_EQ(comp.SortType, staAtNI);
    EXPECT_EQ(comp.SortFunc, &CompAtNI);
    EXPECT_EQ(comp.DC.ALI[2], -1);
    EXPECT_EQ(comp.DC.ALI[5], -1);
    EXPECT_EQ(comp.DC.ALI[1], 0);
    EXPECT_EQ(comp.DC.ALI[6], 0);
    EXPECT_EQ(comp.DCOld.ALI[3], -1);
    EXPECT_EQ(comp.DC1poz, -1);
    EXPECT_EQ(comp.DC1pozOld, -1);
    EXPECT_EQ(comp.CodesOfSG[0].code, (std::array<std::uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ(comp.CodesOfSG[0].RotorTr, 1);
    EXPECT_EQ(comp.MDC.NameMChar, (tCharMAD{0, 0}));
    EXPECT_EQ(comp.MDC.RemMChar, (tCharMAD{0}));
    EXPECT_TRUE(comp.NameSG.Empty());

    FreeCompParam(comp);
    EXPECT_EQ(comp.pAt0, nullptr);
    EXPECT_EQ(comp.pAtEnd, nullptr);
    EXPECT_EQ(comp.Count, 0);
    EXPECT_EQ(comp.SortFunc, nullptr);
    EXPECT_TRUE(comp.MDC.NameMChar.empty());
}

TEST(Compound, FreeReleasesListHeldOnlyByFirstAtom) {
    // A builder that fails half-way has its atoms at pAt0 and pAtEnd still nil.
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    for (int k = 1; k <= 3; ++k)
        InsSortAt(MakeAtom(6, k), &comp.pAt0, comp.SortFunc);
    comp.pAt0->Struct = new tAtData{};
    FreeCompParam(comp);
    EXPECT_EQ(comp.pAt0, nullptr);
}

TEST(Compound, FreeReleasesImagesAndIndependentAtoms) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    comp.pAt0 = MakeAtom(6, 1);
    comp.pAt0->li = MakeAtom(8, 1);
    comp.pAtEnd = MakeAtom(6, 1); // an image before pAt0
    comp.pAtEnd->li = comp.pAt0;
    comp.MDC.CmpName = "kept";
    FreeCompParam(comp);
    EXPECT_EQ(comp.pAtEnd, nullptr);
    EXPECT_EQ(comp.pAt0, nullptr);
    EXPECT_EQ(comp.MDC.CmpName, "kept");
    FreeCompParam(comp); // twice is harmless
}

TEST(Compound, ReinitialisingAFilledCompoundReleasesIt) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    comp.pAt0 = comp.pAtEnd = MakeAtom(6, 1);
    comp.DC.code = 7;
    InitCompParam(comp, staAtNI);
    EXPECT_EQ(comp.pAt0, nullptr);
    EXPECT_EQ(comp.DC.code, 0);
}

TEST(Compound, DestructorReleasesTheLists) {
    auto comp = std::make_unique<tCompParam>();
    InitCompParam(*comp, staAtNI);
    comp->pAt0 = comp->pAtEnd = MakeAtom(6, 1);
    test::AddEntry(comp->pAt0, 1);
    comp.reset(); // LeakSanitizer checks the rest
}

TEST(Compound, BuildMElSortsBySymbol) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    // Reading order C, H, C, O, Zn, Cl; sorted by symbol: C Cl H O Zn.
    for (auto [element, index] :
         std::vector<std::pair<int, int>>{{6, 1}, {1, 1}, {6, 2}, {8, 1}, {30, 1}, {17, 1}})
        InsSortAt(MakeAtom(static_cast<std::int16_t>(element), index), &comp.pAt0, CompAtNI);
    comp.pAt0->DsOr = MakeAtom(26, 1);       // a direct child counts
    comp.pAt0->DsOr->DsOr = MakeAtom(79, 1); // a grandchild does not
    tSteckAt* image = MakeAtom(92, 1);       // images before pAt0 do not
    image->li = comp.pAt0;
    comp.pAtEnd = image;

    BuildMEl(comp);
    std::vector<std::string> symbols;
    for (const t_element& entry : comp.MEl) {
        symbols.emplace_back(ElSymbol(entry.n));
        EXPECT_EQ(entry.i, 0);
    }
    EXPECT_EQ(symbols, (std::vector<std::string>{"C", "Cl", "Fe", "H", "O", "Zn"}));
    EXPECT_EQ(comp.NumElComp, 6);
    EXPECT_EQ(comp.DC.El_, 6);

    BuildMEl(comp); // rebuilding gives the same table
    EXPECT_EQ(comp.NumElComp, 6);
}

TEST(Compound, BuildMElOfEmptyCompound) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    BuildMEl(comp);
    EXPECT_EQ(comp.NumElComp, 0);
    EXPECT_TRUE(comp.MEl.empty());
}

// The inserter must give exactly the indexes and the order of counting and InsSortAt.
TEST(AtomInserter, AgreesWithListWalkOnRandomInput) {
    std::mt19937 random(12345);
    for (int trial = 0; trial < 50; ++trial) {
        tCompParam walked;
        tCompParam fast;
        InitCompParam(walked, staAtNI);
        InitCompParam(fast, staAtNI);
        TAtomInserter inserter(fast);
        int count = 1 + static_cast<int>(random() % 200);
        for (int k = 0; k < count; ++k) {
            auto element = static_cast<std::int16_t>(static_cast<int>(random() % 8) - 1);
            bool central = random() % 5 == 0;

            int same = 0;
            for (const tSteckAt* atom = walked.pAt0; atom != nullptr; atom = atom->li)
                same += atom->A.n == element ? 1 : 0;
            int index = (1 + same) * (central ? -1 : 1);
            InsSortAt(MakeAtom(element, index, k), &walked.pAt0, CompAtNI);

            std::int32_t fastIndex = inserter.NextIndex(element) * (central ? -1 : 1);
            ASSERT_EQ(fastIndex, index);
            inserter.Insert(MakeAtom(element, fastIndex, k));
        }
        std::vector<int> walkedNumbers;
        std::vector<int> fastNumbers;
        for (const tSteckAt* atom : AtomsOf(walked.pAt0))
            walkedNumbers.push_back(atom->i);
        for (const tSteckAt* atom : AtomsOf(fast.pAt0))
            fastNumbers.push_back(atom->i);
        ASSERT_EQ(fastNumbers, walkedNumbers) << "trial " << trial;
    }
}

TEST(AtomInserter, ArbitraryIndexesAgreeWithInsSortAt) {
    std::mt19937 random(777);
    for (int trial = 0; trial < 50; ++trial) {
        tCompParam walked;
        tCompParam fast;
        InitCompParam(walked, staAtNI);
        InitCompParam(fast, staAtNI);
        TAtomInserter inserter(fast);
        for (int k = 0; k < 150; ++k) {
            auto element = static_cast<std::int16_t>(random() % 5);
            std::int32_t index = inserter.NextIndex(element);
            switch (random() % 4) {
            case 0:
                index = -index;
                break;
            case 1:
                index = static_cast<std::int32_t>(random() % 20) - 10;
                break;
            default:
                break;
            }
            InsSortAt(MakeAtom(element, index, k), &walked.pAt0, CompAtNI);
            inserter.Insert(MakeAtom(element, index, k));
        }
        std::vector<int> walkedNumbers;
        std::vector<int> fastNumbers;
        for (const tSteckAt* atom : AtomsOf(walked.pAt0))
            walkedNumbers.push_back(atom->i);
        for (const tSteckAt* atom : AtomsOf(fast.pAt0))
            fastNumbers.push_back(atom->i);
        ASSERT_EQ(fastNumbers, walkedNumbers) << "trial " << trial;
    }
}

TEST(AtomInserter, UnsortedListFallsBackToTheWalk) {
    tCompParam comp;
    InitCompParam(comp, staAtNI);
    comp.pAt0 = MakeAtom(8, 1, 1);
    comp.pAt0->li = MakeAtom(6, 1, 2); // not in CompAtNI order
    TAtomInserter inserter(comp);
    EXPECT_EQ(inserter.NextIndex(6), 2);
    inserter.Insert(MakeAtom(7, 1, 3)); // InsSortAt puts it before O1
    EXPECT_EQ(ListLabels(comp.pAt0), "N1 O1 C1");
}

} // namespace
} // namespace ormaline
