// The viewer's PDB and HyperChem texts byte for byte, and the arithmetic of the clipboard
// bitmap and the printed page.
#include "viewer/core/CoordinateExport.h"

#include "HandSceneSupport.h"
#include "viewer/core/ImageOutput.h"

#include <gtest/gtest.h>

using namespace ormaline;
using namespace ormaline::test;

namespace {

constexpr const char* CRLF = "\r\n";

std::string Pad(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

tTopAt& Shown(tTopAt& node) {
    node.c |= kNodePainted; // processed by the last paint
    return node;
}

TEST(PdbAtomLine, ColumnsNameResidueOccupancyAndCharge) {
    THandScene hand;
    tTopAt& calcium = hand.Add(20, 123, 1.5, -2.25, 10, 1, 2);
    tTopAt& oxygen = hand.Add(8, 1, -0.0004, 0, 123.4567, 1, 2);
    struct Case {
        const char* title;
        tTopAt* node;
        int serial;
        float s;
        int degOx;
        std::string expected;
    };
    const std::string head = "HETATM    7 Ca12   7 A   1       1.500  -2.250  10.000";
    const std::vector<Case> cases = {
        {"2-letter symbol and 3-digit index: name cut to 4", &calcium, 7, 3.0f, 16,
         Pad(head + "  1.00", 76) + "Ca  "},
        {"serial 1000: residue 000; occupancy from the fraction of S; negative charge", &oxygen,
         1000, 2.35f, -2,
         Pad("HETATM 1000 O1   000 A   1       0.000   0.000 123.457  0.35", 76) + "O-2"},
        {"flag bits leave the charge", &calcium, 7, 3.0f, 64 + 2,
         Pad(head + "  1.00", 76) + "Ca 2"},
        {"magnitude 16 after the flags: no charge", &calcium, 7, 3.0f, -(32 + 16),
         Pad(head + "  1.00", 76) + "Ca  "},
    };
    for (const Case& c : cases) {
        c.node->pSAt->A.S = c.s;
        c.node->pSAt->A.DegOx = c.degOx;
        EXPECT_EQ(PdbAtomLine(*c.node, c.serial), c.expected) << c.title;
    }
}

TEST(PdbAuthors, NamesAreRewrittenAndLinesWrapBefore78Characters) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"o'brien j.k.", "O'Brien J.K."},
        {"  SMITH a.b.", "Smith A.B."},
        {"J.K.Rowling", "Rowling J.K."},
        {"van-der-berg p", "Van-Der-Berg P"},
        {"verylongsurnameabcdefgh x", "Verylongsurnameabcde"},
    };
    for (const auto& [piece, expected] : names)
        EXPECT_EQ(PdbAuthorName(piece), expected) << piece;
    EXPECT_EQ(PdbAuthorLines("smith j., jones a."),
              std::vector<std::string>{"JRNL        AUTH   Smith J.,Jones A."});
    // Six names of 13 characters: 19 + 13 + 3 x 14 = 74 fits, a fifth would reach 88.
    const std::string six = "abcdefghij k., abcdefghij k., abcdefghij k., abcdefghij k., "
                            "abcdefghij k., abcdefghij k.";
    const std::string name = "Abcdefghij K.";
    EXPECT_EQ(PdbAuthorLines(six),
              (std::vector<std::string>{"JRNL        AUTH 1 " + name + "," + name + "," + name +
                                            "," + name,
                                        "JRNL        AUTH 2 " + name + "," + name}));
}

TEST(PdbJournal, SixtyCharactersGiveThreeNumberedLines) {
    tCompParam compound;
    compound.MDC.JnlName = std::string(28, 'a') + std::string(28, 'b') + "cdef";
    compound.DC.vjnl = "12";
    compound.DC.pjnl = "345-350";
    compound.DC.yjnl = 1999;
    EXPECT_EQ(PdbJournalLines(compound),
              (std::vector<std::string>{
                  "JRNL        REF  1 " + std::string(28, 'a'),
                  "JRNL        REF  2 " + std::string(28, 'b'),
                  Pad(Pad(Pad("JRNL        REF  3 cdef", 50) + "V.12", 57) + "345", 63) + "1999"}));
    compound.MDC.JnlName = "Short J.";
    compound.DC.vjnl = "";
    EXPECT_EQ(PdbJournalLines(compound)[0],
              Pad(Pad(Pad("JRNL        REF    Short J.", 50), 57) + "345", 63) + "1999");
}

