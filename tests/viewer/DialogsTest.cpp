// The viewer's dialogs on real widgets with scripted boxes: the options dialog's checks
// and how the window applies it, the element table in both modes, the rotate dialog.
#include "support/GuiTest.h"
#include "viewer/ViewerForms.h"

#include "model/NumberFormat.h"
#include "viewer/Element.h"
#include "viewer/LVOpt.h"
#include "viewer/RotateUnit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <fstream>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

class ViewerDialogsTest : public ScriptedDialogsTest {};

void Leave(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->editingFinished();
}

TEST_F(ViewerDialogsTest, OptionEditsAreCheckedWhenLeft) {
    TLatvistaOptForm form;
    form.lLVO = DefaultLatvistaOptions();
    form.ParamToLVO();
    EXPECT_EQ(form.windowTitle(), "Latvista Options");
    EXPECT_EQ(form.pcOptions->count(), 7);
    struct Case {
        QLineEdit* edit;
        const char* text;
        const char* message;
        const char* restored;
    };
    const std::vector<Case> cases = {
        {form.edRotationStep, "200", "Error in rotation step: 200 (range=0-180).", "1"},
        {form.edLightX, "12", "Error in a coordinate of light position: 12 (range=0-10).", "1"},
        {form.edCylinderThickness, "thin", "Error in bond tick: thin (range=0-3.40282E+38).",
         "0.20"},
        {form.edAdjTol, "-1", "Error in adjacency tolerance number: -1 (range=0-3.40282E+38).",
         "0.3"},
        {form.edSigma, "x", "Error in number: x.", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dialogs->records.clear();
        Leave(c.edit, c.text);
        EXPECT_EQ(dialogs->TextsOf(DialogKind::Error), (std::vector<std::string>{c.message}));
        EXPECT_EQ(c.edit->text().toStdString(), c.restored);
    }
    EXPECT_FLOAT_EQ(form.lLVO.RotorStep, 1.0f);
    dialogs->records.clear();
    Leave(form.edRotationStep, "45.5");
    Leave(form.edLightY, "10");
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_FLOAT_EQ(form.lLVO.RotorStep, 45.5f);
    EXPECT_FLOAT_EQ(form.lLVO.Light_Position[1], 10.0f);
}

TEST_F(ViewerDialogsTest, OkIsRefusedWhileAnEditFails) {
    TLatvistaOptForm form;
    form.lLVO = DefaultLatvistaOptions();
    form.ParamToLVO();
    form.edShiftStep->setText("far");
    form.show();
    form.accept();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
              (std::vector<std::string>{"Error in shift step: far (range=0-3.40282E+38)."}));
    EXPECT_EQ(form.edShiftStep->text(), "0.5");
    form.accept();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(ViewerDialogsTest, ThickDigitsCellAndCheckLists) {
    TLatvistaOptForm form;
    form.lLVO = DefaultLatvistaOptions();
    form.lLVO.ArrTickBonds[1] = 9;
    form.lLVO.ArrTickBonds[2] = 12; // above 9 is shown and kept as 0
    form.ParamToLVO();
    EXPECT_EQ(form.lbThick->item(2)->text(), "0");
    EXPECT_EQ(form.lLVO.ArrTickBonds[2], 0);
    emit form.lbThick->itemDoubleClicked(form.lbThick->item(1));
    EXPECT_EQ(form.lbThick->item(1)->text(), "0");
    EXPECT_EQ(form.lLVO.ArrTickBonds[1], 0);
    emit form.lbThick->itemDoubleClicked(form.lbThick->item(0));
    EXPECT_EQ(form.lLVO.ArrTickBonds[0], 2);
    form.cbCell->setChecked(true);
    EXPECT_EQ(form.lLVO.NumSeeBond, 1 | 4);
    EXPECT_EQ(form.clbSeeBond->item(2)->checkState(), Qt::Checked);
    form.clbSeeBond->item(2)->setCheckState(Qt::Unchecked);
    form.clbSeeBond->item(4)->setCheckState(Qt::Checked);
    EXPECT_EQ(form.lLVO.NumSeeBond, 1 | 16);
    EXPECT_FALSE(form.cbCell->isChecked());
    form.clbDefBond->item(5)->setCheckState(Qt::Checked);
    EXPECT_EQ(form.lLVO.NumDefBond, 1 | 32);
    static_cast<QRadioButton*>(form.Control("Sph.Domain"))->click();
    EXPECT_EQ(form.lLVO.RadSyst, 1);
    EXPECT_TRUE(form.ReadNewRad);
    EXPECT_EQ(form.lLVO.RadAt, ElementRadiiTable(1));
    static_cast<QRadioButton*>(form.Control("XOY"))->click();
    const std::array<int, 3> order{form.lLVO.L1, form.lLVO.L2, form.lLVO.L3};
    EXPECT_EQ(order, (std::array<int, 3>{1, 2, 3}));
}

// Runs the window's Options with `change` applied to the open dialog before Ok.
void RunOptions(TLVForm& form, const std::function<void(TLatvistaOptForm&)>& change) {
    QTimer::singleShot(0, [change] {
        auto* dialog = qobject_cast<TLatvistaOptForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        change(*dialog);
        dialog->accept();
    });
    form.actLVOptions->trigger();
    ASSERT_TRUE(WaitForBuild(form));
}

void MarkNodes(TLVForm& form) {
    for (tTopAt* node = form.Scene().WPTAll; node != nullptr; node = node->li)
        node->mark = true;
}

bool NodesMarked(TLVForm& form) {
    for (tTopAt* node = form.Scene().WPTAll; node != nullptr; node = node->li)
        if (!node->mark)
            return false;
    return form.Scene().HasScene();
}

const std::vector<TTestAtom> kWater = {
    {8, 0.5, 0.5, 0.5, "2 3"}, {1, 0.58, 0.56, 0.5, "1"}, {1, 0.42, 0.56, 0.5, "1"}};

TEST_F(ViewerDialogsTest, DefaultAndOkRebuildTheScene) {
    auto form = ViewerOn(kWater, 10.0, [](TLatvistaOpt& o) { o.NumModel = 1; });
    MarkNodes(*form);
    RunOptions(*form, [](TLatvistaOptForm& dialog) {
        dialog.btnDefault->click();
        EXPECT_EQ(dialog.lLVO.NumModel, 3);
    });
    EXPECT_FALSE(NodesMarked(*form));
    EXPECT_EQ(form->WLVO().NumModel, 3);
    EXPECT_EQ(form->Scene().WPTAtEnd->nm, 3);
    // The scene was freed before the build, so "Redraw structure?" was not asked.
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(ViewerDialogsTest, TranslationsRebuildAndTheLegendModeAlone_DoesNot) {
    auto form = ViewerOn(kWater, 10.0);
    MarkNodes(*form);
    RunOptions(*form, [](TLatvistaOptForm& dialog) {
        static_cast<QRadioButton*>(dialog.Control("Name&&Index"))->click();
    });
    EXPECT_EQ(form->WLVO().LegMode, 2);
    EXPECT_TRUE(NodesMarked(*form));
    RunOptions(*form, [](TLatvistaOptForm& dialog) { dialog.seTMax[0]->setValue(1); });
    EXPECT_EQ(form->WLVO().TMax, (std::array<std::uint8_t, 3>{1, 0, 0}));
    EXPECT_FALSE(NodesMarked(*form));
    EXPECT_TRUE(dialogs->records.empty());
}

TEST_F(ViewerDialogsTest, NewRadiiWithComputedBondsAskToRecalculate) {
    auto form = ViewerOn(kWater, 10.0, [](TLatvistaOpt& o) { o.AdjMatrix = 0; });
    const float before = form->Scene().WPTAtEnd->rad;
    MarkNodes(*form);
    dialogs->PushNo();
    RunOptions(*form, [](TLatvistaOptForm& dialog) {
        static_cast<QRadioButton*>(dialog.Control("Sph.Domain"))->click();
    });
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Confirmation),
              (std::vector<std::string>{"Recalculate adjacency matrix?"}));
    EXPECT_TRUE(NodesMarked(*form));
    const tTopAt& node = *form->Scene().WPTAtEnd;
    EXPECT_EQ(node.rad, ElementRadiiTable(1)[static_cast<std::size_t>(node.pSAt->A.n)]);
    EXPECT_NE(node.rad, before);
    dialogs->records.clear();
    dialogs->PushYes();
    RunOptions(*form, [](TLatvistaOptForm& dialog) {
        static_cast<QRadioButton*>(dialog.Control("Slater"))->click();
    });
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Confirmation),
              (std::vector<std::string>{"Recalculate adjacency matrix?"}));
    EXPECT_FALSE(NodesMarked(*form));
}

