// "Draw" on the ligand tab of the real window over the demo database: the viewer it
// opens, the compound handed over, and the picture read back from the viewer's
// framebuffer at the atoms' projected positions.
#include "support/GuiTest.h"
#include "viewer/ViewerPixels.h"

#include "model/ElementCodes.h"
#include "platform/ActionList.h"
#include "platform/StringGrid.h"
#include "viewer/core/ElementTables.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numbers>
#include <set>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

class LigandDrawTest : public MainWindowTest {
protected:
    void TearDown() override {
        for (TLVForm* viewer : VisibleViewers())
            viewer->close();
        ProcessEvents();
        MainWindowTest::TearDown();
    }

    // Searches `name` in the library "Ligands", chooses the first hit and presses Draw.
    TLVForm* Draw(const std::string& name) {
        window->pcServices->setCurrentWidget(window->tsTTL_TTM);
        window->cmbTTLLibrary->setCurrentText("Ligands");
        window->edSearchName->setText(QString::fromStdString(name));
        window->actTTLSearch->trigger();
        ProcessEvents();
        EXPECT_GE(window->sgLigands->RowCount(), 2) << name;
        window->sgLigands->SetRow(1);
        ProcessEvents();
        EXPECT_TRUE(window->actLigDraw->isEnabled());
        const std::vector<TLVForm*> before = VisibleViewers();
        window->actLigDraw->trigger();
        ProcessEvents();
        for (TLVForm* viewer : VisibleViewers())
            if (std::find(before.begin(), before.end(), viewer) == before.end())
                return viewer;
        return nullptr;
    }
};

TEST_F(LigandDrawTest, DrawShowsTheAtomsInTheirElementColoursAtTheirProjectedPositions) {
    TLVForm* viewer = Draw("sulfate");
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Latvista");
    const QImage picture = DrawnPicture(*viewer);
    picture.save("/tmp/ormaline-draw-sulfate.png");
    ASSERT_TRUE(dialogs->records.empty()) << dialogs->records.front().text;
    const TLVScene& scene = viewer->Scene();
    ASSERT_TRUE(scene.HasScene());
    EXPECT_EQ(scene.WLVO.NumModel, 3);
    // A corner of the client area shows the background.
    EXPECT_LT(Distance(PixelAt(picture, 3, 3), Rgb(scene.WLVO.WGBCol)), 1.0);
    int checked = 0;
    std::set<int> elements;
    for (const tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li) {
        const int element = node->pSAt->A.n;
        const auto centre = ScreenPixel(scene, *node);
        ASSERT_GT(centre[0], 0);
        ASSERT_LT(centre[0], picture.width());
        ASSERT_GT(centre[1], 0);
        ASSERT_LT(centre[1], picture.height());
        const auto direction = ClearDirection(*viewer, *node, 0.55);
        if (!direction)
            continue;
        const double r = PixelRadius(*viewer, *node);
        const double dx = (*direction)[0] * 0.55, dy = (*direction)[1] * 0.55;
        const TRgb expected =
            LitSphere(ElementColor(element), dx, dy, node->rk / scene.mas,
                      EyeCentre(*viewer, *node), scene.WLVO.Light_Position, scene.WLVO.Luminosity);
        const TRgb seen = PixelAt(picture, centre[0] + dx * r, centre[1] + dy * r);
        SCOPED_TRACE(std::string(ElSymbol(element)) + std::to_string(node->pSAt->A.i));
        EXPECT_LT(Distance(seen, expected), 28.0)
            << "seen " << seen.r << "," << seen.g << "," << seen.b << " expected " << expected.r
            << "," << expected.g << "," << expected.b;
        ++checked;
        elements.insert(element);
    }
    EXPECT_GE(checked, 3);
    EXPECT_EQ(elements, (std::set<int>{8, 16}));
}

