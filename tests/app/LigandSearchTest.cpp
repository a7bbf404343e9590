// The ligand tab of the real window over the demo database: search, messages, read
// and the TTLQuery file. Expected values come from the test's own SQL, written
// differently from the window's statements, and are ordered in the test.
#include "support/GuiTest.h"

#include "platform/ActionList.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class LigandSearchTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        window->pcServices->setCurrentWidget(window->tsTTL_TTM);
        auto libraries = QueryColumn(
            "select b.name from topology.limon_library b join topology.limon l on l.libraryid = b.id\r\n"
            "group by b.name order by count(*) desc",
            "name");
        ASSERT_FALSE(libraries.empty());
        library = libraries.front();
    }

    void ChooseLibrary(const std::string& name) {
        window->cmbTTLLibrary->setCurrentText(QString::fromStdString(name));
    }

    void Search() {
        window->actTTLSearch->trigger();
        ProcessEvents();
    }

    std::string library;
};

} // namespace

TEST_F(LigandSearchTest, ANamePatternFillsTheGridOrderedByOccurrenceThenName) {
    auto expected = ExpectedHits(library, "%a%");
    ASSERT_GE(expected.size(), 3u) << "the demo library should hold several names with an a";
    ChooseLibrary(library);
    window->edSearchName->setText("%a%");
    window->cbUseLike->setChecked(true);
    Search();
    EXPECT_TRUE(dialogs->records.empty());
    ASSERT_EQ(window->sgLigands->RowCount(), static_cast<int>(expected.size()) + 1);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        EXPECT_EQ(window->sgLigands->RowTexts(static_cast<int>(i) + 1),
                  (std::vector<std::string>{expected[i].ttlcode, expected[i].countat,
                                            expected[i].name, expected[i].id,
                                            expected[i].occurrences}));
    }
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(expected.size()) + " ligands.");
    // The header row stays current: Read waits until a hit is chosen.
    EXPECT_EQ(window->sgLigands->Row(), 0);
    EXPECT_FALSE(window->actLigRead->isEnabled());
    window->sgLigands->SetRow(1);
    ProcessEvents();
    EXPECT_TRUE(window->actLigRead->isEnabled());
}

TEST_F(LigandSearchTest, AnExactNameFindsOneLigand) {
    auto expected = ExpectedHits(library, "%");
    ASSERT_FALSE(expected.empty());
    const ExpectedHit& target = expected.back();
    ChooseLibrary(library);
    window->edSearchName->setText(QString::fromStdString("  " + target.name + " "));
    Search();
    ASSERT_GE(window->sgLigands->RowCount(), 2);
    EXPECT_EQ(window->sgLigands->Cell(2, 1), target.name);
    EXPECT_EQ(window->sgLigands->Cell(3, 1), target.id);
}

TEST_F(LigandSearchTest, NothingFoundSaysSoAndCountsZero) {
    ChooseLibrary(library);
    window->edSearchName->setText("no such ligand anywhere");
    window->sgLigands->SetRowCount(3); // rows of an earlier search
    Search();
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Information), (std::vector<std::string>{"No data found"}));
    EXPECT_EQ(window->StatusText(), "Found 0 ligands.");
    EXPECT_EQ(window->sgLigands->RowCount(), 1);
}

TEST_F(LigandSearchTest, TheChecksMessagesInTheirOrder) {
    struct Case {
        const char* title;
        std::string library;
        std::string atomCount;
        std::string name;
        bool useRefCodeList;
        DialogKind kind;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"no library", "", "", "water", false, DialogKind::Information, "You have not selected a library"},
        {"not a library", "No Such Library", "", "water", false, DialogKind::Information,
         "You have not selected a library"},
        {"bad atom count before the library", "", "12a", "", false, DialogKind::Error,
         "The number of atoms in the ligand is wrong."},
        {"no criteria", library, "", "", false, DialogKind::Information, "Not specified search criteria"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        dialogs->records.clear();
        ChooseLibrary(c.library);
        window->edSearchAtNum->setText(QString::fromStdString(c.atomCount));
        window->edSearchName->setText(QString::fromStdString(c.name));
        window->cbTTLUseRCL->setChecked(c.useRefCodeList);
        window->SetStatusText("before");
        Search();
        ASSERT_EQ(dialogs->records.size(), 1u);
        EXPECT_EQ(dialogs->records[0].kind, c.kind);
        EXPECT_EQ(dialogs->records[0].text, c.message);
        EXPECT_EQ(window->StatusText(), "before");
    }
}

