// The selection files byte for byte for one selection of a water molecule beside a
// carbon, the graph file read back by the graph-file reader, the save dialog's type
// changes, and the neighbour table's order, numbering and column statistics.
#include "viewer/core/ViewTestSupport.h"

#include "model/ColourNames.h"
#include "model/Errors.h"
#include "model/MolTextReader.h"
#include "model/TextFile.h"
#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/NeighbourTable.h"
#include "viewer/interact/core/SelectionFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace ormaline {
namespace {

constexpr std::int16_t H = 1, C = 6, O = 8, Cu = 29;

class SelectionFiles : public ::testing::Test {
protected:
    // Oxygen 1 bonded to hydrogens 2 and 3 and to carbon 4, in a 10 x 11 x 12 A cell.
    void SetUp() override {
        test::FillCompound(scene, {10, 11, 12}, {90, 90, 90},
                           {{O, {0.50, 0.40, 0.30}, {{2, 1}, {3, 1}, {4, 1}}},
                            {H, {0.58, 0.45, 0.30}, {{1, 1}}},
                            {H, {0.42, 0.45, 0.30}, {{1, 1}}},
                            {C, {0.90, 0.40, 0.30}, {{1, 1}}}});
        scene.CompParamMaler.DC.code = 77;
        scene.CompParamMaler.MDC.CmpName = "water";
        ASSERT_TRUE(test::Build(scene));
        test::NodeOfAtom(scene, 1)->lAColor = 0x0000FF;
        // Oxygen plain, hydrogen 2 with Ctrl, hydrogen 3 plain: newest first 3, 2, 1.
        for (const auto& [number, colour] : {std::pair{1, 1}, {2, 2}, {3, 1}}) {
            scene.PTMAt = test::NodeOfAtom(scene, number);
            SpecAt(scene, colour);
        }
        folder = std::filesystem::temp_directory_path() /
                 ("ormaline-selection-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        GraphDirectory().clear();
    }
    static std::string Bytes(const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        return content.str();
    }
    std::string Saved(int type, const char* name) {
        const std::string path = (folder / name).string();
        WriteSelectionFile(path, SelectionFileLines(scene, type, path));
        return Bytes(path);
    }

    TLVScene scene;
    std::filesystem::path folder;
};

TEST_F(SelectionFiles, TintGraphAndTextBytes) {
    const std::string tint = (folder / "w.tnt").string();
    // Cartesian positions about the cell centre: (f - 0.5) times the edges.
    EXPECT_EQ(Saved(sftTint, "w.tnt"), "3 " + tint +
                                           "\r\n"
                                           "H 3 -0.800 -0.550 -2.400 1\r\n"
                                           "H 2 0.800 -0.550 -2.400 2\r\n"
                                           "O 1 0.000 -1.100 -2.400 1\r\n");
    // Numbered in selection order; the Ctrl atom is central; the bond to the carbon,
    // which is not selected, is left out.
    EXPECT_EQ(Saved(sftGraph, "w.gph"), "VER=1;77::water\r\n"
                                        "10.000 11.000 12.000 90.00 90.00 90.00\r\n"
                                        "1 H[1,?]<$FFFFFFFF> 0.420 0.450 0.300 3 v \r\n"
                                        "*2 H[1,?]<$FFFFFFFF> 0.580 0.450 0.300 3 v \r\n"
                                        "3 O[1,?]<clRed> 0.500 0.400 0.300 2 v 1 v \r\n");
    const std::string text = (folder / "w.txt").string();
    EXPECT_EQ(Saved(sftText, "w.txt"), "0 " + text +
                                           "\r\n"
                                           "1 H 3 0.4200 0.4500 0.3000 1\r\n"
                                           "2 H 2 0.5800 0.4500 0.3000 2\r\n"
                                           "3 O 1 0.5000 0.4000 0.3000 1\r\n");
    // Without a selection: the header, and the cell line of the graph file.
    NotInsAllAtom(scene);
    EXPECT_EQ(Saved(sftTint, "e.tnt"), "3 " + (folder / "e.tnt").string() + "\r\n");
    EXPECT_EQ(Saved(sftGraph, "e.gph"),
              "VER=1;77::water\r\n10.000 11.000 12.000 90.00 90.00 90.00\r\n");
}

TEST_F(SelectionFiles, GraphFileReadsBackWithItsAtomsAndBonds) {
    const std::string path = (folder / "w.gph").string();
    WriteSelectionFile(path, GraphFileLines(scene));
    std::vector<std::string> lines;
    ReadTextFileLines(path, lines);
    tCompParam comp;
    std::vector<std::string> reports;
    ASSERT_TRUE(ReadMolText(lines, comp, [&](const std::string& m) { reports.push_back(m); }));
    EXPECT_TRUE(reports.empty());
    struct TRead {
        std::int16_t n;
        std::int32_t i;
        int bonds;
    };
    std::vector<TRead> atoms;
    for (const tSteckAt* atom = comp.pAtEnd; atom != nullptr; atom = atom->li) {
        int bonds = 0;
        for (const tAdjMatr* entry = atom->PMAd; entry != nullptr; entry = entry->li)
            bonds += entry->m == bkValence ? 1 : 100;
        atoms.push_back({atom->A.n, atom->A.i, bonds});
    }
    // Ordered by element and index; the central hydrogen has a negative index.
    ASSERT_EQ(atoms.size(), 3u);
    std::sort(atoms.begin(), atoms.end(),
              [](const TRead& a, const TRead& b) { return a.n != b.n ? a.n < b.n : a.i < b.i; });
    EXPECT_EQ(atoms[0].n, H);
    EXPECT_LT(atoms[0].i, 0);
    EXPECT_EQ(atoms[0].bonds, 1);
    EXPECT_EQ(atoms[1].n, H);
    EXPECT_GT(atoms[1].i, 0);
    EXPECT_EQ(atoms[1].bonds, 1);
    EXPECT_EQ(atoms[2].n, O);
    EXPECT_EQ(atoms[2].bonds, 2);
    EXPECT_FLOAT_EQ(comp.DC.Tr[1], 11.0f);
}

// A copper bonded to the image of an oxygen in the next cell along a: the bond is open,
// the table marks it "+" with the image's position, and no graph file carries it.
TEST(OpenBonds, AreMarkedInTheTableAndLeftOutOfGraphFiles) {
    TLVScene scene;
    test::FillCubic(scene, 10.0f,
                    {{Cu, {0.95, 0.50, 0.50}, {{2, 1, {1, 0, 0}}}},
                     {O, {0.05, 0.50, 0.50}, {{1, 1, {-1, 0, 0}}}}});
    ASSERT_TRUE(test::Build(scene));
    tTopAt* copper = test::NodeOfAtom(scene, 1);
    const std::vector<TNeighbourRow> rows = NeighbourRows(*copper);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], "O(2)");
    EXPECT_EQ(rows[0][2], "+");
    EXPECT_EQ(rows[0][3], " 1.050");
    EXPECT_EQ(rows[0][6], "  1.000");
    for (const int number : {1, 2}) {
        scene.PTMAt = test::NodeOfAtom(scene, number);
        SpecAt(scene, 1);
    }
    const std::vector<std::string> lines = GraphFileLines(scene);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "1 O[1,?]<$FFFFFFFF> 0.050 0.500 0.500 ");
    EXPECT_EQ(lines[3], "2 Cu[1,?]<$FFFFFFFF> 0.950 0.500 0.500 ");
}

