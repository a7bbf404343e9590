// The viewer window's commands: its actions with their enabling rules, the menus and the
// tool bar, and how the controls follow the options.
#include "viewer/maler.h"

#include "platform/ActionList.h"
#include "platform/UserDialogs.h"
#include "viewer/GLRenderer.h"
#include "viewer/LVCursors.h"
#include "viewer/LVGLView.h"
#include "viewer/core/Legend.h"
#include "viewer/core/SceneActions.h"

#include <QActionGroup>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace ormaline {

void TLVForm::CreateActions() {
    ActionList& list = *actions_;
    const auto basic = [this] { return CanRunCommands(); };
    const auto withScene = [this] { return CanRunSceneCommands(); };
    const auto repaintAfter = [this](auto change) {
        return [this, change] {
            change();
            SyncControls();
            Repaint();
        };
    };
    actLVCreate = list.Add(
        "actLVCreate", "Create", [this] { Create1Click(); }, basic, "Draw structure",
        QKeySequence("Ctrl+N"));
    actQuit = list.Add(
        "actQuit", "Quit", [this] { close(); }, basic, "Quit Latvista");
    actLVCancel = list.Add(
        "actLVCancel", "Cancel", [this] { actLVCancelExecute(); },
        [this] { return ThreadRunning(); }, "Cancel calculation");
    actLVHelp = list.Add(
        "actLVHelp", "Help",
        [] {
            Dialogs().Information(
                "Latvista shows a structure in 3D (help context 490). Choose a model in the "
                "Display menu, fit the view with Fit Space, turn it with Rotation or (h,k,l), "
                "and change the settings with Options.");
        },
        {}, {}, QKeySequence(Qt::Key_F1));
    actLVOptions = list.Add(
        "actLVOptions", "Options", [this] { Options1Click(); }, basic, "Latvista options");
    const auto renderModeRule = [this] { return CanRunCommands() && NotErOpenGL; };
    actOpenGLMode = list.Add("actOpenGLMode", "OpenGL Mode",
                             repaintAfter([this] { SetRenderMode(*scene_, 0); }), renderModeRule);
    actAPIMode = list.Add("actAPIMode", "Windows GDI Mode",
                          repaintAfter([this] { SetRenderMode(*scene_, 1); }), renderModeRule);
    actAPIMode->setData(1);
    // Enabled as Fit Space is.
    actImageCopy = list.Add(
        "actImageCopy", "Copy", [this] { actImageCopyExecute(); }, withScene,
        "Copy image to clipboard", QKeySequence("Ctrl+Shift+C"));
    actImagePrint = list.Add(
        "actImagePrint", "Print", [this] { actImagePrintExecute(); }, withScene, "Print image",
        QKeySequence("Ctrl+P"));
    actImageSaveAs = list.Add(
        "actImageSaveAs", "Save As", [this] { actImageSaveAsExecute(); }, withScene,
        "Save image as a Hyperchem file");
    const auto model = [this, &list, basic, repaintAfter](const char* name, const char* caption,
                                                          int number) {
        QAction* action =
            list.Add(name, caption,
                     repaintAfter([this, number] { SetDrawingModel(*scene_, number); }), basic);
        action->setCheckable(true);
        return action;
    };
    actWire = model("actWire", "Wire", 0);
    actCylinder = model("actCylinder", "Cylinder", 1);
    actSphereWire = model("actSphereWire", "Sphere&&Wire", 2);
    actSphereCylinder = model("actSphereCylinder", "Sphere&&Cylinder", 3);
    actColouredBonds = list.Add("actColouredBonds", "Coloured Bonds",
                                repaintAfter([this] { ToggleColouredBonds(*scene_); }), basic);
    actBlackWhite = list.Add("actBlackWhite", "Black&&White",
                             repaintAfter([this] { ToggleBlackWhite(*scene_); }), basic);
    actRadPlus = list.Add("actRadPlus", "RadPlus", repaintAfter([this] { RadPlus(*scene_); }),
                          basic, "Increase atom radius");
    actAtomLabels = list.Add("actAtomLabels", "Named Atoms",
                             repaintAfter([this] { ToggleAtomLabels(*scene_); }), basic);
    actBondLabels = list.Add("actBondLabels", "Distance Labels",
                             repaintAfter([this] { ToggleBondLabels(*scene_); }), basic);
    actFog = list.Add(
        "actFog", "Fog",
        [this] {
            if (scene_->NoUndo)
                scene_->Undo->KeepState(17, "Fog");
            WLVO().Fog = !WLVO().Fog;
            if (surface_->context() != nullptr) {
                surface_->makeCurrent();
                renderer_->InitLight(WLVO(), colours_, false);
                surface_->doneCurrent();
            }
            SyncControls();
            Repaint();
        },
        basic, "Fog mode");
    actCell = list.Add("actCell", "Cell", repaintAfter([this] { ToggleCell(*scene_); }), withScene,
                       "Show unit cell borders");
    actLegend = list.Add("actLegend", "Legend", repaintAfter([this] { ToggleLegend(*scene_); }),
                         withScene, "Show legend");
    actABCCell =
        list.Add("actABCCell", "ABC Cell", repaintAfter([this] { ToggleABCCell(*scene_); }),
                 withScene, "Show coordination axes");
    const auto cutMode = [this, &list, basic](QAction*& action, const char* name,
                                              const char* caption, int tag, const char* hint) {
        // `action` names the window's member, which outlives the action.
        action = list.Add(
            name, caption, [this, &action] { ACutModeExecute(action); }, basic, hint);
        action->setData(tag);
        action->setCheckable(true);
    };
    cutMode(actCutRectangle, "actCutRectangle", "Cut Rectangle", 1,
            "Select atoms in a rectangular region");
    cutMode(actCutCircle, "actCutCircle", "Cut Circle", 2, "Select atoms in a cylindrical region");
    cutMode(actCutSphere, "actCutSphere", "Cut Sphere", 3, "Select atoms in a spherical region");
    actFitScale = list.Add(
        "actFitScale", "Fit Scale", [this] { FitScale1Click(); }, withScene);
    actFitCenter = list.Add(
        "actFitCenter", "Fit Center", [this] { FitCenter1Click(); }, withScene);
    actFitSpace = list.Add(
        "actFitSpace", "Fit Space", [this] { FitSpace1Click(); }, withScene, "Fit the window");
    act_hkl = list.Add(
        "act_hkl", "(h,k,l)", [this] { Set_hkl(); }, withScene, "Show an (hkl) projection",
        QKeySequence("Ctrl+D"));
    actLVRotation = list.Add(
        "actLVRotation", "Rotation", [this] { SwitchRotation(!rotationOn_); },
        [this] { return !ThreadRunning(); }, "Continued rotation");
    CreateEditActions();
    for (QAction* action : {actColouredBonds, actBlackWhite, actFog, actCell, actLegend, actABCCell,
                            actLVRotation, actOpenGLMode, actAPIMode, actAtomLabels, actBondLabels})
        action->setCheckable(true);
    for (QAction* action : findChildren<QAction*>())
        addAction(action);
}

