// Delete, Restore and Show All on a built scene, row by row of their rule tables, each
// row undone back to the scene it started from; the bond primitives and the undo history
// around them.
//
// The scene (cubic cell of 10 angstrom, bonds by distance): carbon 1 at the cell centre
// between oxygens 2 and 3 (1.2 angstrom each side along a); carbon 4 on the face c = 0
// with oxygen 5 beside it, both shown twice (at c = 0 and c = 1, named "4-", "4+", "5-",
// "5+"), each copy bonded to its neighbour; hydrogen 6 and nitrogen 7 without bonds.
#include "viewer/core/ViewTestSupport.h"

#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/Editing.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace ormaline {
namespace {

using TNames = std::set<std::string>;

class Editing : public ::testing::Test {
protected:
    void SetUp() override {
        scene.WLVO.AdjMatrix = 0;
        test::FillCubic(scene, 10.0f,
                        {{6, {0.5, 0.5, 0.5}},
                         {8, {0.62, 0.5, 0.5}},
                         {8, {0.38, 0.5, 0.5}},
                         {6, {0.5, 0.5, 0.0}},
                         {8, {0.62, 0.5, 0.0}},
                         {1, {0.5, 0.9, 0.6}},
                         {7, {0.85, 0.6, 0.5}}});
        test::BuildAndProject(scene);
        ASSERT_EQ(History().UndoCount(), 0);
        ASSERT_EQ(AtomBonds().size(), 8u);
    }

    TUndoHistory& History() { return scene.UndoHistory; }

