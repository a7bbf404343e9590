// The Total tab of the real window over the demo database: queries of three tabs in
// the list, their intersection against the test's own SQL, the RefCode list narrowing
// another tab, the DOI pages of chosen codes, and the total and ligand data files.
#include "support/GuiTest.h"

#include "app/WidgetText.h"
#include "platform/StringGrid.h"
#include "platform/UrlOpener.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextCursor>

#include <algorithm>
#include <filesystem>
#include <set>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

std::set<std::string> Codes(const std::vector<std::string>& lines) {
    return {lines.begin(), lines.end()};
}

// The reference codes of structures with 4,4'-bipyridine, with an sql net, and with
// copper or zinc atoms, written without the window's subqueries.
const std::string kBipyridine =
    "s.remark in (select o.refcode from topology.limon_loc o join topology.limon l on l.id = "
    "o.limonid join topology.limon_library b on b.id = l.libraryid where b.name = 'Ligands' and "
    "l.name = '4,4''-bipyridine')";
const std::string kSqlNet = "s.remark in (select o.refcode from topology.tto o join topology.ttd "
                            "t on t.id = o.ttdid where t.name = 'sql')";
const std::string kCopperOrZinc =
    "s.remark in (select refcode from atoms.cp_vdp where at_num in (29, 30))";

std::set<std::string> StructuresWhere(const std::string& condition) {
    return Codes(QueryColumn(
        "select s.remark from crystals.crystal_structures s where " + condition, "remark"));
}

class TotalTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        urls = dynamic_cast<RecordingUrlOpener*>(&Urls());
        ASSERT_NE(urls, nullptr);
        urls->opened.clear();
    }

    void Run(QAction* action) {
        action->trigger();
        ProcessEvents();
    }

    void AddThreeQueries() {
        window->cmbTTLLibrary->setCurrentText("Ligands");
        window->edSearchName->setText("4,4'-bipyridine");
        Run(window->actAddTTLQuery);
        window->edTTDName->setText("sql");
        Run(window->actAddTTDQuery);
        window->edChemEl->setText("Cu Zn");
        window->edChemElExit();
        Run(window->actAddTTAQuery);
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> texts;
        for (int k = 0; k < window->clbQueries->count(); ++k)
            texts.push_back(window->clbQueries->item(k)->text().toStdString());
        return texts;
    }

    RecordingUrlOpener* urls = nullptr;
};

} // namespace

TEST_F(TotalTest, QueriesOfThreeTabsAreIntersectedByReferenceCode) {
    AddThreeQueries();
    ASSERT_TRUE(dialogs->records.empty()) << dialogs->records.front().text;
    EXPECT_EQ(Entries(), (std::vector<std::string>{"TTL  Library: Ligands  Name: 4,4'-bipyridine",
                                                   "TTD  Name: sql", "TTA  Atom: 29,30"}));
    EXPECT_EQ(*window->slQueryType, (std::vector<std::string>{"1", "3", "2"}));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(window->clbQueries->item(k)->checkState(), Qt::Checked);

    // The same conditions again: refused, whatever the check mark of the entry.
    window->clbQueries->item(0)->setCheckState(Qt::Unchecked);
    Run(window->actAddTTLQuery);
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Information),
              (std::vector<std::string>{"This request is already in the list."}));
    EXPECT_EQ(window->clbQueries->count(), 3);
    window->clbQueries->item(0)->setCheckState(Qt::Checked);

    ProcessEvents();
    ASSERT_TRUE(window->actSearchResult->isEnabled());
    EXPECT_FALSE(window->actReference->isEnabled());
    Run(window->actSearchResult);
    const auto all = StructuresWhere(kBipyridine + " and " + kSqlNet + " and " + kCopperOrZinc);
    ASSERT_FALSE(all.empty()) << "the demo data should hold such structures";
    const auto shown = MemoLines(window->mSearchResult);
    EXPECT_EQ(shown.size(), all.size()) << "each code once";
    EXPECT_EQ(Codes(shown), all);
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(all.size()) + " structures.");
    EXPECT_TRUE(window->actReference->isEnabled());

    // Without the topology query: two subqueries.
    window->clbQueries->item(1)->setCheckState(Qt::Unchecked);
    Run(window->actSearchResult);
    const auto two = StructuresWhere(kBipyridine + " and " + kCopperOrZinc);
    EXPECT_GT(two.size(), all.size());
    EXPECT_EQ(Codes(MemoLines(window->mSearchResult)), two);

    // The result narrows the crystal tab: "Use RefCode List" alone counts its codes.
    window->pcServices->setCurrentWidget(window->tsTTC);
    window->cbTTCUseRCL->setChecked(true);
    Run(window->actTTCSearch);
    int links = 0;
    for (int r = 1; r < window->sgTTC->RowCount(); ++r)
        links += std::stoi(window->sgTTC->Cell(2, r));
    std::string list;
    for (const auto& code : two)
        list += (list.empty() ? "'" : ",'") + code + "'";
    EXPECT_EQ(links,
              std::stoi(QueryColumn("select count(*) as n from crystals.link_database_structure "
                                    "where refcode in (" +
                                        list + ")",
                                    "n")
                            .front()));

    // Nothing checked: nothing is searched.
    window->pcServices->setCurrentWidget(window->tsTotal);
    for (int k = 0; k < 3; ++k)
        window->clbQueries->item(k)->setCheckState(Qt::Unchecked);
    dialogs->records.clear();
    Run(window->actSearchResult);
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Information),
              (std::vector<std::string>{"Not chosen selection criteria."}));
    EXPECT_TRUE(MemoLines(window->mSearchResult).empty());

    // Delete removes the selected entry from all three lists; Clear empties them.
    window->clbQueries->setCurrentRow(1);
    Run(window->actQDelete);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"TTL  Library: Ligands  Name: 4,4'-bipyridine",
                                                   "TTA  Atom: 29,30"}));
    EXPECT_EQ(*window->slQueryType, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(window->slQueries->size(), 2u);
    Run(window->actQClear);
    EXPECT_EQ(window->clbQueries->count(), 0);
    EXPECT_TRUE(window->slQueries->empty());
    EXPECT_FALSE(window->actSearchResult->isEnabled());
}

