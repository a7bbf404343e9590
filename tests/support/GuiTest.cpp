#include "support/GuiTest.h"

#include "platform/StringGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <tuple>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ormaline::testing {

ScriptedUserDialogs& FreshDialogs() {
    InstallDialogs(std::make_unique<ScriptedUserDialogs>());
    return dynamic_cast<ScriptedUserDialogs&>(Dialogs());
}

void ProcessEvents() {
    // A short wait runs the event loop until it would block, which is when the
    // idle-time enabling rules are evaluated.
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}

std::vector<std::string> ListTexts(const QComboBox& combo) {
    std::vector<std::string> texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.push_back(combo.itemText(i).toStdString());
    return texts;
}

std::vector<std::string> QueryColumn(const std::string& statement, const std::string& column) {
    TDatabase db;
    db.Open();
    std::vector<std::string> values;
    for (auto result = db.Query(statement); !result->Eof(); result->Next())
        values.push_back(result->AsString(column));
    return values;
}

std::vector<ExpectedHit> ExpectedHits(const std::string& library, const std::string& pattern) {
    TDatabase db;
    db.Open();
    auto r =
        db.Query("select l.id, l.name, l.countat, l.ttlcode,\r\n"
                 "  (select count(*) from (select distinct o.refcode, o.coordtype\r\n"
                 "     from topology.limon_loc o where o.limonid = l.id) d) as n\r\n"
                 "from topology.limon l join topology.limon_library b on b.id = l.libraryid\r\n"
                 "where b.name = '" +
                 library + "' and l.name like '" + pattern +
                 "'\r\n"
                 "  and exists (select 1 from topology.limon_loc o where o.limonid = l.id)");
    std::vector<std::tuple<long, std::string, ExpectedHit>> rows;
    for (; !r->Eof(); r->Next()) {
        ExpectedHit hit{r->AsString("ttlcode"), r->AsString("countat"), r->AsString("name"),
                        r->AsString("id"), r->AsString("n")};
        rows.emplace_back(-std::stol(hit.occurrences), hit.name, hit);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    std::vector<ExpectedHit> hits;
    for (auto& row : rows)
        hits.push_back(std::get<2>(row));
    return hits;
}

std::vector<std::vector<std::string>> QueryRows(const std::string& statement) {
    TDatabase db;
    db.Open();
    std::vector<std::vector<std::string>> rows;
    for (auto result = db.Query(statement); !result->Eof(); result->Next()) {
        std::vector<std::string> row;
        for (int column = 0; column < result->ColumnCount(); ++column)
            row.push_back(result->AsString(column));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::vector<std::string>> GridRows(const StringGrid& grid) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r < grid.RowCount(); ++r)
        rows.push_back(grid.RowTexts(r));
    return rows;
}

void ExpectRowsByCount(const StringGrid& grid, std::vector<std::vector<std::string>> expected,
                       int countColumn) {
    auto shown = GridRows(grid);
    const auto column = static_cast<std::size_t>(countColumn);
    for (std::size_t i = 1; i < shown.size(); ++i)
        EXPECT_GE(std::stoll(shown[i - 1].at(column)), std::stoll(shown[i].at(column)))
            << "row " << i + 1;
    std::sort(shown.begin(), shown.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TempFolder::TempFolder(const std::string& name)
    : path_((std::filesystem::temp_directory_path() / ("ormaline-" + name)).string()) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void MainWindowTest::SetUp() {
    dialogs = &FreshDialogs();
    ASSERT_NO_THROW(window = std::make_unique<TfrmTTLServices>())
        << "the demo data source PostgreSQL30 must be running";
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ProcessEvents();
    ASSERT_TRUE(dialogs->records.empty())
        << "show time reported: " << dialogs->records.front().text;
}

void MainWindowTest::TearDown() {
    if (window)
        window->close();
    window.reset();
    ProcessEvents();
    EXPECT_EQ(dialogs->unanswered, 0) << "a box asked for an answer the test did not give";
}

} // namespace ormaline::testing