void SetCell(THandScene& hand, float beta) {
    hand.scene.CompParamMaler.DC.Tr = {10.0f, 11.0f, 12.5f};
    hand.scene.CompParamMaler.DC.Ug = {90.0f, beta, 90.0f};
    hand.scene.CompParamMaler.CompZ = 4;
}

TEST(CoordinateExport, OneAtomWithoutBondsAndTheBoxOnlyForRightAngles) {
    THandScene hand;
    SetCell(hand, 90.05f);
    Shown(hand.Add(8, 1, 1.5, -2.25, 10, 1, 2));
    const std::string hinHead = std::string("forcefield mm+") + CRLF + "sys 0" + CRLF +
                                "view 40 1 55 15 1 0 0 0 1 0 0 0 1 0 0 -55" + CRLF;
    const std::string molecule = std::string("mol 1") + CRLF +
                                 "atom 1 O1 O ** - 0 1.50000 -2.25000 10.00000 0" + CRLF +
                                 "endmol 1" + CRLF;
    EXPECT_EQ(HinText(hand.scene), hinHead + "box 10.000 11.000 12.500" + CRLF + molecule);
    SetCell(hand, 101.5f);
    EXPECT_EQ(HinText(hand.scene), hinHead + molecule) << "monoclinic: no box";
    const std::string pdb = PdbText(hand.scene);
    EXPECT_EQ(pdb, "HEADER    " + std::string(40, ' ') + CRLF +
                       Pad("CRYST1   10.000   11.000   12.500  90.00 101.50  90.00 ", 66) + "4" +
                       CRLF +
                       Pad("HETATM    1 O1     1 A   1       1.500  -2.250  10.000  1.00", 76) +
                       "O  " + CRLF + "END" + CRLF)
        << "no CONECT";
}

TEST(CoordinateExport, MoleculesAreNumberedFromTheNewestAtomAndWrittenInNumberOrder) {
    THandScene hand;
    SetCell(hand, 90);
    tTopAt& a = Shown(hand.Add(6, 1, 0, 0, 0, 1, 2));
    tTopAt& b = Shown(hand.Add(6, 2, 1.5, 0, 0, 1, 2));
    tTopAt& c = Shown(hand.Add(6, 3, 3, 0, 0, 1, 2));
    tTopAt& lone = Shown(hand.Add(8, 1, 9, 0, 0, 1, 2));
    hand.Bond(a, b, cbValence, 1.5f);
    hand.Bond(b, c, cbValence, 1.5f);
    hand.Bond(c, lone, cbVanDerWaals, 6.0f); // not in NumDefBond
    hand.scene.CompParamMaler.DC.RefCode = "ABCDEF";
    hand.scene.CompParamMaler.DC.Cfg = 130;
    const std::string hin = HinText(hand.scene);
    // Newest first: O1 alone is molecule 1; C3 starts molecule 2, C2 and then C1 join it.
    EXPECT_NE(hin.find(std::string("mol 1") + CRLF +
                       "atom 1 O1 O ** - 0 9.00000 0.00000 0.00000 0" + CRLF + "endmol 1" + CRLF),
              std::string::npos);
    EXPECT_NE(
        hin.find(std::string("mol 2") + CRLF + "atom 1 C3 C ** - 0 3.00000 0.00000 0.00000 1 2 s" +
                 CRLF + "atom 2 C2 C ** - 0 1.50000 0.00000 0.00000 2 3 s 1 s" + CRLF +
                 "atom 3 C1 C ** - 0 0.00000 0.00000 0.00000 1 2 s" + CRLF + "endmol 2" + CRLF),
        std::string::npos)
        << hin;
    const std::string pdb = PdbText(hand.scene);
    EXPECT_NE(pdb.find(std::string("TITLE     CODE in CSD: ABCDEF") + CRLF), std::string::npos);
    EXPECT_NE(pdb.find(std::string("CONECT    1    2") + CRLF + "CONECT    2    1    3" + CRLF +
                       "CONECT    3    2" + CRLF + "CONECT    4" + CRLF + "END" + CRLF),
              std::string::npos)
        << pdb;
}