// The road of a chemist on a drawn ligand: a click selects the sulfur, Delete hides it,
// a click on an oxygen and Restore bring it back along the oxygen's bond, and Undo takes
// the steps back one at a time, its menu item naming the step it will undo.
TEST_F(LigandDrawTest, OnADrawnLigandTheChemistSelectsHidesRestoresAndUndoes) {
    TLVForm* viewer = Draw("sulfate");
    ASSERT_NE(viewer, nullptr);
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    DrawnPicture(*viewer);
    const auto nodeOf = [&](int element) -> tTopAt* {
        for (tTopAt* node = viewer->Scene().WPTAtEnd; node != nullptr; node = node->li)
            if (node->pSAt->A.n == element)
                return node;
        return nullptr;
    };
    const auto click = [&](tTopAt* node) {
        const auto p = ScreenPixel(viewer->Scene(), *node);
        const QPointF at(std::lround(p[0]), std::lround(p[1]));
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, viewer->Surface()->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(viewer->Surface(), &event);
        }
    };
    const auto undoItem = [&] {
        viewer->Actions().UpdateActions();
        return viewer->miEdit->actions().front()->text().toStdString();
    };
    const auto screenshot = [&](const char* name) {
        if (const char* folder = std::getenv("ORMALINE_SCREENS"))
            viewer->grab().save(QString(folder) + "/ligand-" + name + ".png");
    };
    tTopAt* sulfur = nodeOf(16);
    tTopAt* oxygen = nodeOf(8);
    ASSERT_NE(sulfur, nullptr);
    ASSERT_NE(oxygen, nullptr);
    click(sulfur);
    ASSERT_EQ(viewer->Scene().CountInsAt, 1);
    EXPECT_EQ(undoItem(), "Undo: Select atom"); // the idle pass enables Delete too
    screenshot("1-selected");
    viewer->actSelDelete->trigger(); // the keys are tested on the viewer alone
    EXPECT_EQ(sulfur->c & kNodeVisible, 0);
    EXPECT_EQ(undoItem(), "Undo: Delete atom");
    DrawnPicture(*viewer);
    screenshot("2-deleted");
    click(oxygen);
    EXPECT_EQ(undoItem(), "Undo: Select atom");
    viewer->actRestore->trigger();
    EXPECT_NE(sulfur->c & kNodeVisible, 0);
    EXPECT_EQ(undoItem(), "Undo: Restore all bonds");
    DrawnPicture(*viewer);
    screenshot("3-restored");
    viewer->actUndo->trigger();
    viewer->Actions().UpdateActions();
    EXPECT_EQ(sulfur->c & kNodeVisible, 0);
    EXPECT_EQ(undoItem(), "Undo: Select atom");
    DrawnPicture(*viewer);
    screenshot("4-undone");
    for (int i = 0; i < 10 && viewer->Scene().UndoHistory.UndoCount() > 0; ++i) {
        viewer->actUndo->trigger();
        viewer->Actions().UpdateActions();
    }
    EXPECT_NE(sulfur->c & kNodeVisible, 0);
    EXPECT_EQ(viewer->Scene().CountInsAt, 0);
    EXPECT_EQ(undoItem(), "Undo");
    EXPECT_FALSE(viewer->actUndo->isEnabled());
}

