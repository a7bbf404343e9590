// The real main window over the demo database: show time, lookups, connection
// commands, grids, enabling rules, RefCode list and the export file dialog.
#include "support/GuiTest.h"

#include "platform/ActionList.h"
#include "platform/ProgramFolder.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> values) {
    std::sort(values.begin(), values.end());
    return values;
}

std::vector<std::string> GridRow(const StringGrid& grid, int row) {
    return grid.RowTexts(row);
}

} // namespace

TEST_F(MainWindowTest, ShowTimeFillsTheLookupListsInTheirStatementsOrder) {
    // Expected lists come from the test's own connection, ordered here rather than by
    // the window's statements.
    auto libraries = Sorted(QueryColumn("select name from topology.limon_library", "name"));
    ASSERT_GE(libraries.size(), 2u);
    EXPECT_EQ(ListTexts(*window->cmbTTLLibrary), libraries);
    EXPECT_EQ(ListTexts(*window->cbTTDLibrary),
              Sorted(QueryColumn("select name from topology.ttdlibrary", "name")));
    EXPECT_EQ(ListTexts(*window->cmbCoordFig),
              Sorted(QueryColumn("select name from atoms.ref_polyhedra", "name")));

    std::map<int, std::string> representations;
    {
        TDatabase db;
        db.Open();
        for (auto r = db.Query("select rep_code, rep_name from topology.ref_representation_type");
             !r->Eof(); r->Next())
            representations[r->AsInteger("rep_code")] = r->AsString("rep_name");
    }
    std::vector<std::string> byCode;
    for (auto& [code, name] : representations)
        byCode.push_back(name);
    ASSERT_FALSE(byCode.empty());
    EXPECT_EQ(ListTexts(*window->cmbRepresentation), byCode);

    std::vector<std::string> databasesById;
    {
        TDatabase db;
        db.Open();
        std::vector<std::pair<std::string, std::string>> rows;
        for (auto r = db.Query("select id::text as k, name from crystals.ref_structure_databases");
             !r->Eof(); r->Next())
            rows.emplace_back(r->AsString("k"), r->AsString("name"));
        // ids are integers: order them as numbers.
        std::sort(rows.begin(), rows.end(), [](auto& a, auto& b) {
            return std::stoll(a.first) < std::stoll(b.first);
        });
        for (auto& row : rows)
            databasesById.push_back(row.second);
    }
    ASSERT_GE(databasesById.size(), 2u);
    EXPECT_EQ(ListTexts(*window->cmbDataBase), databasesById);

    // Nothing is chosen in the lists at start.
    EXPECT_EQ(window->cmbTTLLibrary->currentText().toStdString(), "");
    EXPECT_EQ(window->cbTTDLibrary->currentText().toStdString(), "");
}

TEST_F(MainWindowTest, EveryGridHasExactlyItsHeaderRow) {
    struct Expected {
        StringGrid* grid;
        std::vector<std::string> headers;
        std::vector<std::pair<int, int>> widths;
    };
    const std::vector<Expected> grids = {
        {window->sgLigands, {"TTLCode", "CountAt", "TTLName", "ID", "Occur."}, {{2, 170}, {3, -1}}},
        {window->sgLigAtoms, {"N", "SpecAt", "NumAt", "CN", "x", "y", "z"}, {}},
        {window->sgLigBonds, {"N", "Atoms"}, {}},
        {window->sgLigOccurrence, {"N", "RefCode", "CoordType", "LigVol", "LigArea"}, {{2, 100}}},
        {window->sgAtoms,
         {"Atom", "Occurr.", "Rsd", "Vvdp", "G3vdp", "VarMe", "AtNum"},
         {{1, 50}, {2, 80}, {3, 80}, {4, 90}, {5, 90}, {6, 50}}},
        {window->sgAtOccurrence,
         {"N", "RefCode", "Atom", "OxSt", "CN", "Rsd", "Vvdp", "Svdp", "G3vdp", "PolyID", "CPclass",
          "CPfull"},
         {{1, 100}}},
        {window->sgTTD, {"TTDCode", "NumNode", "TTDName", "ID", "Occur."}, {{2, 200}, {3, -1}}},
        {window->sgTTDOccurrence,
         {"N", "RefCode", "Z", "fwc", "Representation", "msrc"},
         {{1, 70}, {4, 300}}},
        {window->sgTTC, {"N", "DataBase", "Occur.", "db_id"}, {{1, 300}, {3, -1}}},
        {window->sgTTCOccurrence,
         {"N", "RefCode", "Struct.Formula", "Total Formula", "Chem.Name"},
         {{2, 200}, {3, 200}, {4, 1000}}},
    };
    for (const auto& expected : grids) {
        SCOPED_TRACE(expected.grid->objectName().toStdString());
        EXPECT_EQ(expected.grid->RowCount(), 1);
        EXPECT_EQ(expected.grid->ColCount(), static_cast<int>(expected.headers.size()));
        EXPECT_EQ(GridRow(*expected.grid, 0), expected.headers);
        for (auto [column, width] : expected.widths)
            EXPECT_EQ(expected.grid->ColWidth(column), width) << "column " << column;
        EXPECT_EQ(expected.grid->Row(), 0);
    }
}