TEST_F(ViewerDialogsTest, ElementButtonsWriteTheIncludedAndExcludedLists) {
    TElementForm& table = ElementDialog();
    EXPECT_EQ(table.windowTitle(), "Element Table");
    table.SetRadiusMode(false);
    table.InitEl("", ElementCodeSet{});
    QToolButton* fe = table.btnEl[26];
    ASSERT_EQ(fe->text(), "Fe");
    fe->click();
    EXPECT_EQ(table.EditText(), "Fe ");
    fe->click();
    EXPECT_EQ(table.EditText(), "");
    EXPECT_EQ(table.Lists.StrDownEl, "");
    EXPECT_EQ(table.Lists.StrUpEl, "");
    // Released first and pressed again (the button down, both lists empty): empty again.
    table.InitEl("", [] {
        ElementCodeSet set;
        set.Include(26);
        return set;
    }());
    ASSERT_TRUE(fe->isChecked());
    fe->click();
    EXPECT_EQ(table.EditText(), "- Fe ");
    fe->click();
    EXPECT_EQ(table.EditText(), "");
    table.btnPS->click();
    EXPECT_EQ(table.EditText(), "El - X XX ZA ZB ZC ZD ZE ZF ZG ZH ZI ZJ ");
    EXPECT_TRUE(table.btnEl[8]->isChecked());
    EXPECT_FALSE(table.btnEl[108]->isChecked());
    EXPECT_FALSE(table.btnEl[115]->isChecked());
    table.btnEl[8]->click(); // release "O"
    EXPECT_EQ(table.EditText(), "El - X XX ZA ZB ZC ZD ZE ZF ZG ZH ZI ZJ O ");
    ElementCodeSet set = table.ElToSet();
    EXPECT_FALSE(set.Contains(8));
    EXPECT_TRUE(set.Contains(26));
    table.btnAllUp->click();
    EXPECT_EQ(table.EditText(), "");
    EXPECT_TRUE(table.ElToSet().IsEmpty());
    // "C" pressed must not take the "C" out of a list that only holds "Cl".
    table.btnEl[17]->click();
    table.btnEl[6]->click();
    table.btnEl[6]->click();
    EXPECT_EQ(table.EditText(), "Cl ");
}

