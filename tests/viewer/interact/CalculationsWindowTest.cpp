// The calculations through the real viewer window, one scenario per road: clicking atoms
// of a drawn water molecule shows their distance and angle in the status bar; the
// centroid adds its pseudo-atom; the selected-atoms report opens; "Save Selection"
// writes a graph file after a change of type; the magic wand's right click opens the
// neighbour table, which sorts and gives column statistics.
#include "support/GuiTest.h"
#include "viewer/ViewerForms.h"

#include "model/MolTextReader.h"
#include "model/TextFile.h"
#include "viewer/interact/SelectedAtomsForm.h"
#include "viewer/interact/VDPData.h"
#include "viewer/interact/core/SelectionFiles.h"

#include <QHeaderView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <cmath>
#include <cstdlib>
#include <numbers>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

// Widget pictures go to the folder named by ORMALINE_SCREENSHOTS, when it is set.
void Keep(QWidget& widget, const char* name) {
    if (const char* folder = std::getenv("ORMALINE_SCREENSHOTS"))
        widget.grab().save(QString(folder) + "/" + name + ".png");
}

void KeepWindow(TLVForm& form, const char* name) {
    const char* folder = std::getenv("ORMALINE_SCREENSHOTS");
    if (folder == nullptr)
        return;
    QImage picture(form.size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    form.render(&painter);
    const QImage surface = Picture(form);
    painter.drawImage(form.Surface()->mapTo(&form, QPoint(0, 0)), surface);
    painter.end();
    picture.save(QString(folder) + "/" + name + ".png");
}

class CalculationsWindowTest : public ScriptedDialogsTest {
protected:
    std::unique_ptr<TLVForm> Open() {
        auto form = ViewerOn(kWater, 10.0, [](TLatvistaOpt& o) { o.NumModel = 3; });
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        Picture(*form);
        return form;
    }
    static QPoint PixelOfAtom(TLVForm& form, int number) {
        const auto p = ScreenPixel(form.Scene(), *NodeOf(form, number));
        return {static_cast<int>(std::lround(p[0])), static_cast<int>(std::lround(p[1]))};
    }
    static void Click(TLVForm& form, int number, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(form.Surface(), button, modifiers, PixelOfAtom(form, number));
        QApplication::processEvents();
    }

    // Water: O1 bonded to H2 and H3, 1 A from each, in a 10 A cell.
    const std::vector<TTestAtom> kWater = {
        {8, 0.5, 0.45, 0.5, "2 3"}, {1, 0.58, 0.51, 0.5, "1"}, {1, 0.42, 0.51, 0.5, "1"}};
};

TEST_F(CalculationsWindowTest, ClickedAtomsShowTheirDistanceAndAngle) {
    auto form = Open();
    Click(*form, 1);
    EXPECT_EQ(form->StatusPanelText(1), "1:0:0  O1 ");
    Click(*form, 2);
    EXPECT_EQ(form->StatusPanelText(1), "2:0:0  O1 H1 (H1-O1)  r=1.000 A");
    Click(*form, 3);
    // The angle at the oxygen between (0.8, 0.6) and (-0.8, 0.6) angstrom.
    char angle[32];
    std::snprintf(angle, sizeof angle, "%.2f", 2 * std::atan2(0.8, 0.6) * 180 / std::numbers::pi);
    EXPECT_EQ(form->StatusPanelText(1),
              std::string("3:0:0  O1 H2   <(H1-O1-H2)=") + angle + "\u00B0");
    KeepWindow(*form, "angle-in-status-bar");
    // The centroid of the three atoms is free: "Yes" adds the pseudo-atom there.
    dialogs->PushYes();
    ProcessEvents();
    form->actCentroid->trigger();
    ASSERT_EQ(dialogs->records.size(), 1u);
    EXPECT_EQ(dialogs->records[0].text, "Add pseudoatom &&C( 0.50000 0.49000 0.50000)?");
    EXPECT_EQ(form->StatusPanelText(1),
              std::string("3:0:0  O1 H2   <(H1-O1-H2)=") + angle +
                  "\u00B0Center for 3 atoms: &C( 0.50000 0.49000 0.50000) <r>=0.68 A");
    EXPECT_EQ(form->Scene().WPTAtEnd->pSAt->A.n, 113);
    KeepWindow(*form, "centroid-added");
    // Again: it coincides with the pseudo-atom, which is only reported.
    ProcessEvents();
    form->actCentroid->trigger();
    ASSERT_EQ(dialogs->records.size(), 2u);
    EXPECT_EQ(dialogs->records[1].text,
              "Pseudoatom &&C( 0.50000 0.49000 0.50000) coincides with ZC1.");

    // The report of the three selected atoms.
    std::string memo;
    QTimer::singleShot(50, [&memo] {
        if (auto* report = qobject_cast<TSelectedAtomsForm*>(QApplication::activeModalWidget())) {
            memo = report->Memo->toPlainText().toStdString();
            EXPECT_EQ(report->windowTitle(), "Selected Atoms");
            Keep(*report, "selected-atoms-report");
            report->OkButton->click();
        }
    });
    ProcessEvents();
    form->actSelectedAtoms->trigger();
    EXPECT_EQ(memo.substr(0, memo.find('\n', memo.find("bonds"))),
              " All atoms:   H2   O1 \n\n All bonds:");
    EXPECT_TRUE(memo.find("  H-O - 2\n") != std::string::npos ||
                memo.find("  O-H - 2\n") != std::string::npos)
        << memo;
    EXPECT_NE(memo.find(" Plane equation in orthogonal coord.: \n  1.0000*z=0"), std::string::npos)
        << memo;
}

TEST_F(CalculationsWindowTest, SaveSelectionAfterATypeChangeWritesAGraphFile) {
    auto form = Open();
    Click(*form, 1);
    Click(*form, 2, Qt::LeftButton, Qt::ControlModifier);
    TempFolder folder("calculations-save");
    const std::string path = folder / "water.gph";
    // Opened as a tint file, switched to the graph type, then saved there.
    dialogs->PushTypeChange(sftGraph);
    dialogs->PushText(path);
    form->SaveSelection1->trigger();
    ASSERT_EQ(dialogs->fileRequests.size(), 2u);
    EXPECT_EQ(dialogs->fileRequests[0].defaultExtension, "tnt");
    EXPECT_EQ(dialogs->fileRequests[1].defaultExtension, "gph");
    EXPECT_EQ(dialogs->fileRequests[1].filterIndex, sftGraph);
    EXPECT_EQ(form->SaveDialogFilterIndex, sftGraph);
    EXPECT_EQ(GraphDirectory(), folder.Path());
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.substr(bytes.find("\r\n") + 2),
              "10.000 10.000 10.000 90.00 90.00 90.00\r\n"
              "*1 H[1,?]<$FFFFFFFF> 0.580 0.510 0.500 2 v \r\n"
              "2 O[1,?]<$FFFFFFFF> 0.500 0.450 0.500 1 v \r\n");
    std::vector<std::string> lines;
    ReadTextFileLines(path, lines);
    tCompParam comp;
    EXPECT_TRUE(ReadMolText(lines, comp, {}));
    // The graph type opens where the last graph file went; an existing file is kept
    // unless the user agrees to overwrite it.
    dialogs->PushText(path);
    dialogs->PushNo();
    form->SaveSelection1->trigger();
    EXPECT_EQ(dialogs->fileRequests.back().initialFolder, folder.Path());
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Confirmation).back(),
              "File " + path + " already exists. Overwrite?");
    EXPECT_EQ(ReadFileBytes(path), bytes);
    GraphDirectory().clear();
}

