// The topology and crystal tabs of the real window over the demo database: searches,
// reads and both files of each. Expected values come from the test's own SQL.
#include "support/GuiTest.h"

#include "platform/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <algorithm>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Sorted(Rows rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The lines of the rows' only column, each ended by CR LF, after a header line.
std::string FileText(const std::string& header, const Rows& rows) {
    std::string text = header + "\r\n";
    for (const auto& row : rows)
        text += row.at(0) + "\r\n";
    return text;
}

class TopologyCrystalTest : public MainWindowTest {
protected:
    void Run(QAction* action) {
        action->trigger();
        ProcessEvents();
    }
};

// The topologies of a condition on ttd t and tto o, each with its number of distinct
// structure, Z and representation combinations.
Rows ExpectedTopologies(const std::string& condition) {
    return QueryRows("select t.ttdcode::text, t.numnodes::text, t.name, upper(t.id::text),\r\n"
                     "  count(distinct (o.refcode, o.z, o.reprtypecode))::text\r\n"
                     "from topology.ttd t join topology.tto o on o.ttdid = t.id\r\n"
                     "join topology.ttdlibrary l on l.id = t.ttdlibraryid\r\nwhere " +
                     condition + "\r\ngroup by t.id, t.ttdcode, t.numnodes, t.name");
}

} // namespace

TEST_F(TopologyCrystalTest, TopologiesOfALibraryThenTheirOccurrences) {
    window->pcServices->setCurrentWidget(window->tsTTD);
    window->cbTTDLibrary->setCurrentText("Basic nets");
    window->edTTDName->setText("s%");
    window->cbTTDNameUseLike->setChecked(true);
    Run(window->actTTDSearch);
    EXPECT_TRUE(dialogs->records.empty());
    const Rows topologies = ExpectedTopologies("l.name = 'Basic nets' and t.name like 's%'");
    ASSERT_GE(topologies.size(), 2u);
    ExpectRowsByCount(*window->sgTTD, topologies, 4);
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(topologies.size()) + " topologies.");
    EXPECT_EQ(window->sgTTD->ColWidth(3), -1);

    // Read: the occurrences of the chosen topology, by reference code and Z, msrc only
    // when it is not 0.
    int sqlRow = 0;
    for (int r = 1; r < window->sgTTD->RowCount(); ++r)
        if (window->sgTTD->Cell(2, r) == "sql")
            sqlRow = r;
    ASSERT_GT(sqlRow, 0);
    window->sgTTD->SetRow(sqlRow);
    ProcessEvents();
    Run(window->actTTDRead);
    const Rows occurrences = QueryRows(
        "select distinct o.refcode, o.z::text, o.fwc, case when o.msrc = 0 then '' else "
        "o.msrc::text end, r.rep_name\r\n"
        "from topology.tto o join topology.ttd t on t.id = o.ttdid join "
        "topology.ref_representation_type r on r.rep_code = o.reprtypecode where t.name = 'sql'");
    Rows shown;
    for (int r = 1; r < window->sgTTDOccurrence->RowCount(); ++r) {
        auto texts = window->sgTTDOccurrence->RowTexts(r);
        EXPECT_EQ(texts[0], std::to_string(r));
        if (r > 1) {
            auto before = window->sgTTDOccurrence->RowTexts(r - 1);
            EXPECT_LE(std::make_pair(before[1], std::stoi(before[2])),
                      std::make_pair(texts[1], std::stoi(texts[2])));
        }
        shown.push_back({texts[1], texts[2], texts[3], texts[5], texts[4]});
    }
    EXPECT_EQ(Sorted(shown), Sorted(occurrences));
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](auto& row) { return row[3].empty(); }));
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(occurrences.size()) + " structures.");

    // The third representation of the list is the code 2.
    window->edTTDName->clear();
    window->cmbRepresentation->setCurrentIndex(2);
    Run(window->actTTDSearch);
    ExpectRowsByCount(*window->sgTTD,
                      ExpectedTopologies("l.name = 'Basic nets' and o.reprtypecode = 2"), 4);
}

TEST_F(TopologyCrystalTest, TopologyFiles) {
    TempFolder folder("ttd-files");
    window->pcServices->setCurrentWidget(window->tsTTD);
    window->cbTTDLibrary->setCurrentText("Basic nets");
    window->edTTDName->setText("s%");
    window->cbTTDNameUseLike->setChecked(true);

    dialogs->PushText(folder / "query");
    Run(window->actQueryToFile);
    const Rows counts = QueryRows(
        "select t.ttdcode || chr(9) || t.numnodes || chr(9) || t.name || chr(9) ||\r\n"
        "  count(distinct (o.refcode, o.z, o.reprtypecode)), count(distinct (o.refcode, o.z, "
        "o.reprtypecode))\r\n"
        "from topology.ttd t join topology.tto o on o.ttdid = t.id where t.name like 's%'\r\n"
        "group by t.id, t.ttdcode, t.numnodes, t.name order by 2 desc");
    for (std::size_t i = 1; i < counts.size(); ++i)
        ASSERT_NE(counts[i - 1][1], counts[i][1]) << "equal counts would leave the order open";
    EXPECT_EQ(ReadFileBytes(folder / "query.txt"),
              FileText("TTDCode\tNumNodes\tTTDName\tOccur.", counts));
    EXPECT_EQ(window->sgTTD->RowCount(), 1);

    dialogs->PushText(folder / "data");
    Run(window->actDataToFile);
    const Rows lines = QueryRows(
        "select o.refcode || chr(9) || o.dimen || chr(9) || o.z || chr(9) || o.fwc || chr(9) ||\r\n"
        "  o.msrc || chr(9) || o.ttdcode || chr(9) || t.name || chr(9) || r.rep_name\r\n"
        "from topology.tto o join topology.ttd t on t.id = o.ttdid\r\n"
        "join topology.ref_representation_type r on r.rep_code = o.reprtypecode\r\n"
        "where t.name like 's%'\r\n"
        "order by o.refcode, o.dimen, o.ttdcode, o.reprtypecode, o.msrc");
    EXPECT_EQ(ReadFileBytes(folder / "data.txt"),
              FileText("RefCode\tDimen\tZ\tFWC\tMSRC\tTTDCode\tTopology\tRepresentation", lines));
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(lines.size()) + " structures.");
    EXPECT_TRUE(dialogs->records.size() == 2u) << "only the two save dialogs";
}