TEST_F(TotalTest, ReferenceOpensTheKnownDoisOfTheSelectedCodes) {
    // A structure whose DOI is unknown (the text None) and one with a DOI.
    const auto unknown = QueryColumn("select refcode from crystals.link_doi_structure where doi = "
                                     "'None' order by refcode limit 1",
                                     "refcode");
    const auto known = QueryColumn("select refcode from crystals.link_doi_structure where doi <> "
                                   "'None' order by refcode limit 1",
                                   "refcode");
    ASSERT_EQ(unknown.size(), 1u);
    ASSERT_EQ(known.size(), 1u);
    window->mSearchResult->setPlainText(
        QString::fromStdString(unknown[0] + "\n" + known[0] + "\nXXXXXX"));
    // The first two lines selected, the line break after the second included.
    QTextCursor cursor = window->mSearchResult->textCursor();
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 2);
    window->mSearchResult->setTextCursor(cursor);
    ProcessEvents();
    ASSERT_TRUE(window->actReference->isEnabled());
    Run(window->actReference);

    std::vector<std::string> expected;
    int possible = 0;
    for (const auto& doi :
         QueryColumn("select doi from crystals.link_doi_structure where refcode in ('" +
                         unknown[0] + "', '" + known[0] + "')",
                     "doi")) {
        ++possible;
        if (doi != "None")
            expected.push_back("https://doi.org/" + doi);
    }
    auto opened = urls->opened;
    std::sort(opened.begin(), opened.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(opened, expected);
    EXPECT_LT(expected.size(), static_cast<std::size_t>(possible));
    EXPECT_EQ(window->StatusText(), "It is open " + std::to_string(expected.size()) +
                                        " matches out of " + std::to_string(possible) +
                                        " possible.");
}

TEST_F(TotalTest, TotalAndLigandDataFiles) {
    TempFolder folder("total-files");
    AddThreeQueries();
    window->pcServices->setCurrentWidget(window->tsTotal);
    dialogs->PushText(folder / "query");
    Run(window->actQueryToFile);
    dialogs->PushText(folder / "data");
    Run(window->actDataToFile);
    const std::string bytes = ReadFileBytes(folder / "data.txt");
    EXPECT_EQ(ReadFileBytes(folder / "query.txt"), bytes);
    ASSERT_EQ(bytes.substr(0, 9), "RefCode\r\n");
    std::set<std::string> written;
    for (std::size_t at = 9; at < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        written.insert(bytes.substr(at, end - at));
        at = end + 2;
    }
    EXPECT_EQ(written, StructuresWhere(kBipyridine + " and " + kSqlNet + " and " + kCopperOrZinc));

    // Under conditions no structure meets: the combined description, and no file.
    window->pcServices->setCurrentWidget(window->tsTTC);
    window->edRefCode->setText("NOSUCH");
    Run(window->actAddTTCQuery);
    window->pcServices->setCurrentWidget(window->tsTotal);
    dialogs->records.clear();
    dialogs->PushText(folder / "none");
    Run(window->actDataToFile);
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Information),
              (std::vector<std::string>{"No data found under conditions:\r\n"
                                        "  TTL  Library: Ligands  Name: 4,4'-bipyridine\r\n"
                                        "  TTD  Name: sql\r\n  TTA  Atom: 29,30\r\n"
                                        "  TTC  RefCode:NOSUCH"}));
    EXPECT_FALSE(std::filesystem::exists(folder / "none.txt"));
    EXPECT_EQ(window->StatusText(), "Found 0 structures.");

    // The ligand page's data file: every occurrence of the matching ligands.
    window->pcServices->setCurrentWidget(window->tsTTL_TTM);
    dialogs->PushText(folder / "ligands");
    Run(window->actDataToFile);
    std::string wanted = "TTLCode\tTTLName\tRefCode\tCoordType\tLigVol\tLigArea\r\n";
    const auto lines =
        QueryColumn("select l.ttlcode || chr(9) || l.name || chr(9) || o.refcode || chr(9) || "
                    "o.coordtype ||\r\n"
                    "  chr(9) || o.ligvol || chr(9) || o.ligarea as line\r\n"
                    "from topology.limon l join topology.limon_loc o on o.limonid = l.id\r\n"
                    "join topology.limon_library b on b.id = l.libraryid\r\n"
                    "where b.name = 'Ligands' and l.name = '4,4''-bipyridine'\r\n"
                    "order by l.ttlcode, o.refcode, o.coordtype, o.id",
                    "line");
    ASSERT_GE(lines.size(), 2u);
    for (const auto& line : lines)
        wanted += line + "\r\n";
    EXPECT_EQ(ReadFileBytes(folder / "ligands.txt"), wanted);
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(lines.size()) + " ligands.");
}