TEST_F(CalculationsWindowTest, MagicWandRightClickOpensTheSortableNeighbourTable) {
    auto form = Open();
    QTest::mouseClick(form->tbLVMagicWand, Qt::LeftButton);
    ASSERT_EQ(form->Scene().MouseMode, 6);
    std::vector<std::string> lengths, afterClick;
    QString caption;
    QTimer::singleShot(50, [&] {
        auto* table = qobject_cast<TListViewForm*>(QApplication::activeModalWidget());
        ASSERT_NE(table, nullptr);
        caption = table->windowTitle();
        for (const TNeighbourRow& row : table->Rows())
            lengths.push_back(row[0] + " " + row[1] + " " + row[6]);
        Keep(*table, "neighbour-table");
        // A click on the "Atom" header sorts descending by atom.
        QHeaderView* header = table->ListView1->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        for (const TNeighbourRow& row : table->Rows())
            afterClick.push_back(row[1]);
        table->ListView1ColumnRightClick(6);
        table->Button2->click();
    });
    Click(*form, 1, Qt::RightButton);
    EXPECT_EQ(caption, " O(1) ( 0.500, 0.450, 0.500)");
    EXPECT_EQ(lengths, (std::vector<std::string>{"1 H(1)   1.000", "2 H(2)   1.000"}));
    EXPECT_EQ(afterClick, (std::vector<std::string>{"H(2)", "H(1)"}));
    EXPECT_EQ(
        dialogs->TextsOf(DialogKind::Information),
        (std::vector<std::string>{"Mean of Column (r, A) in number 2 equal to:  1.0000( 0.0000)"}));
}

} // namespace