TEST_F(TopologyCrystalTest, ReliableStructuresPerDatabaseThenThoseOfTwoDatabases) {
    window->pcServices->setCurrentWidget(window->tsTTC);
    window->cbReliableData->setChecked(true);
    Run(window->actTTCSearch);
    EXPECT_TRUE(dialogs->records.empty());
    // A structure listed in two databases counts once in each.
    const Rows groups = QueryRows(
        "select d.name, count(*)::text, d.id::text from crystals.link_database_structure l\r\n"
        "join crystals.ref_structure_databases d on d.id = l.csd_id\r\n"
        "where l.refcode not in (select refcode from crystals.crystal_structures_err)\r\n"
        "group by d.id, d.name order by count(*) desc");
    ASSERT_GE(groups.size(), 3u);
    ASSERT_EQ(window->sgTTC->RowCount(), static_cast<int>(groups.size()) + 1);
    for (std::size_t i = 0; i < groups.size(); ++i)
        EXPECT_EQ(window->sgTTC->RowTexts(static_cast<int>(i) + 1),
                  (std::vector<std::string>{std::to_string(i + 1), groups[i][0], groups[i][1],
                                            groups[i][2]}));
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(groups.size()) + " groups.");

    // A database in the options and another row chosen: Read lists the structures of both.
    window->cmbDataBase->setCurrentText(QString::fromStdString(groups[0][0]));
    window->sgTTC->SetRow(2);
    ProcessEvents();
    Run(window->actTTCRead);
    const Rows both = QueryRows(
        "select row_number() over (order by s.remark)::text, s.remark, s.cf_structural, "
        "s.cf_sum,\r\n"
        "  s.chem_name_systematic from crystals.crystal_structures s\r\n"
        "where s.remark in (select refcode from crystals.link_database_structure where csd_id = " +
        groups[0][2] +
        ")\r\n  and s.remark in (select refcode from crystals.link_database_structure "
        "where csd_id = " +
        groups[1][2] +
        ")\r\n  and s.remark not in (select refcode from crystals.crystal_structures_err)\r\n"
        "order by s.remark");
    ASSERT_FALSE(both.empty()) << "the demo data should list structures in two databases";
    EXPECT_EQ(GridRows(*window->sgTTCOccurrence), both);
    EXPECT_EQ(window->StatusText(), "Found " + std::to_string(both.size()) + " structures.");

    // The structure cells can be edited in place; the header row cannot.
    auto* model = window->sgTTCOccurrence->GridModel();
    EXPECT_TRUE(model->flags(model->index(1, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
    model->setData(model->index(1, 2), "edited", Qt::EditRole);
    EXPECT_EQ(window->sgTTCOccurrence->Cell(2, 1), "edited");
}

TEST_F(TopologyCrystalTest, CrystalFilesWithAPatternAndTheRefCodeList) {
    TempFolder folder("ttc-files");
    window->pcServices->setCurrentWidget(window->tsTTC);
    window->edRefCode->setText("A%");
    window->cbRefCode->setChecked(true);
    window->mSearchResult->setPlainText("AAYVLB\nAFNCOV\nAFNCOV01\nBIOGSY");
    window->cbTTCUseRCL->setChecked(true);
    const std::string codes = "remark like 'A%' and remark in ('AAYVLB', 'AFNCOV', 'AFNCOV01', "
                              "'BIOGSY')";

    dialogs->PushText(folder / "query");
    Run(window->actQueryToFile);
    const Rows groups = QueryRows(
        "select d.name || chr(9) || count(*), count(*) from crystals.crystal_structures s\r\n"
        "join crystals.link_database_structure l on l.refcode = s.remark\r\n"
        "join crystals.ref_structure_databases d on d.id = l.csd_id where s." +
        codes + "\r\ngroup by d.id, d.name order by count(*) desc");
    ASSERT_FALSE(groups.empty());
    for (std::size_t i = 1; i < groups.size(); ++i)
        ASSERT_NE(groups[i - 1][1], groups[i][1]) << "equal counts would leave the order open";
    EXPECT_EQ(ReadFileBytes(folder / "query.txt"), FileText("Database\tOccur.", groups));

    dialogs->PushText(folder / "data");
    Run(window->actDataToFile);
    const Rows structures =
        QueryRows("select remark || chr(9) || cf_structural || chr(9) || cf_sum || chr(9) ||\r\n"
                  "  chem_name_systematic from crystals.crystal_structures where " +
                  codes + " order by remark");
    ASSERT_EQ(structures.size(), 3u);
    EXPECT_EQ(ReadFileBytes(folder / "data.txt"),
              FileText("RefCode\tStruct.Formula\tTotal Formula\tChem.Name", structures));
    EXPECT_EQ(window->StatusText(), "Found 3 structures.");
}