void TLVForm::CreateMenus() {
    miImage = menuBar()->addMenu("Image");
    miImage->addAction(actLVCreate);
    miImage->addAction(actLVOptions);
    miImage->addSeparator();
    miImage->addAction(actOpenGLMode);
    miImage->addAction(actAPIMode);
    miImage->addSeparator();
    for (QAction* action : {actImageCopy, actImagePrint, actImageSaveAs})
        miImage->addAction(action);
    miImage->addSeparator();
    miImage->addAction(actQuit);
    miEdit = menuBar()->addMenu("Edit");
    for (QAction* action : {actUndo, actSelDelete, actRestore})
        miEdit->addAction(action);
    miEdit->addSeparator();
    for (QAction* action : {actCutRectangle, actCutCircle, actCutSphere})
        miEdit->addAction(action);
    miDisplay = menuBar()->addMenu("Display");
    for (QAction* action : {actWire, actCylinder, actSphereWire, actSphereCylinder})
        miDisplay->addAction(action);
    miDisplay->addSeparator();
    for (QAction* action : {actColouredBonds, actBlackWhite, actRadPlus, actAtomLabels,
                            actBondLabels, actFog, actCell, actLegend, actABCCell})
        miDisplay->addAction(action);
    miDisplay->addSeparator();
    for (QAction* action : {actFitScale, actFitCenter, actFitSpace, act_hkl, actLVRotation})
        miDisplay->addAction(action);
    miDisplay->addAction(actRestoreAll);
    miSelect = menuBar()->addMenu("Select");
    miSelect->addAction(actComplementSelection);
    miSelect->addAction(actShowSelOnly);
    miCalculate = menuBar()->addMenu("Calculate");
    miHelp = menuBar()->addMenu("Help");
    miHelp->addAction(actLVHelp);
    // Cancel stays reachable while the other menus are disabled by a build.
    menuBar()->addAction(actLVCancel);
}