TEST_F(MainWindowTest, PagesMenusAndCaption) {
    EXPECT_EQ(window->windowTitle().toStdString(), "Ormaline");
    ASSERT_EQ(window->pcServices->count(), 5);
    std::vector<std::string> tabs;
    for (int i = 0; i < window->pcServices->count(); ++i)
        tabs.push_back(window->pcServices->tabText(i).toStdString());
    EXPECT_EQ(tabs, (std::vector<std::string>{"Total", "TTL&&TTM&&TTN", "TTA", "TTD", "TTC"}));
    EXPECT_EQ(window->pcServices->currentWidget(), window->tsTotal);

    std::vector<std::string> menus;
    std::map<std::string, std::vector<std::string>> items;
    for (QAction* menu : window->menuBar()->actions()) {
        menus.push_back(menu->text().toStdString());
        if (menu->menu())
            for (QAction* item : menu->menu()->actions())
                items[menu->text().toStdString()].push_back(item->text().toStdString());
    }
    EXPECT_EQ(menus, (std::vector<std::string>{"Database", "Commands", "About"}));
    EXPECT_EQ(items["Database"], (std::vector<std::string>{"Connect To DB...", "Disconnect DB..."}));
    EXPECT_EQ(items["Commands"], (std::vector<std::string>{"Query To File", "Data To File"}));
    EXPECT_TRUE(items["About"].empty());
}

TEST_F(MainWindowTest, ConnectOnAnOpenConnectionReloadsBothLibraryLists) {
    auto libraries = ListTexts(*window->cmbTTLLibrary);
    auto topologies = ListTexts(*window->cbTTDLibrary);
    auto figures = ListTexts(*window->cmbCoordFig);
    window->cmbTTLLibrary->clear();
    window->cbTTDLibrary->clear();
    window->cmbCoordFig->clear();
    window->actConnectToDB->trigger();
    ProcessEvents();
    EXPECT_TRUE(window->Connection().IsOpen());
    EXPECT_EQ(ListTexts(*window->cmbTTLLibrary), libraries);
    EXPECT_EQ(ListTexts(*window->cbTTDLibrary), topologies);
    // The other lookup lists are not reloaded.
    EXPECT_TRUE(ListTexts(*window->cmbCoordFig).empty());
    EXPECT_TRUE(figures.size() > 0);
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(MainWindowTest, DisconnectAndConnectAgain) {
    window->actDisconnectDB->trigger();
    EXPECT_FALSE(window->Connection().IsOpen());
    // Disconnecting a closed connection does nothing.
    window->actDisconnectDB->trigger();
    EXPECT_FALSE(window->Connection().IsOpen());
    EXPECT_TRUE(dialogs->records.empty());

    window->cmbTTLLibrary->clear();
    window->actConnectToDB->trigger();
    EXPECT_TRUE(window->Connection().IsOpen());
    EXPECT_FALSE(ListTexts(*window->cmbTTLLibrary).empty());
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(MainWindowTest, ConnectFailureIsPrefixed) {
    window->actDisconnectDB->trigger();
    std::string saved = window->Connection().ConnectionString();
    window->Connection().SetConnectionString("DSN=NoSuchOrmalineSource;");
    window->actConnectToDB->trigger();
    window->Connection().SetConnectionString(saved);
    ASSERT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].kind, DialogKind::Error);
    const std::string prefix = "Exception raised with message";
    EXPECT_EQ(dialogs->records[0].text.substr(0, prefix.size()), prefix);
    EXPECT_GT(dialogs->records[0].text.size(), prefix.size());
    EXPECT_FALSE(window->Connection().IsOpen());
    dialogs->records.clear();
    window->actConnectToDB->trigger();
    EXPECT_TRUE(window->Connection().IsOpen());
}