// The atoms of the panel in the order and with the indexes the handoff gives them,
// worked out here from the atom grid the read filled.
TEST_F(LigandDrawTest, TheCompoundHoldsThePanelsAtomsInElementAndIndexOrder) {
    TLVForm* viewer = Draw("formate");
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(WaitForBuild(*viewer));
    const StringGrid& atoms = *window->sgLigAtoms;
    const StringGrid& bonds = *window->sgLigBonds;
    struct Expected {
        int n, index, number;
        std::string neighbours;
    };
    std::vector<Expected> expected;
    std::map<int, int> perElement;
    std::vector<int> firstAppearance;
    for (int row = 1; row < atoms.RowCount(); ++row) {
        const int n = std::stoi(atoms.Cell(1, row));
        if (perElement[n]++ == 0)
            firstAppearance.push_back(n);
        expected.push_back({n, perElement[n], std::stoi(atoms.Cell(2, row)), bonds.Cell(1, row)});
    }
    std::stable_sort(expected.begin(), expected.end(), [](const Expected& a, const Expected& b) {
        return a.n != b.n ? a.n < b.n : a.index < b.index;
    });
    const tCompParam& comp = viewer->Scene().CompParamMaler;
    EXPECT_EQ(comp.DC.at_, expected.size());
    EXPECT_EQ(comp.NameSG.Str(), "P 1");
    EXPECT_EQ(comp.CodeSG, 1);
    std::size_t k = 0;
    for (const tSteckAt* atom = comp.pAtEnd; atom != nullptr; atom = atom->li, ++k) {
        ASSERT_LT(k, expected.size());
        EXPECT_EQ(atom->A.n, expected[k].n);
        EXPECT_EQ(atom->A.i, expected[k].index);
        EXPECT_EQ(atom->i, expected[k].number);
        std::string neighbours;
        for (const tAdjMatr* entry = atom->PMAd; entry != nullptr; entry = entry->li)
            neighbours += (neighbours.empty() ? "" : " ") + std::to_string(entry->i);
        EXPECT_EQ(neighbours, expected[k].neighbours);
        EXPECT_EQ(atom->CN, std::count(neighbours.begin(), neighbours.end(), ' ') +
                                (neighbours.empty() ? 0 : 1));
    }
    EXPECT_EQ(k, expected.size());
    std::vector<int> elementList;
    for (const t_element& element : comp.MEl)
        elementList.push_back(element.n);
    // The build re-sorts the element list by radius; its members stay those of the panel.
    std::sort(elementList.begin(), elementList.end());
    std::sort(firstAppearance.begin(), firstAppearance.end());
    EXPECT_EQ(elementList, firstAppearance);
}

TEST_F(LigandDrawTest, TwoDrawsOpenTwoIndependentWindows) {
    TLVForm* first = Draw("nitrate");
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WaitForBuild(*first));
    TLVForm* second = Draw("nitrate");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);
    ASSERT_TRUE(WaitForBuild(*second));
    EXPECT_NE(first->Scene().WPTAll, second->Scene().WPTAll);
    EXPECT_NE(first->Scene().CompParamMaler.pAtEnd, second->Scene().CompParamMaler.pAtEnd);
    EXPECT_EQ(first->Scene().WCountAt, second->Scene().WCountAt);
    // A model change in one window leaves the other as it was.
    first->actWire->trigger();
    ProcessEvents();
    EXPECT_EQ(first->Scene().WPTAtEnd->nm, 0);
    EXPECT_EQ(second->Scene().WPTAtEnd->nm, 3);
    first->close();
    ProcessEvents();
    ASSERT_EQ(VisibleViewers().size(), 1u);
    EXPECT_EQ(VisibleViewers().front(), second);
    const QImage picture = DrawnPicture(*second);
    const auto centre = ScreenPixel(second->Scene(), *second->Scene().WPTAtEnd);
    EXPECT_GT(Distance(PixelAt(picture, centre[0], centre[1]), Rgb(0xFFFFFF)), 30.0);
}

TEST_F(LigandDrawTest, AnEmptyBondCellGivesAnAtomWithoutBonds) {
    TLVForm* viewer = Draw("chloride");
    ASSERT_NE(viewer, nullptr);
    ASSERT_EQ(window->sgLigBonds->Cell(1, 1), "");
    const QImage picture = DrawnPicture(*viewer);
    const TLVScene& scene = viewer->Scene();
    const tSteckAt* atom = scene.CompParamMaler.pAtEnd;
    ASSERT_NE(atom, nullptr);
    EXPECT_EQ(atom->PMAd, nullptr);
    EXPECT_EQ(atom->CN, 0);
    ASSERT_NE(scene.WPTAtEnd, nullptr);
    EXPECT_EQ(scene.WPTAtEnd->p, nullptr);
    const tTopAt& node = *scene.WPTAtEnd;
    const double r = PixelRadius(*viewer, node);
    const auto centre = ScreenPixel(scene, node);
    const TRgb expected =
        LitSphere(ElementColor(17), -0.5, 0.5, node.rk / scene.mas, EyeCentre(*viewer, node),
                  scene.WLVO.Light_Position, scene.WLVO.Luminosity);
    EXPECT_LT(Distance(PixelAt(picture, centre[0] - 0.5 * r, centre[1] + 0.5 * r), expected), 28.0);
}

