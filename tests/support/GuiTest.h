// Helpers of the GUI tests: the scripted dialogs, a main window over the demo
// database, event processing.
#pragma once

#include "app/TTLUnit.h"
#include "db/Database.h"
#include "platform/UserDialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ormaline::testing {

// The scripted dialogs the test main installed, emptied.
ScriptedUserDialogs& FreshDialogs();

// Lets the window process what is pending and become idle, so that the enabling
// rules are evaluated as they are for a user.
void ProcessEvents();

// The texts of a combo box's list, in order.
std::vector<std::string> ListTexts(const class ::QComboBox& combo);

// A column of a statement run on a separate connection: the test's own view of the
// demo data, independent of the window.
std::vector<std::string> QueryColumn(const std::string& statement, const std::string& column);

// A row of the ligand search as the test works it out: the five grid columns.
struct ExpectedHit {
    std::string ttlcode, countat, name, id, occurrences;
    std::vector<std::string> Row() const { return {ttlcode, countat, name, id, occurrences}; }
};

// The hits of a name pattern in a library, ordered by occurrence count (descending)
// and name, computed without the window's statement.
std::vector<ExpectedHit> ExpectedHits(const std::string& library, const std::string& pattern);

// Rows of a statement run on a separate connection, every column as text.
std::vector<std::vector<std::string>> QueryRows(const std::string& statement);

// The data rows of a grid (row 1 on).
std::vector<std::vector<std::string>> GridRows(const class StringGrid& grid);

// The data rows of a result grid ordered by a count, most first, against the expected
// rows: rows of equal counts come in the server's order, so they are compared as a set.
void ExpectRowsByCount(const class StringGrid& grid, std::vector<std::vector<std::string>> expected,
                       int countColumn);

// The bytes of a file ("" when it cannot be read).
std::string ReadFileBytes(const std::string& path);

// A folder of its own for a test's files, removed with everything in it at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The path of `file` in the folder.
    std::string operator/(const std::string& file) const { return path_ + "/" + file; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Fresh scripted dialogs for every test; every answer a test scripts must be asked for.
class ScriptedDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { dialogs = &FreshDialogs(); }
    void TearDown() override { EXPECT_EQ(dialogs->unanswered, 0); }
    ScriptedUserDialogs* dialogs = nullptr;
};

// A shown main window over the demo database, with fresh scripted dialogs.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<TfrmTTLServices> window;
    ScriptedUserDialogs* dialogs = nullptr;
};

} // namespace ormaline::testing
