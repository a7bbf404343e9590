// The window over a server that is restarted under its live connection: the
// connection the driver reports lost counts as closed, and "Connect To DB..." opens it
// again. The server is the test's own, so the suite's server is never stopped.
#include "support/GuiTest.h"
#include "support/ThrowAwayServer.h"

#include "platform/StringGrid.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

class ReconnectTest : public ScriptedDialogsTest {
protected:
    void SetUp() override {
        ScriptedDialogsTest::SetUp();
        ASSERT_TRUE(server.Start()) << server.Log();
        ASSERT_NO_THROW(window = std::make_unique<TfrmTTLServices>(server.ConnectionString()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ProcessEvents();
        ASSERT_TRUE(dialogs->records.empty()) << dialogs->records.front().text;
    }
    void TearDown() override {
        if (window)
            window->close();
        window.reset();
        ProcessEvents();
        ScriptedDialogsTest::TearDown();
    }

    void Restart() {
        ASSERT_TRUE(server.Stop()) << server.Log();
        ASSERT_TRUE(server.Start()) << server.Log();
    }

    // A topology search by library: a statement on the connection, with its own rows.
    int SearchTopologies() {
        window->pcServices->setCurrentWidget(window->tsTTD);
        window->cbTTDLibrary->setCurrentText("Basic nets");
        window->actTTDSearch->trigger();
        ProcessEvents();
        return window->sgTTD->RowCount() - 1;
    }

    ThrowAwayServer server;
    std::unique_ptr<TfrmTTLServices> window;
};

} // namespace

TEST_F(ReconnectTest, ConnectAfterARestartOpensTheConnectionAgain) {
    const auto libraries = ListTexts(*window->cmbTTLLibrary);
    ASSERT_FALSE(libraries.empty());
    const int topologies = SearchTopologies();
    ASSERT_GT(topologies, 0);

    // The first command after the restart is "Connect To DB...": it must not fail.
    Restart();
    window->cmbTTLLibrary->clear();
    window->actConnectToDB->trigger();
    ProcessEvents();
    EXPECT_TRUE(dialogs->records.empty())
        << "Connect reported: " << (dialogs->records.empty() ? "" : dialogs->records[0].text);
    EXPECT_TRUE(window->Connection().IsOpen());
    EXPECT_EQ(ListTexts(*window->cmbTTLLibrary), libraries);
    EXPECT_EQ(SearchTopologies(), topologies);

    // A search on the dropped connection reports the driver's error; the connection then
    // counts as closed, and "Connect To DB..." opens it again.
    Restart();
    dialogs->records.clear();
    SearchTopologies();
    ASSERT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].kind, DialogKind::Error);
    EXPECT_FALSE(window->Connection().IsOpen());
    dialogs->records.clear();
    window->actConnectToDB->trigger();
    ProcessEvents();
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(window->Connection().IsOpen());
    EXPECT_EQ(SearchTopologies(), topologies);

    // "Disconnect DB..." on a lost connection has nothing to close and says nothing.
    Restart();
    SearchTopologies();
    dialogs->records.clear();
    window->actDisconnectDB->trigger();
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_FALSE(window->Connection().IsOpen());
}