// What Open Babel prints for a file: title, atom count, bond count and formula.
std::string ObabelCounts(const std::string& format, const std::string& path) {
    std::string output;
    const std::string command =
        "obabel -i" + format + " '" + path + "' -otxt --append \"atoms bonds formula\" 2>/dev/null";
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            output += buffer;
        pclose(pipe);
    }
    return output;
}

TEST_F(LigandDrawTest, OpenBabelReadsTheSavedPdbAndHinFilesOfADrawnLigand) {
    TLVForm* viewer = Draw("N,N-dimethylformamide");
    ASSERT_NE(viewer, nullptr);
    DrawnPicture(*viewer).save("/tmp/ormaline-dmf-opengl.png");
    viewer->actAPIMode->trigger();
    DrawnPicture(*viewer).save("/tmp/ormaline-dmf-2d.png");
    TempFolder folder("ormaline-ligand-export");
    // HCON(CH3)2: 12 atoms, 11 bonds.
    for (const char* format : {"pdb", "hin"}) {
        const std::string path = folder / (std::string("dmf.") + format);
        dialogs->PushText(path);
        viewer->actImageSaveAs->trigger();
        ProcessEvents();
        const std::string counts = ObabelCounts(format, path);
        EXPECT_NE(counts.find(" 12 11 C3H7NO"), std::string::npos) << format << ": " << counts;
    }
    EXPECT_EQ(dialogs->records.back().kind, DialogKind::SaveFile);
}

} // namespace

namespace {

// Cartesian position of a node in the crystallographers' frame (a along x, b in the xy
// plane), independent of the viewer's own frame: angles come out the same.
std::array<double, 3> Orthogonal(const tCompParam& comp, const tTopAt& node) {
    const double a = comp.DC.Tr[0], b = comp.DC.Tr[1], c = comp.DC.Tr[2];
    const double rad = std::numbers::pi / 180;
    const double ca = std::cos(comp.DC.Ug[0] * rad), cb = std::cos(comp.DC.Ug[1] * rad),
                 cg = std::cos(comp.DC.Ug[2] * rad), sg = std::sin(comp.DC.Ug[2] * rad);
    const double v = std::sqrt(1 - ca * ca - cb * cb - cg * cg + 2 * ca * cb * cg);
    std::array<double, 3> f{};
    for (std::size_t axis = 0; axis < 3; ++axis)
        f[axis] = node.pSAt->A.k[axis] + node.t[axis];
    return {a * f[0] + b * cg * f[1] + c * cb * f[2],
            b * sg * f[1] + c * (ca - cb * cg) / sg * f[2], c * v / sg * f[2]};
}

} // namespace

