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