TEST_F(ViewerDialogsTest, RadiusModeAppliesDefaultsLoadsAndSaves) {
    TElementForm& table = ElementDialog();
    table.ArrData = ElementRadiiTable(0);
    table.SurceArrData = ElementRadiiTable(0);
    table.SetRadiusMode(true);
    EXPECT_FALSE(table.btnAllDown->isEnabled());
    EXPECT_FALSE(table.btnGroup.front()->isEnabled());
    EXPECT_EQ(table.EditText(), "");
    table.btnEl[14]->click();
    EXPECT_EQ(table.SqNumEl, 14);
    EXPECT_EQ(table.EditText(), FormatFixed(ElementRadiiTable(0)[14], 3));
    table.btnEl[8]->click();
    EXPECT_FALSE(table.btnEl[14]->isChecked());
    for (const char* bad : {"abc", "101", "-0.5"}) {
        table.edElements->setText(bad);
        table.btnApply->click();
    }
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
              (std::vector<std::string>(3, "Error in atomic radius!")));
    EXPECT_EQ(table.ArrData[8], ElementRadiiTable(0)[8]);
    table.edElements->setText("1.25");
    table.btnApply->click();
    EXPECT_FLOAT_EQ(table.ArrData[8], 1.25f);

    const std::string path =
        (std::filesystem::temp_directory_path() / "ormaline-viewer-radii.rad").string();
    std::filesystem::remove(path);
    dialogs->PushText(path);
    table.btnSave->click();
    ASSERT_TRUE(std::filesystem::exists(path));
    table.btnDefault->click();
    EXPECT_EQ(table.ArrData[8], ElementRadiiTable(0)[8]);
    EXPECT_EQ(table.EditText(), FormatFixed(ElementRadiiTable(0)[8], 3));
    dialogs->PushText(path);
    table.btnLoad->click();
    EXPECT_FLOAT_EQ(table.ArrData[8], 1.25f);
    EXPECT_EQ(table.EditText(), "1.250");
    EXPECT_EQ(dialogs->fileRequests.back().filter, "Element data files (*.rad)|*.rad");
    dialogs->PushText(path);
    dialogs->PushNo();
    table.btnSave->click();
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Confirmation),
              (std::vector<std::string>{"File " + path + " already exists. Overwrite?"}));
    table.SetRadiusMode(false);
    std::filesystem::remove(path);
}

TEST_F(ViewerDialogsTest, TheRotateDialogRejectsABadAngle) {
    TRotateForm rotate;
    EXPECT_EQ(rotate.windowTitle(), "Rotate");
    EXPECT_EQ(rotate.edAngle->text(), "0");
    Leave(rotate.edAngle, "ninety");
    EXPECT_EQ(dialogs->TextsOf(DialogKind::Error),
              (std::vector<std::string>{"Error rotate angle:  ninety."}));
    EXPECT_EQ(rotate.edAngle->text(), "0");
    Leave(rotate.edAngle, "30.5");
    EXPECT_FLOAT_EQ(rotate.Angle(), 30.5f);
}

} // namespace