TEST(CoordinateExport, AFifthPartnerStartsANewConectLineAndHiddenAtomsStayOut) {
    THandScene hand;
    SetCell(hand, 90);
    tTopAt& centre = Shown(hand.Add(14, 1, 0, 0, 0, 1, 2));
    for (int k = 1; k <= 5; ++k)
        hand.Bond(centre, Shown(hand.Add(8, k, k, 0, 0, 1, 2)), cbValence, 1.6f);
    tTopAt& hidden = hand.Add(8, 6, 0, 6, 0, 1, 2);
    hidden.c = kNodePainted; // not visible
    hand.Bond(centre, hidden, cbValence, 1.6f);
    const std::string pdb = PdbText(hand.scene);
    EXPECT_NE(pdb.find(std::string("CONECT    1    2    3    4    5") + CRLF + "CONECT    1    6" +
                       CRLF + "CONECT    2    1" + CRLF),
              std::string::npos)
        << pdb;
    EXPECT_EQ(pdb.find("HETATM    7"), std::string::npos);
}

TEST(CoordinateExport, SuggestedNames) {
    tCompParam compound;
    compound.MDC.CmpName = "copper (II) sulfate";
    compound.DC.RefCode = "ABC-12";
    EXPECT_EQ(SuggestedExportName(compound), "ABC_12");
    compound.DC.RefCode = "1XYZ";
    EXPECT_EQ(SuggestedExportName(compound), "copper__II__sulfate");
    compound.DC.RefCode = "";
    EXPECT_EQ(SuggestedExportName(compound), "copper__II__sulfate");
}

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int k = bytes - 1; k >= 0; --k)
        value = value * 256 + b[at + static_cast<std::size_t>(k)];
    return value;
}

TEST(ImageOutput, BitmapHeaderAndCaptureWidth) {
    EXPECT_EQ(CaptureWidth(104), 104);
    EXPECT_EQ(CaptureWidth(103), 100);
    EXPECT_EQ(CaptureWidth(101), 100);
    const std::vector<std::uint8_t> rows(3 * 4 * 2, 7);
    const std::vector<std::uint8_t> bmp = BmpStream(rows, 4, 2);
    ASSERT_EQ(bmp.size(), 54u + 24u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    const std::vector<std::pair<std::size_t, std::uint32_t>> fields4 = {
        {2, 78}, {6, 0},   {10, 54}, {14, 40}, {18, 4}, {22, 2},
        {30, 0}, {34, 24}, {38, 0},  {42, 0},  {46, 0}, {50, 0}};
    for (const auto& [at, value] : fields4)
        EXPECT_EQ(Le(bmp, at, 4), value) << at;
    EXPECT_EQ(Le(bmp, 26, 2), 1u) << "planes";
    EXPECT_EQ(Le(bmp, 28, 2), 24u) << "bits";
    EXPECT_EQ(bmp[54], 7);
}

TEST(ImageOutput, PageFitAndThePrintView) {
    EXPECT_EQ(FitToPage(800, 600, 4000, 6000), (TPixelSize{4000, 3000}));
    EXPECT_EQ(FitToPage(600, 800, 6000, 4000), (TPixelSize{3000, 4000}));
    EXPECT_EQ(MulDiv(5, 3, 2), 8) << "7.5 rounds away from zero";
    THandScene hand;
    hand.scene.i0 = 400;
    hand.scene.j0 = 300;
    hand.scene.Gi0 = 41;
    hand.scene.LegJ0 = 15;
    hand.scene.mas = 5;
    hand.scene.mas_l = 300;
    hand.scene.CoeffDX = 60;
    const TPrintView saved = SaveView(hand.scene);
    ScaleViewForPrint(hand.scene, 2000, 1500, 800, 600);
    EXPECT_EQ(hand.scene.mas_l, 1500);
    EXPECT_EQ(hand.scene.mas, 10);
    EXPECT_EQ(hand.scene.CoeffDX, 150) << "the picture scales with the page";
    EXPECT_EQ(hand.scene.i0, 1000);
    EXPECT_EQ(hand.scene.j0, 750);
    EXPECT_EQ(hand.scene.Gi0, 102) << "102.5 rounds to even";
    EXPECT_EQ(hand.scene.LegJ0, 38) << "37.5 rounds to even";
    RestoreView(hand.scene, saved);
    EXPECT_EQ(hand.scene.CoeffDX, 60);
    EXPECT_EQ(hand.scene.i0, 400);
    EXPECT_EQ(hand.scene.XYZMas, 300.0 / 20.0);
}

} // namespace