// The user clicks the sulfur and two oxygens of the drawn sulfate in select mode: the
// second status panel shows the O-S-O angle, labelled in the order of the sulfur's bonds.
TEST_F(LigandDrawTest, ClickedAtomsOfADrawnLigandShowTheirAngle) {
    TLVForm* viewer = Draw("sulfate");
    ASSERT_NE(viewer, nullptr);
    DrawnPicture(*viewer);
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    const TLVScene& scene = viewer->Scene();
    const auto click = [&](const tTopAt& node) {
        const auto p = ScreenPixel(scene, node);
        QTest::mouseClick(
            viewer->Surface(), Qt::LeftButton, {},
            QPoint(static_cast<int>(std::lround(p[0])), static_cast<int>(std::lround(p[1]))));
        ProcessEvents();
    };
    const tTopAt* sulfur = nullptr;
    std::vector<const tTopAt*> oxygens;
    for (const tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li) {
        if (node->pSAt->A.n == 16)
            sulfur = node;
        else
            oxygens.push_back(node);
    }
    ASSERT_NE(sulfur, nullptr);
    ASSERT_GE(oxygens.size(), 2u);
    // Oxygens seen in front of the others, so that a click picks them.
    std::sort(oxygens.begin(), oxygens.end(),
              [](const tTopAt* x, const tTopAt* y) { return x->hk > y->hk; });
    click(*oxygens[0]);
    click(*sulfur);
    click(*oxygens[1]);
    ASSERT_EQ(scene.CountInsAt, 3);
    std::vector<const tTopAt*> chosen;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
        chosen.push_back(record->PTA);
    ASSERT_EQ(chosen[1], sulfur);
    std::vector<const tTopAt*> ends;
    for (const tBoundAt* bond = sulfur->p; bond != nullptr; bond = bond->li)
        if (bond->p == chosen[0] || bond->p == chosen[2])
            ends.push_back(bond->p);
    ASSERT_EQ(ends.size(), 2u);
    const tCompParam& comp = scene.CompParamMaler;
    const auto s = Orthogonal(comp, *sulfur), o1 = Orthogonal(comp, *ends[0]),
               o2 = Orthogonal(comp, *ends[1]);
    double dot = 0, l1 = 0, l2 = 0;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        dot += (o1[axis] - s[axis]) * (o2[axis] - s[axis]);
        l1 += (o1[axis] - s[axis]) * (o1[axis] - s[axis]);
        l2 += (o2[axis] - s[axis]) * (o2[axis] - s[axis]);
    }
    char angle[32];
    std::snprintf(angle, sizeof angle, "%.2f",
                  std::acos(dot / std::sqrt(l1 * l2)) * 180 / std::numbers::pi);
    const auto name = [](const tTopAt* node) {
        return std::string(ElSymbol(node->pSAt->A.n)) + std::to_string(node->pSAt->A.i);
    };
    EXPECT_EQ(viewer->StatusPanelText(1), "3:0:0  S1 O2   <(" + name(ends[0]) + "-S1-" +
                                              name(ends[1]) + ")=" + angle + "\u00B0");
    if (const char* folder = std::getenv("ORMALINE_SCREENSHOTS"))
        viewer->grab().save(QString(folder) + "/sulfate-angle.png");
}

// The road from a drawn ligand to a search fragment: every atom of the drawn sulfate is
// selected by a click on the background, saved as a graph file ("Save Selection", type
// changed to graph files), loaded through the subgraph's "Load" and searched with.
TEST_F(LigandDrawTest, ASavedSelectionLoadsAsTheSearchFragment) {
    TLVForm* viewer = Draw("sulfate");
    ASSERT_NE(viewer, nullptr);
    DrawnPicture(*viewer);
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    QTest::mouseClick(viewer->Surface(), Qt::LeftButton, {},
                      QPoint(8, viewer->Surface()->height() - 8));
    ProcessEvents();
    ASSERT_EQ(viewer->Scene().CountInsAt, 5);
    TempFolder folder("calculations-fragment");
    const std::string path = folder / "sulfate.gph";
    dialogs->PushTypeChange(2);
    dialogs->PushText(path);
    viewer->SaveSelection1->trigger();
    ProcessEvents();
    ASSERT_FALSE(ReadFileBytes(path).empty());
    viewer->close();
    ProcessEvents();

    dialogs->records.clear();
    dialogs->PushText(path);
    window->actSGLoad->trigger();
    ProcessEvents();
    for (const DialogRecord& record : dialogs->records)
        EXPECT_EQ(record.kind, DialogKind::OpenFile) << record.text;
    ASSERT_NE(window->SGLines, nullptr);
    EXPECT_EQ(window->SGLines->size(), 7u);
    EXPECT_EQ(window->CompParamGraph.DC.at_, 5u);
    // The sulfate itself contains the fragment.
    window->cmbTTLLibrary->setCurrentText("Ligands");
    window->edSearchName->setText("sulfate");
    window->cbWithSpecies->setChecked(true);
    window->actTTLSearch->trigger();
    ProcessEvents();
    EXPECT_GE(window->sgLigands->RowCount(), 2);
}