TEST_F(SelectionFiles, WriteErrorsSayWhy) {
    EXPECT_THROW(WriteSelectionFile((folder / "missing" / "x.tnt").string(), {"3 x"}), EInOutError);
}

TEST(ColourNames, IdentifiersAndHexadecimal) {
    const std::vector<std::pair<std::int32_t, std::string>> cases{
        {0x000000, "clBlack"},
        {0x0000FF, "clRed"},
        {static_cast<std::int32_t>(0xF0CAA6), "clSkyBlue"},
        {0x20000000, "clDefault"},
        {0x1FFFFFFF, "clNone"},
        {static_cast<std::int32_t>(0xFF000000u), "clScrollBar"},
        {static_cast<std::int32_t>(0xFF00001Eu), "clMenuBar"},
        {static_cast<std::int32_t>(0xFF000008u), "clWindowText"},
        {-1, "$FFFFFFFF"},
        {0x00123456, "$00123456"},
        {static_cast<std::int32_t>(0xFF00001Fu), "$FF00001F"},
    };
    for (const auto& [value, name] : cases)
        EXPECT_EQ(ColourName(value), name) << value;
}

TEST(SaveSelectionDialog, TypeChangeReopensInTheGraphFolder) {
    GraphDirectory() = "/data/graphs";
    std::vector<std::pair<int, TSaveStart>> runs;
    int filterIndex = sftTint;
    int call = 0;
    const std::optional<std::string> chosen =
        ChooseSelectionFile(filterIndex, [&](int index, const TSaveStart& start) {
            runs.emplace_back(index, start);
            TSaveRun run;
            if (++call == 1) {
                run.typeChanged = true;
                run.filterIndex = sftGraph;
            } else {
                run.fileName = "/home/user/frag/a.gph";
                run.filterIndex = index;
            }
            return run;
        });
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (std::pair<int, TSaveStart>{sftTint, {"", "tnt"}}));
    EXPECT_EQ(runs[1], (std::pair<int, TSaveStart>{sftGraph, {"/data/graphs", "gph"}}));
    EXPECT_EQ(chosen, "/home/user/frag/a.gph");
    EXPECT_EQ(filterIndex, sftGraph);
    EXPECT_EQ(GraphDirectory(), "/home/user/frag");
    // Cancel ends it and keeps the folder.
    const std::optional<std::string> cancelled =
        ChooseSelectionFile(filterIndex, [](int index, const TSaveStart&) {
            TSaveRun run;
            run.filterIndex = index;
            return run;
        });
    EXPECT_FALSE(cancelled.has_value());
    EXPECT_EQ(GraphDirectory(), "/home/user/frag");
    GraphDirectory().clear();
}

