#include "support/GuiTest.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

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

void MainWindowTest::SetUp() {
    dialogs = &FreshDialogs();
    ASSERT_NO_THROW(window = std::make_unique<TfrmTTLServices>())
        << "the demo data source PostgreSQL30 must be running";
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ProcessEvents();
    ASSERT_TRUE(dialogs->records.empty()) << "show time reported: " << dialogs->records.front().text;
}

void MainWindowTest::TearDown() {
    if (window)
        window->close();
    window.reset();
    ProcessEvents();
    EXPECT_EQ(dialogs->unanswered, 0) << "a box asked for an answer the test did not give";
}

} // namespace ormaline::testing
