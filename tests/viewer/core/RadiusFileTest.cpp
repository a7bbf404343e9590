#include "viewer/core/RadiusFile.h"

#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace ormaline {
namespace {

TEST(RadiusFile, SiLineWithFurtherWordChangesOnlySilicon) {
    TElementValues radii = ElementRadiiTable(0);
    const TRadiusReadResult result = ReadRadiusText("Si 1.17 extra", radii);
    EXPECT_EQ(result.applied, 1);
    EXPECT_TRUE(result.skippedLines.empty());
    for (int code = 0; code <= 120; ++code) {
        if (code == 14)
            EXPECT_FLOAT_EQ(radii[code], 1.17f);
        else
            EXPECT_EQ(radii[code], ElementRadiiTable(0)[code]) << code;
    }
}

struct LineCase {
    const char* text;
    int applied;
    std::vector<int> skipped;
};

class RadiusLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(RadiusLines, SkipsBadLinesAndKeepsTheRest) {
    const LineCase& c = GetParam();
    TElementValues radii = ElementRadiiTable(1);
    const TRadiusReadResult result = ReadRadiusText(c.text, radii);
    EXPECT_EQ(result.applied, c.applied);
    EXPECT_EQ(result.skippedLines, c.skipped);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadiusLines,
    ::testing::Values(LineCase{"", 0, {}}, LineCase{"\r\n\r\n", 0, {}},
                      LineCase{"Qq 1.0\r\nC 0.8", 1, {1}},   // unknown symbol
                      LineCase{"C abc\nN 0.7\n", 1, {1}},    // invalid number
                      LineCase{"C\nN 0.7", 1, {1}},          // number missing
                      LineCase{"c 0.8", 0, {1}},             // symbols are case-sensitive
                      LineCase{"Me 1.0\n00 1.0", 0, {1, 2}}, // groups and code 0 have no radius
                      LineCase{"C -0.5\nN 101\nO 1e400", 0, {1, 2, 3}}, // out of range
                      LineCase{"C 1,5", 0, {1}},                        // decimal comma
                      LineCase{"  C   0.9  \tO 1.1", 1, {}},            // blanks around words
                      LineCase{"Fe 1.3\rCu 1.2\nZn 1.1", 3, {}}));

TEST(RadiusFile, InvalidLinesDoNotChangeTheirEntry) {
    TElementValues radii = ElementRadiiTable(0);
    ReadRadiusText("C abc\nN -1\nO 0.61", radii);
    EXPECT_FLOAT_EQ(radii[6], 0.70f);
    EXPECT_FLOAT_EQ(radii[7], 0.65f);
    EXPECT_FLOAT_EQ(radii[8], 0.61f);
}

TEST(RadiusFile, WrittenTextHasOneLinePerElement) {
    const std::string text = WriteRadiusText(ElementRadiiTable(0));
    EXPECT_EQ(text.substr(0, 15), "H 0.25\r\nHe 0.00");
    EXPECT_NE(text.find("\r\nC 0.70\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nZJ 1.20\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 120);
    EXPECT_EQ(text.find("00 "), std::string::npos);
}

TEST(RadiusFile, SaveAndLoadReproduceTheTableToTwoDecimals) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> value(0.0f, 99.0f);
    TElementValues radii{};
    for (int code = 1; code <= 120; ++code)
        radii[code] = value(random);
    const auto path = std::filesystem::temp_directory_path() / "ormaline_radii_test.rad";
    SaveRadiusFile(path.string(), radii);
    TElementValues loaded{};
    TRadiusReadResult result;
    ASSERT_TRUE(LoadRadiusFile(path.string(), loaded, &result));
    EXPECT_EQ(result.applied, 120);
    for (int code = 1; code <= 120; ++code)
        EXPECT_NEAR(loaded[code], radii[code], 0.005 + 1e-5) << code;
    EXPECT_EQ(loaded[0], 0.0f);
    std::filesystem::remove(path);
}

TEST(RadiusFile, MissingFileChangesNothing) {
    TElementValues radii = ElementRadiiTable(0);
    EXPECT_FALSE(LoadRadiusFile("/nonexistent/dir/radii.rad", radii));
    EXPECT_EQ(radii, ElementRadiiTable(0));
}

TEST(RadiusFile, UnwritablePathThrowsWithTheFileName) {
    try {
        SaveRadiusFile("/nonexistent/dir/radii.rad", ElementRadiiTable(0));
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/dir/radii.rad"), std::string::npos);
    }
}

} // namespace
} // namespace ormaline