void TLVForm::CreateToolBar() {
    QToolBar* bar = addToolBar("Tools");
    bar->setObjectName("tbLatvista");
    const auto modeButton = [this, bar](QToolButton*& button, const char* name, const char* text,
                                        const char* hint, int tag) {
        button = new QToolButton(bar);
        button->setObjectName(name);
        button->setText(text);
        button->setToolTip(hint);
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setProperty("Tag", tag);
        button->setIcon(QIcon(ScreenCursor(tag).pixmap()));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        connect(button, &QToolButton::clicked, this,
                [this, button] { ChoiceMouseModeClick(button); });
        bar->addWidget(button);
    };
    modeButton(tbLVEdit, "tbLVEdit", "Edit", "Edit", 1);
    modeButton(tbLVSelect, "tbLVSelect", "Select", "Select", 2);
    modeButton(tbLVRotate, "tbLVRotate", "Rotate", "Rotate", 3);
    modeButton(tbLVScale, "tbLVScale", "Scale", "Magnify/shrink", 4);
    modeButton(tbLVTranslate, "tbLVTranslate", "Translate", "Translate", 5);
    modeButton(tbLVZRotate, "tbLVZRotate", "Z-Rotate", "Z-Rotate", 6);
    modeButton(tbLVMagicWand, "tbLVMagicWand", "Wand", "Magic wand", 7);
    bar->addSeparator();
    const auto cutButton = [this, bar](QToolButton*& button, const char* name, QAction* action,
                                       const char* text) {
        button = new QToolButton(bar);
        button->setObjectName(name);
        action->setIconText(text);
        button->setDefaultAction(action);
        button->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(button);
    };
    cutButton(tbCutRectangle, "tbCutRectangle", actCutRectangle, "Rect");
    cutButton(tbCutCircle, "tbCutCircle", actCutCircle, "Circle");
    cutButton(tbCutSphere, "tbCutSphere", actCutSphere, "Sphere");
    // Their mouse-ups count double clicks.
    for (QToolButton* button :
         {tbLVEdit, tbLVRotate, tbLVZRotate, tbLVScale, tbCutRectangle, tbCutCircle, tbCutSphere})
        button->installEventFilter(this);
    bar->addSeparator();
    tbPerspective = new QToolButton(bar);
    tbPerspective->setObjectName("tbPerspective");
    tbPerspective->setText("Persp.");
    tbPerspective->setToolTip("Perspective");
    tbPerspective->setCheckable(true);
    tbPerspective->setFocusPolicy(Qt::NoFocus);
    connect(tbPerspective, &QToolButton::clicked, this, [this](bool down) {
        if (!CanRunCommands()) {
            tbPerspective->setChecked(WLVO().Perspect);
            return;
        }
        if (scene_->NoUndo)
            scene_->Undo->KeepState(10, "Perspective");
        WLVO().Perspect = down;
        FormResize();
    });
    bar->addWidget(tbPerspective);
    tbFogMode = new QToolButton(bar);
    tbFogMode->setObjectName("tbFogMode");
    tbFogMode->setDefaultAction(actFog);
    bar->addWidget(tbFogMode);
    tbAtomLabels = new QToolButton(bar);
    tbAtomLabels->setObjectName("tbAtomLabels");
    tbAtomLabels->setDefaultAction(actAtomLabels);
    bar->addWidget(tbAtomLabels);
    tbBondLabels = new QToolButton(bar);
    tbBondLabels->setObjectName("tbBondLabels");
    tbBondLabels->setDefaultAction(actBondLabels);
    bar->addWidget(tbBondLabels);
    for (QAction* action : {actFitSpace, actLVRotation, actLVOptions})
        bar->addAction(action);
    bar->addSeparator();
    AddEditTools(bar);
    // The keys go to the drawing surface, whichever button was clicked last.
    for (QToolButton* button : bar->findChildren<QToolButton*>())
        button->setFocusPolicy(Qt::NoFocus);
}

void TLVForm::SyncControls() {
    const TLatvistaOpt& o = WLVO();
    actWire->setChecked(o.NumModel == 0);
    actCylinder->setChecked(o.NumModel == 1);
    actSphereWire->setChecked(o.NumModel == 2);
    actSphereCylinder->setChecked(o.NumModel == 3);
    actColouredBonds->setChecked(o.ColBonds);
    actBlackWhite->setChecked(o.Black_White);
    actFog->setChecked(o.Fog);
    actCell->setChecked((o.NumSeeBond & cbCellEdge) != 0);
    actOpenGLMode->setChecked(o.ModelCryst == 0);
    actAPIMode->setChecked(o.ModelCryst == 1);
    actAtomLabels->setChecked(o.AtomLabels > 0);
    actBondLabels->setChecked(o.BondLabels == 2);
    tbPerspective->setChecked(o.Perspect);
    actLVRotation->setChecked(rotationOn_);
    actLegend->setChecked(o.Legend);
    actABCCell->setChecked(o.ABC_Cell);
    actCutRectangle->setChecked(o.CutMode == 1);
    actCutCircle->setChecked(o.CutMode == 2);
    actCutSphere->setChecked(o.CutMode == 3);
    if (QToolButton* button = ModeButton(scene_->MouseMode)) {
        button->setChecked(true);
        view_->setCursor(ScreenCursor(scene_->MouseMode + 1));
    }
}

} // namespace ormaline