TEST_F(LigandSearchTest, OnlyUseRefCodeListRunsWithAndWithoutCodes) {
    ChooseLibrary(library);
    window->cbTTLUseRCL->setChecked(true);
    Search(); // empty memo: no reference-code condition
    EXPECT_TRUE(dialogs->records.empty());
    int unfiltered = window->sgLigands->RowCount() - 1;
    EXPECT_EQ(unfiltered, static_cast<int>(ExpectedHits(library, "%").size()));

    auto codes = QueryColumn("select o.refcode from topology.limon_loc o join topology.limon l on l.id = o.limonid\r\n"
                             "join topology.limon_library b on b.id = l.libraryid where b.name = '" + library +
                             "' group by o.refcode order by count(*) desc limit 2",
                             "refcode");
    ASSERT_EQ(codes.size(), 2u);
    window->mSearchResult->setPlainText(QString::fromStdString(codes[0] + "\n" + codes[1]));
    Search();
    auto inTwo = QueryColumn("select count(distinct o.limonid) as n from topology.limon_loc o join topology.limon l on "
                             "l.id = o.limonid join topology.limon_library b on b.id = l.libraryid where b.name = '" +
                                 library + "' and o.refcode in ('" + codes[0] + "','" + codes[1] + "')",
                             "n");
    EXPECT_EQ(window->sgLigands->RowCount() - 1, std::stoi(inTwo.front()));
    EXPECT_LT(window->sgLigands->RowCount() - 1, unfiltered);
}

TEST_F(LigandSearchTest, ReadFillsThePanelInTheStatedFormats) {
    // A ligand of the library with a negative coordinate, found by its name.
    TDatabase db;
    db.Open();
    auto pick = db.Query(
        "select l.id, l.name from topology.limon l join topology.limon_library b on b.id = l.libraryid\r\n"
        "where b.name = '" + library + "' and exists (select 1 from topology.limon_cd c where c.limonid = l.id and c.fractx < 0)\r\n"
        "and exists (select 1 from topology.limon_loc o where o.limonid = l.id) order by l.name limit 1");
    ASSERT_FALSE(pick->Eof()) << "the demo data should hold a ligand with a negative x";
    std::string id = pick->AsString("id");
    std::string name = pick->AsString("name");
    std::string plainId = id.substr(1, 36);

    ChooseLibrary(library);
    window->edSearchName->setText(QString::fromStdString(name));
    Search();
    int row = 0;
    for (int r = 1; r < window->sgLigands->RowCount(); ++r)
        if (window->sgLigands->Cell(3, r) == id)
            row = r;
    ASSERT_GT(row, 0);
    window->sgLigands->SetRow(row);
    ProcessEvents();
    ASSERT_TRUE(window->actLigRead->isEnabled());
    window->actLigRead->trigger();
    ProcessEvents();
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_EQ(window->StatusText(), "");

    auto header = db.Query("select name, countat::text as n, ttlcode::text as code,\r\n"
                           "  to_char(lengtha, 'FM999990.000') as a, to_char(angelgamma, 'FM990.00') as g\r\n"
                           "from topology.limon where id = '" + plainId + "'");
    EXPECT_EQ(window->edLigID->text().toStdString(), id);
    EXPECT_EQ(window->edLigName->text().toStdString(), header->AsString("name"));
    EXPECT_EQ(window->edLigAtNum->text().toStdString(), header->AsString("n"));
    EXPECT_EQ(window->edLigCode->text().toStdString(), header->AsString("code"));
    EXPECT_EQ(window->edLength_a->text().toStdString(), header->AsString("a"));
    EXPECT_EQ(window->edAngel_gamma->text().toStdString(), header->AsString("g"));

    // Atoms in the server's order: compare as a set of rows, formatted by the server.
    std::vector<std::vector<std::string>> expectedAtoms;
    for (auto r = db.Query("select specat::text as s, numat::text as n, cn::text as cn,\r\n"
                           " to_char(fractx, 'FM990.00000') as x, to_char(fracty, 'FM990.00000') as y,\r\n"
                           " to_char(fractz, 'FM990.00000') as z from topology.limon_cd where limonid = '" +
                           plainId + "'");
         !r->Eof(); r->Next())
        expectedAtoms.push_back({r->AsString("s"), r->AsString("n"), r->AsString("cn"), r->AsString("x"),
                                 r->AsString("y"), r->AsString("z")});
    std::vector<std::vector<std::string>> shownAtoms;
    bool negativeShown = false;
    for (int r = 1; r < window->sgLigAtoms->RowCount(); ++r) {
        auto texts = window->sgLigAtoms->RowTexts(r);
        EXPECT_EQ(texts[0], std::to_string(r));
        shownAtoms.push_back(std::vector<std::string>(texts.begin() + 1, texts.end()));
        negativeShown = negativeShown || texts[4].front() == '-';
    }
    std::sort(expectedAtoms.begin(), expectedAtoms.end());
    std::sort(shownAtoms.begin(), shownAtoms.end());
    EXPECT_EQ(shownAtoms, expectedAtoms);
    EXPECT_TRUE(negativeShown);

    // Bonds by atom number.
    auto bondAtoms = QueryColumn("select at_num::text as n from topology.limon_adm_dn where limonid = '" + plainId +
                                     "' order by at_num",
                                 "n");
    ASSERT_EQ(window->sgLigBonds->RowCount() - 1, static_cast<int>(bondAtoms.size()));
    for (std::size_t i = 0; i < bondAtoms.size(); ++i)
        EXPECT_EQ(window->sgLigBonds->Cell(0, static_cast<int>(i) + 1), bondAtoms[i]);

    // Occurrences by reference code.
    auto codes = QueryColumn("select distinct refcode from topology.limon_loc where limonid = '" + plainId +
                                 "' order by refcode",
                             "refcode");
    ASSERT_FALSE(codes.empty());
    ASSERT_EQ(window->sgLigOccurrence->RowCount() - 1, static_cast<int>(QueryColumn(
        "select distinct refcode, coordtype, ligvol, ligarea from topology.limon_loc where limonid = '" + plainId + "'",
        "refcode").size()));
    EXPECT_EQ(window->sgLigOccurrence->Cell(1, 1), codes.front());

    // The RefCode list narrows the occurrences to its codes.
    window->mSearchResult->setPlainText(QString::fromStdString(codes.front()));
    window->cbTTLUseRCL->setChecked(true);
    window->actLigRead->trigger();
    ProcessEvents();
    for (int r = 1; r < window->sgLigOccurrence->RowCount(); ++r)
        EXPECT_EQ(window->sgLigOccurrence->Cell(1, r), codes.front());
    EXPECT_GE(window->sgLigOccurrence->RowCount(), 2);

    // Another library clears the panel; the hits stay.
    int hits = window->sgLigands->RowCount();
    window->cmbTTLLibrary->lineEdit()->setText("x");
    emit window->cmbTTLLibrary->lineEdit()->textEdited("x");
    EXPECT_EQ(window->edLigID->text().toStdString(), "");
    EXPECT_EQ(window->sgLigAtoms->RowCount(), 1);
    EXPECT_EQ(window->sgLigands->RowCount(), hits);
}