TEST_F(MainWindowTest, EnablingRulesFollowTheWindowState) {
    ProcessEvents();
    EXPECT_TRUE(window->actConnectToDB->isEnabled());
    EXPECT_TRUE(window->actDisconnectDB->isEnabled());
    // The query list is empty and the result memo holds no line.
    EXPECT_FALSE(window->actSearchResult->isEnabled());
    EXPECT_FALSE(window->actQDelete->isEnabled());
    EXPECT_FALSE(window->actQClear->isEnabled());
    EXPECT_FALSE(window->actReference->isEnabled());
    // Read commands need a current data row.
    EXPECT_FALSE(window->actLigRead->isEnabled());
    EXPECT_FALSE(window->actLigDraw->isEnabled());
    EXPECT_FALSE(window->actAtRead->isEnabled());
    EXPECT_FALSE(window->actTTDRead->isEnabled());
    EXPECT_FALSE(window->actTTCRead->isEnabled());
}

TEST_F(MainWindowTest, RefCodeListReadsTheResultMemo) {
    int c = -1;
    EXPECT_EQ(window->RefCodeList(c), "");
    EXPECT_EQ(c, 0);
    window->mSearchResult->setPlainText("ABCDEF\n\n  \nGHIJKL\nXYZ012");
    EXPECT_EQ(window->RefCodeList(c), "\r\n'ABCDEF','GHIJKL','XYZ012'");
    EXPECT_EQ(c, 3);
}

TEST_F(MainWindowTest, AssignTextFileAppendsTxtAndAsksBeforeOverwriting) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / "ormaline-assign-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::string fileName;

    dialogs->PushCancel();
    EXPECT_FALSE(window->AssignTextFile(fileName, "TTLQuery"));
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    EXPECT_EQ(dialogs->fileRequests[0].fileName, "TTLQuery");
    EXPECT_EQ(dialogs->fileRequests[0].initialFolder, ProgramFolder());
    EXPECT_EQ(dialogs->fileRequests[0].filter, "Text files (*.txt)|*.TXT");

    dialogs->PushText((folder / "hits").string());
    EXPECT_TRUE(window->AssignTextFile(fileName, "TTLQuery"));
    EXPECT_EQ(fileName, (folder / "hits.txt").string());
    EXPECT_FALSE(fs::exists(fileName)) << "the file is created only by the caller";

    dialogs->PushText((folder / "hits.txt").string());
    EXPECT_TRUE(window->AssignTextFile(fileName, "TTLQuery"));
    EXPECT_EQ(fileName, (folder / "hits.txt.txt").string());

    std::ofstream(folder / "old.txt") << "keep";
    dialogs->records.clear();
    dialogs->PushText((folder / "old").string());
    dialogs->PushNo();
    EXPECT_FALSE(window->AssignTextFile(fileName, "TTLQuery"));
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Confirmation),
              (std::vector<std::string>{"File " + (folder / "old").string() + ".txt exist. Overwrite?"}));
    dialogs->PushText((folder / "old").string());
    dialogs->PushYes();
    EXPECT_TRUE(window->AssignTextFile(fileName, "TTLQuery"));
    fs::remove_all(folder);
}

TEST_F(MainWindowTest, TheLogFileExistsInTheProgramFolder) {
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ProgramFolder()) / "TTCollection.log"));
}

TEST(MainWindowStartTest, AnUnknownDataSourceStopsTheCreation) {
    FreshDialogs();
    EXPECT_THROW(TfrmTTLServices window("DSN=NoSuchOrmalineSource;"), EDatabaseError);
}