    static std::string Name(const tTopAt& node) {
        if (node.pSAt == nullptr || node.pSAt->A.n == 0)
            return node.k[0] > 0 ? "corner+" : "corner-";
        std::string name = std::to_string(node.pSAt->i);
        if (node.pSAt->i == 4 || node.pSAt->i == 5)
            name += node.k[2] > 0 ? "+" : "-";
        return name;
    }
    std::vector<tTopAt*> Named(const std::string& name) {
        std::vector<tTopAt*> nodes;
        for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
            if (Name(*node) == name)
                nodes.push_back(node);
        return nodes;
    }
    tTopAt* Node(const std::string& name) {
        const std::vector<tTopAt*> nodes = Named(name);
        EXPECT_EQ(nodes.size(), 1u) << name;
        return nodes.empty() ? nullptr : nodes.front();
    }
    void Select(const std::string& name, int colour) {
        scene.PTMAt = Node(name);
        SpecAt(scene, colour);
    }
    // Bonds between atoms, "from>to", with their shown bit.
    std::map<std::string, bool> AtomBonds() {
        std::map<std::string, bool> bonds;
        for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
            for (const tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
                bonds[Name(*node) + ">" + Name(*bond->p)] = (bond->c & kBondShown) != 0;
        return bonds;
    }
    TNames HiddenNodes() {
        TNames names;
        for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
            if ((node->c & kNodeVisible) == 0)
                names.insert(Name(*node));
        return names;
    }
    TNames HiddenBonds() {
        TNames names;
        for (const auto& [name, shown] : AtomBonds())
            if (!shown)
                names.insert(name);
        return names;
    }
    void SetBond(const std::string& from, const std::string& to, bool shown) {
        for (tBoundAt* bond = Node(from)->p; bond != nullptr; bond = bond->li)
            if (Name(*bond->p) == to)
                bond->c = shown ? static_cast<std::uint8_t>(bond->c | kBondShown)
                                : static_cast<std::uint8_t>(bond->c & ~kBondShown);
    }
    // Everything undo must put back: node bits in list order, every bond, the selection.
    struct TSnapshot {
        std::vector<int> c;
        std::vector<std::vector<test::TBondRecord>> bonds;
        std::vector<std::pair<std::string, int>> selection;
        bool operator==(const TSnapshot&) const = default;
    };
    TSnapshot Snapshot() {
        TSnapshot snapshot;
        for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
            snapshot.c.push_back(node->c);
        snapshot.bonds = test::BondTable(scene);
        for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
            snapshot.selection.emplace_back(Name(*record->PTA), record->col);
        return snapshot;
    }
    std::vector<std::string> Remarks() {
        std::vector<std::string> remarks;
        for (int i = 0; i < History().UndoCount(); ++i)
            remarks.push_back(History().ArrState()[static_cast<std::size_t>(i)].KSRemStr);
        return remarks;
    }
    void UndoAll() {
        while (History().UndoCount() > 0)
            ASSERT_TRUE(History().actUndoExecute(800, 600, nullptr).done);
    }

    TLVScene scene;
};

const TNames kAllBonds{"1>2", "1>3", "2>1", "3>1", "4->5-", "5->4-", "4+>5+", "5+>4+"};
const TNames kNoNames{};

TNames Without(TNames names, const TNames& removed) {
    for (const std::string& name : removed)
        names.erase(name);
    return names;
}

struct TEditRow {
    const char* name;
    bool restore;                                       // Restore, else Delete
    std::vector<std::pair<std::string, int>> hide;      // hidden first, with these bits
    TNames hideBonds;                                   // bonds hidden first
    std::vector<std::pair<std::string, int>> selection; // in selection order
    std::vector<std::string> remarks;                   // the states recorded
    TNames hiddenNodes;                                 // afterwards
    TNames hiddenBonds;
    TNames newBonds;
    std::map<std::string, int> bits; // c of these nodes afterwards
};

// Names of the corners beyond the plane through 2, 6 and 5- (20 x + 6 y = 24 in
// angstrom, origin on the near side): the four corners at x = +5.
const TNames kBeyondPlane{"7", "corner+"};

const std::vector<TEditRow> kEditRows{
    {"DeleteColour1HidesTheAtoms",
     false,
     {},
     {},
     {{"1", 1}, {"2", 1}},
     {"Select", "Delete atom"},
     {"1", "2"},
     {},
     {},
     {{"1", 32}, {"2", 32}}},
    {"DeleteColour2HidesTheAtomAsKindMember",
     false,
     {},
     {},
     {{"5-", 2}},
     {"Select", "Delete atom"},
     {"5-"},
     {},
     {},
     {{"5-", 64}, {"5+", 2}}},
    {"DeleteTwoColour3HidesBoth",
     false,
     {},
     {},
     {{"2", 3}, {"3", 3}},
     {"Select", "Delete atom"},
     {"2", "3"},
     {},
     {},
     {{"2", 96}, {"3", 96}}},
    {"DeleteOneColour3HidesNothing", false, {}, {}, {{"2", 3}}, {"Select"}, {}, {}, {}, {}},
    {"DeleteColour1And2HidesBondsBetweenTheElements",
     false,
     {},
     {},
     {{"1", 1}, {"2", 2}},
     {"Select", "Delete bond"},
     {},
     kAllBonds,
     {},
     {}},
    {"DeleteColour3And1HidesTheBondBetweenThem",
     false,
     {},
     {},
     {{"1", 3}, {"2", 1}},
     {"Select", "Delete bond"},
     {},
     {"1>2", "2>1"},
     {},
     {}},
    {"DeleteColour2And3HidesBondsBetweenTheKinds",
     false,
     {},
     {},
     {{"4-", 2}, {"5-", 3}},
     {"Select", "Delete bond"},
     {},
     {"4->5-", "5->4-", "4+>5+", "5+>4+"},
     {},
     {}},
    {"DeleteThreeColour3CutsThePlane",
     false,
     {},
     {},
     {{"5-", 3}, {"6", 3}, {"2", 3}},
     {"Select", "Delete region"},
     kBeyondPlane,
     {},
     {},
     {{"7", 0}}},
    {"DeleteWithoutRuleOnlyDropsTheSelection",
     false,
     {},
     {},
     {{"1", 2}, {"2", 3}, {"3", 1}},
     {"Select"},
     {},
     {},
     {},
     {}},
    {"RestoreOneColour2ShowsEveryCopy",
     true,
     {{"5-", 64}},
     {},
     {{"5+", 2}},
     {},
     {},
     {},
     {},
     {{"5-", 2}}},
    {"RestoreOneColour3ShowsTheElement",
     true,
     {{"3", 32}, {"5-", 96}},
     {},
     {{"2", 3}},
     {},
     {},
     {},
     {},
     {{"3", 2}, {"5-", 2}}},
    {"RestoreColour1And2ShowsBondsBetweenTheKinds",
     true,
     {},
     kAllBonds,
     {{"1", 1}, {"2", 2}},
     {"Restore bond"},
     {},
     Without(kAllBonds, {"1>2", "2>1"}),
     {},
     {}},
    {"RestoreColour3And1ShowsTheBondBetweenThem",
     true,
     {},
     kAllBonds,
     {{"3", 3}, {"1", 1}},
     {"Restore bond"},
     {},
     Without(kAllBonds, {"1>3", "3>1"}),
     {},
     {}},
    {"RestoreTwoColour2JoinsEqualLengthsOnly",
     true,
     {},
     kAllBonds,
     {{"1", 2}, {"2", 2}},
     {"Restore bond"},
     {},
     kAllBonds,
     {},
     {}},
    {"RestoreColour2And3ShowsBondsBetweenTheElements",
     true,
     {},
     kAllBonds,
     {{"4-", 2}, {"5-", 3}},
     {"Restore bond"},
     {},
     {},
     {},
     {}},
    {"RestoreTwoColour3AddsABond",
     true,
     {},
     {},
     {{"2", 3}, {"3", 3}},
     {"Add new bond"},
     {},
     {},
     {"2>3", "3>2"},
     {}},
    {"RestoreTwoColour3AlreadyBondedAddsNothing",
     true,
     {},
     {},
     {{"1", 3}, {"2", 3}},
     {},
     {},
     {},
     {},
     {}},
    {"RestoreThreeColour3ShowsBeyondThePlane",
     true,
     {{"7", 0}, {"corner+", 16}},
     {},
     {{"5-", 3}, {"6", 3}, {"2", 3}},
     {"Restore region"},
     {},
     {},
     {},
     {{"7", 2}}},
    {"RestoreColour1ShowsItsBondsAndPartners",
     true,
     {{"2", 32}},
     {"1>2", "2>1"},
     {{"1", 1}},
     {"Restore all bonds"},
     {},
     {"2>1"},
     {},
     {{"2", 34}}},
    {"RestoreWithoutRuleKeepsTheSelection",
     true,
     {},
     {},
     {{"1", 2}, {"2", 3}, {"3", 1}},
     {},
     {},
     {},
     {},
     {}},
};

void PrintTo(const TEditRow& row, std::ostream* out) {
    *out << row.name;
}

class EditRows : public Editing, public ::testing::WithParamInterface<TEditRow> {};

TEST_P(EditRows, ApplyAndUndo) {
    const TEditRow& row = GetParam();
    for (const auto& [name, bits] : row.hide)
        for (tTopAt* node : Named(name))
            node->c = static_cast<std::uint8_t>(bits);
    for (const std::string& bond : row.hideBonds) {
        const auto split = bond.find('>');
        SetBond(bond.substr(0, split), bond.substr(split + 1), false);
    }
    for (const auto& [name, colour] : row.selection)
        Select(name, colour);
    const TSnapshot before = Snapshot();
    const TNames bondsBefore = [&] {
        TNames names;
        for (const auto& [name, shown] : AtomBonds())
            names.insert(name);
        return names;
    }();

    if (row.restore)
        Restore1Click(scene);
    else
        Delete1Click(scene);

    EXPECT_EQ(Remarks(), row.remarks);
    EXPECT_EQ(HiddenNodes(), row.hiddenNodes);
    EXPECT_EQ(HiddenBonds(), row.hiddenBonds);
    TNames bondsAfter;
    for (const auto& [name, shown] : AtomBonds())
        if (bondsBefore.count(name) == 0)
            bondsAfter.insert(name);
    EXPECT_EQ(bondsAfter, row.newBonds);
    for (const auto& [name, bits] : row.bits)
        EXPECT_EQ(Node(name)->c, bits) << name;
    // Delete drops the selection; Restore keeps it.
    EXPECT_EQ(Snapshot().selection.size(), row.restore ? before.selection.size() : 0u);

    // Every recorded state undone gives the scene back; the kind restores record none.
    if (!row.remarks.empty()) {
        UndoAll();
        EXPECT_TRUE(Snapshot() == before);
    }
    EXPECT_EQ(History().UndoCaption(), "Undo");
    EXPECT_EQ(History().UndoCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rules, EditRows, ::testing::ValuesIn(kEditRows),
                         [](const auto& rowInfo) { return std::string(rowInfo.param.name); });

TEST_F(Editing, ShowAllShowsEveryNodeAndBondAndIsUndone) {
    Node("2")->c = 32;
    Node("5-")->c = 96;
    Named("corner+")[0]->c = 16;
    SetBond("1", "3", false);
    const TSnapshot before = Snapshot();
    RestoreAll1Click(scene);
    EXPECT_EQ(HiddenNodes(), kNoNames);
    EXPECT_EQ(HiddenBonds(), kNoNames);
    EXPECT_EQ(Node("2")->c, 2);
    EXPECT_EQ(Node("5-")->c, 2);
    EXPECT_EQ(Remarks(), std::vector<std::string>{"Restore all"});
    EXPECT_EQ(History().UndoCaption(), "Undo: Restore all");
    EXPECT_EQ(History().UndoHint(), "Undo Restore all");
    UndoAll();
    EXPECT_TRUE(Snapshot() == before);
}

TEST_F(Editing, EqualLengthBondsJoinEveryPairOfTheTwoElementsAtThatDistance) {
    TLVScene bare;
    test::PlainScreenAxes(bare); // no bonds
    test::FillCubic(bare, 10.0f,
                    {{6, {0.5, 0.5, 0.5}},
                     {8, {0.62, 0.5, 0.5}},
                     {8, {0.38, 0.5, 0.5}},
                     {8, {0.5, 0.62, 0.5}},
                     {8, {0.5, 0.5, 0.625}}}); // 1.25 angstrom: not the same length
    test::BuildAndProject(bare);
    const auto node = [&](int number) { return test::NodeOfAtom(bare, number); };
    bare.PTMAt = node(1);
    SpecAt(bare, 2);
    bare.PTMAt = node(2);
    SpecAt(bare, 2);
    const TSnapshot before = [&] {
        std::swap(scene.WPTAll, bare.WPTAll); // Snapshot reads `scene`
        TSnapshot s = Snapshot();
        std::swap(scene.WPTAll, bare.WPTAll);
        return s;
    }();
    Restore1Click(bare);
    // C1 to O2, O3 and O4 in both directions; O5 is 1.25 angstrom away.
    for (int oxygen : {2, 3, 4}) {
        ASSERT_EQ(test::Bonds(*node(oxygen)).size(), 1u) << oxygen;
        EXPECT_EQ(test::Bonds(*node(oxygen))[0]->p, node(1));
        EXPECT_EQ(test::Bonds(*node(oxygen))[0]->cb, cbValence);
    }
    EXPECT_EQ(test::Bonds(*node(1)).size(), 3u);
    EXPECT_TRUE(test::Bonds(*node(5)).empty());
    // Recorded before the bonds were made, "Restore bond" leaves them to the next state.
    EXPECT_EQ(bare.UndoHistory.UndoCount(), 1);
    ASSERT_NE(bare.UndoHistory.WEditStack(), nullptr);
    KeepState(bare, 3, "Select");
    ASSERT_TRUE(bare.UndoHistory.actUndoExecute(800, 600, nullptr).done);
    EXPECT_TRUE(test::Bonds(*node(1)).empty());
    ASSERT_TRUE(bare.UndoHistory.actUndoExecute(800, 600, nullptr).done);
    std::swap(scene.WPTAll, bare.WPTAll);
    const TSnapshot after = Snapshot();
    std::swap(scene.WPTAll, bare.WPTAll);
    EXPECT_TRUE(after == before);
}

TEST_F(Editing, SelectionCountersOfCtrlPairsAndAShiftAtom) {
    Select("1", 2);
    Select("2", 2);
    EXPECT_EQ(scene.NumInsAt, 0x20000u);
    EXPECT_EQ(scene.CountInsAt, 2);
    NotInsAllAtom(scene);
    Select("3", 3);
    EXPECT_EQ(scene.NumInsAt, 0x10001u);
    EXPECT_EQ(scene.CountInsAt, 1);
}

TEST_F(Editing, CollinearPlaneAtomsCutNothing) {
    // 1, 2 and 3 lie on the a axis through the origin: ref = 0.
    Select("1", 3);
    Select("2", 3);
    Select("3", 3);
    Delete1Click(scene);
    EXPECT_EQ(HiddenNodes(), kNoNames);
}

} // namespace
} // namespace ormaline