TEST_F(LigandSearchTest, ALigandOutsideTheCheckedLibraryShowsAnEmptyHeader) {
    ChooseLibrary(library);
    window->edSearchName->setText("%");
    window->cbUseLike->setChecked(true);
    Search();
    ASSERT_GE(window->sgLigands->RowCount(), 2);
    window->sgLigands->SetRow(1);
    ProcessEvents();
    // The last check now names another library.
    window->TTLSearch.LibraryID = *ParseGuid("{00000000-0000-0000-0000-000000000001}");
    window->actLigRead->trigger();
    ProcessEvents();
    EXPECT_EQ(window->edLigID->text().toStdString(), "");
    EXPECT_EQ(window->edLigName->text().toStdString(), "");
    EXPECT_EQ(window->edLength_a->text().toStdString(), "0.000");
    EXPECT_EQ(window->edAngel_alpha->text().toStdString(), "0.00");
    EXPECT_GE(window->sgLigAtoms->RowCount(), 2); // atoms do not depend on the library
}

TEST_F(LigandSearchTest, QueryToFileWritesTheHitsWithTabsAndCrLf) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / "ormaline-ttlquery-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto expected = ExpectedHits(library, "%a%");
    ChooseLibrary(library);
    window->edSearchName->setText("%a%");
    window->cbUseLike->setChecked(true);

    dialogs->PushText((folder / "hits").string());
    window->actQueryToFile->trigger();
    ProcessEvents();
    std::string bytes = ReadFile(folder / "hits.txt");
    std::string wanted = "TTLCode\tCountAt\tTTLName\tOccur.\r\n";
    for (const auto& hit : expected)
        wanted += hit.ttlcode + "\t" + hit.countat + "\t" + hit.name + "\t" + hit.occurrences + "\r\n";
    EXPECT_EQ(bytes, wanted);
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(expected.size()) + " ligands.");
    EXPECT_EQ(window->sgLigands->RowCount(), 1); // the grid was reset, not filled

    // No rows: no file.
    window->edSearchName->setText("no such ligand anywhere");
    dialogs->PushText((folder / "none").string());
    window->actQueryToFile->trigger();
    EXPECT_FALSE(fs::exists(folder / "none.txt"));
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Information), (std::vector<std::string>{"No data found"}));
    fs::remove_all(folder);
}