// A copper with oxygens at 2.10 A (+a), 1.95 A (-a) and 2.30 A (+b) in a 10 A cell.
class NeighbourTable : public ::testing::Test {
protected:
    void SetUp() override {
        test::FillCubic(scene, 10.0f,
                        {{Cu, {0.45, 0.40, 0.35}, {{2, 1}, {3, 1}, {4, 1}}},
                         {O, {0.66, 0.40, 0.35}, {{1, 1}}},
                         {O, {0.255, 0.40, 0.35}, {{1, 1}}},
                         {O, {0.45, 0.63, 0.35}, {{1, 1}}}});
        ASSERT_TRUE(test::Build(scene));
        rows = NeighbourRows(*test::NodeOfAtom(scene, 1));
        SortNeighbourRows(rows, sort);
        NumberNeighbourRows(rows);
    }
    std::vector<std::string> Column(std::size_t column) const {
        std::vector<std::string> texts;
        for (const TNeighbourRow& row : rows)
            texts.push_back(row[column]);
        return texts;
    }
    std::vector<const TNeighbourRow*> All() const {
        std::vector<const TNeighbourRow*> all;
        for (const TNeighbourRow& row : rows)
            all.push_back(&row);
        return all;
    }
    TLVScene scene;
    TNeighbourSort sort;
    std::vector<TNeighbourRow> rows;
};

std::string Stat(double mean, double variance) {
    char text[64];
    std::snprintf(text, sizeof text, "%7.4f(%7.4f)", mean, variance);
    return text;
}

TEST_F(NeighbourTable, OpensByLengthAndSortsBothWays) {
    EXPECT_EQ(NeighbourCaption(*test::NodeOfAtom(scene, 1)), " Cu(1) ( 0.450, 0.400, 0.350)");
    EXPECT_EQ(Column(6), (std::vector<std::string>{"  1.950", "  2.100", "  2.300"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"O(3)", "O(2)", "O(4)"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"-", "-", "-"}));
    EXPECT_EQ(rows[0][3], " 0.255");
    // The first click sorts descending, the next ascending again; the numbers stay.
    ClickNeighbourColumn(rows, sort, 6);
    EXPECT_EQ(Column(6), (std::vector<std::string>{"  2.300", "  2.100", "  1.950"}));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"3", "2", "1"}));
    ClickNeighbourColumn(rows, sort, 6);
    EXPECT_EQ(Column(6), (std::vector<std::string>{"  1.950", "  2.100", "  2.300"}));
    // Another column turns the direction over too: the atoms descending by text.
    ClickNeighbourColumn(rows, sort, 1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"O(4)", "O(3)", "O(2)"}));
}

TEST_F(NeighbourTable, ColumnStatisticsAndWhenThereAreNone) {
    const double mean = (2.10 + 1.95 + 2.30) / 3.0;
    const double variance = ((2.10 - mean) * (2.10 - mean) + (1.95 - mean) * (1.95 - mean) +
                             (2.30 - mean) * (2.30 - mean)) /
                            3.0;
    EXPECT_EQ(ColumnStatistics(All(), 6),
              "Mean of Column (r, A) in number 3 equal to: " + Stat(mean, variance));
    // Two selected rows only.
    EXPECT_EQ(ColumnStatistics({&rows[0], &rows[2]}, 6),
              "Mean of Column (r, A) in number 2 equal to: " +
                  Stat((1.95 + 2.30) / 2, 0.175 * 0.175));
    // No numbers in the atom column; nothing for the row numbers.
    EXPECT_FALSE(ColumnStatistics(All(), 1).has_value());
    EXPECT_FALSE(ColumnStatistics(All(), 0).has_value());
    // Every partner with a negative coordinate: the mean is not above 1e-7.
    for (TNeighbourRow& row : rows)
        row[3] = "-0.250";
    EXPECT_FALSE(ColumnStatistics(All(), 3).has_value());
    // The last row examined holds no number.
    rows[2][6] = "x";
    EXPECT_FALSE(ColumnStatistics(All(), 6).has_value());
    // Texts that are not numbers count as 10,000,000 when compared.
    TNeighbourSort byLength;
    EXPECT_EQ(ListView1Compare(rows[2], rows[0], byLength), 1);
    byLength.RightClick = true;
    EXPECT_EQ(ListView1Compare(rows[2], rows[0], byLength), -1);
    EXPECT_EQ(ListView1Compare(rows[2], rows[2], byLength), 0);
}

} // namespace
} // namespace ormaline
