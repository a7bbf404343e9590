// The real save dialog that closes when the user picks another file type: the type it
// closed with, and the type it opens with.
#include "support/GuiTest.h"

#include "platform/QtUserDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

using namespace ormaline;
using namespace ormaline::testing;

TEST(SaveDialogTest, ClosesOnAChangeOfTypeAndReportsTheNewType) {
    QtUserDialogs dialogs;
    FileDialogRequest request;
    request.caption = "Save Selection";
    request.filter = "Tint files (*.tnt)|*.tnt|Graph files (*.gph)|*.gph|Text files (*.txt)|*.txt";
    request.defaultExtension = "gph";
    request.filterIndex = 2;
    QString shownFilter;
    QTimer::singleShot(100, [&shownFilter] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownFilter = dialog->selectedNameFilter();
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        // The user steps to the next type: text files.
        QTest::keyClick(types, Qt::Key_Down);
    });
    const SaveFileChoice choice = dialogs.SaveFileClosingOnTypeChange(request);
    EXPECT_EQ(shownFilter.toStdString().substr(0, 11), "Graph files");
    EXPECT_TRUE(choice.typeChanged);
    EXPECT_EQ(choice.filterIndex, 3);
    EXPECT_FALSE(choice.fileName.has_value());

    // Cancel: no file, no change of type.
    QTimer::singleShot(100, [] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    const SaveFileChoice cancelled = dialogs.SaveFileClosingOnTypeChange(request);
    EXPECT_FALSE(cancelled.typeChanged);
    EXPECT_EQ(cancelled.filterIndex, 2);
    EXPECT_FALSE(cancelled.fileName.has_value());
}
