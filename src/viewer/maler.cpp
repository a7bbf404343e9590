// The viewer window: construction, menus and tool bar, the life cycle handlers, the
// scene build on the worker thread and the enabling rules.
#include "viewer/maler.h"

#include "model/Compound.h"
#include "platform/ActionList.h"
#include "platform/UserDialogs.h"
#include "viewer/Element.h"
#include "viewer/GLRenderer.h"
#include "viewer/GlyphLists.h"
#include "viewer/LVGLView.h"
#include "viewer/LVThread.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneBuild.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QOpenGLContext>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <GL/gl.h>

namespace ormaline {

Qt::WindowStates& LastViewerWindowState() {
    static Qt::WindowStates state = Qt::WindowNoState;
    return state;
}

TLVForm::TLVForm(QWidget* parent)
    : QMainWindow(parent), scene_(std::make_unique<TLVScene>()),
      renderer_(std::make_unique<TGLRenderer>()) {
    setWindowTitle("Latvista");
    setObjectName("TLVForm");
    resize(800, 600);
    actions_ = new ActionList(this);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { TimerTimer(); });
    surface_ = new TLVGLView(*this, this);
    setCentralWidget(surface_);
    StatusPanel0 = new QLabel(this);
    StatusPanel1 = new QLabel(this);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setTextVisible(false);
    ProgressBar->setMaximumWidth(160);
    ProgressBar->setValue(0);
    statusBar()->addWidget(StatusPanel0, 1);
    statusBar()->addWidget(StatusPanel1, 2);
    statusBar()->addPermanentWidget(ProgressBar);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    FormCreate();
}

TLVForm::~TLVForm() {
    if (LVThread) {
        // The worker may be waiting for a status text to be shown: keep delivering them
        // until it has seen the termination request.
        LVThread->RequestTermination();
        while (!LVThread->wait(QDeadlineTimer(20)))
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        LVThread.reset();
    }
    timer_->stop();
    // The surface goes first, while the renderer it hands its GL resources back to exists.
    SurfaceAboutToBeDestroyed();
    delete surface_;
    surface_ = nullptr;
    ReleaseScene();
}

bool TLVForm::CanRunCommands() const {
    return !ThreadRunning() && !rotationOn_;
}

bool TLVForm::CanRunSceneCommands() const {
    return CanRunCommands() && scene_->HasScene();
}

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
    actCell = list.Add(
        "actCell", "Cell",
        [this] {
            if (scene_->NoUndo)
                scene_->Undo->KeepState(13, "Cell");
            WLVO().NumSeeBond ^= cbCellEdge;
            if ((WLVO().NumSeeBond & cbCellEdge) != 0)
                for (tTopAt* node = scene_->WPTAll; node != nullptr && node != scene_->WPTAtEnd;
                     node = node->li)
                    if ((node->c & kNodeAuxiliary) != 0)
                        node->c |= kNodeVisible;
            SyncControls();
            Repaint();
        },
        withScene, "Show unit cell borders");
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
    for (QAction* action : {actColouredBonds, actBlackWhite, actFog, actCell, actLVRotation,
                            actOpenGLMode, actAPIMode, actAtomLabels, actBondLabels})
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
    miImage->addAction(actQuit);
    miEdit = menuBar()->addMenu("Edit");
    miDisplay = menuBar()->addMenu("Display");
    for (QAction* action : {actWire, actCylinder, actSphereWire, actSphereCylinder})
        miDisplay->addAction(action);
    miDisplay->addSeparator();
    for (QAction* action : {actColouredBonds, actBlackWhite, actRadPlus, actAtomLabels,
                            actBondLabels, actFog, actCell})
        miDisplay->addAction(action);
    miDisplay->addSeparator();
    for (QAction* action : {actFitScale, actFitCenter, actFitSpace, act_hkl, actLVRotation})
        miDisplay->addAction(action);
    miSelect = menuBar()->addMenu("Select");
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
        button->setProperty("Tag", tag);
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
    tbPerspective = new QToolButton(bar);
    tbPerspective->setObjectName("tbPerspective");
    tbPerspective->setText("Persp.");
    tbPerspective->setToolTip("Perspective");
    tbPerspective->setCheckable(true);
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
}

void TLVForm::ChoiceMouseModeClick(QToolButton* button) {
    MouseMode = button->property("Tag").toInt() - 1;
    button->setChecked(true);
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
}

void TLVForm::FormCreate() {
    CurrentOptionTabNumber = 0;
    const Qt::WindowStates last = LastViewerWindowState() & ~Qt::WindowMinimized;
    if ((last & Qt::WindowMaximized) != 0)
        setWindowState(Qt::WindowMaximized);
    InitWindowScene(*scene_, ViewerOptions());
    surface_->setFont(ViewerWindowFont());
    setFont(ViewerWindowFont());
    // OpenGL itself is set up when the surface gets its context (SurfaceInitialized).
    InitViewColours(colours_, WLVO(), true);
    MouseMode = 1;
    tbLVSelect->setChecked(true);
    WCurrentAtom = WLVO().CurrentAtom;
    rotationOn_ = false;
    timer_->stop();
    rx_ = -1;
    SyncControls();
}

void TLVForm::SurfaceInitialized() {
    OpenGLTried = true;
    std::string failure;
    QOpenGLContext* glContext = surface_->context();
    if (glContext == nullptr || !glContext->isValid()) {
        failure = "wglCreateContext error:" + std::to_string(glGetError());
    } else if (glContext->format().profile() == QSurfaceFormat::CoreProfile) {
        failure = "ChoosePixelFormat error:0";
    } else {
        unsigned base = MakeGlyphLists(surface_->font());
        if (base == 0)
            failure = "wglUseFontBitmaps error: " + std::to_string(LastGlyphListError());
        renderer_->SetFontListBase(base);
        if (failure.empty() && !renderer_->InitGL())
            failure = "gluNewQuadric error:0";
    }
    NotErOpenGL = failure.empty();
    if (!NotErOpenGL) {
        Dialogs().Error(failure);
        Dialogs().Error(
            "Error in OpenGL initialization. Probably, you should update your video driver.");
        WLVO().ModelCryst = 1;
        SyncControls();
        return;
    }
    renderer_->InitLight(WLVO(), colours_, false);
}

void TLVForm::SurfaceAboutToBeDestroyed() {
    if (surface_ == nullptr || surface_->context() == nullptr)
        return;
    surface_->makeCurrent();
    unsigned base = renderer_->FontListBase();
    DeleteGlyphLists(base);
    renderer_->SetFontListBase(0);
    renderer_->ReleaseGL();
    surface_->doneCurrent();
}

void TLVForm::RebuildGlyphs() {
    if (!NotErOpenGL || surface_->context() == nullptr)
        return;
    surface_->makeCurrent();
    unsigned base = renderer_->FontListBase();
    DeleteGlyphLists(base);
    base = MakeGlyphLists(surface_->font());
    renderer_->SetFontListBase(base);
    if (base == 0)
        Dialogs().Error("Error:" + std::to_string(LastGlyphListError()));
    surface_->doneCurrent();
}

void TLVForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TLVForm::FormShow() {
    NewScale(*scene_, surface_->PixelWidth(), surface_->PixelHeight(), false);
    InitPositions(*scene_);
}

void TLVForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            FormActivate();
        else
            FormDeactivate();
    }
}

void TLVForm::FormActivate() {
    if (!ThreadRunning())
        ElementDialog().AME = scene_->CompParamMaler.MEl;
    if (NotErOpenGL && surface_->context() != nullptr) {
        surface_->makeCurrent();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LINE_STIPPLE);
        renderer_->InitLight(WLVO(), colours_, false);
    }
    FormResize();
}

void TLVForm::FormDeactivate() {
    if (surface_->context() != nullptr)
        surface_->doneCurrent();
}

void TLVForm::FormResize() {
    // While a build runs the worker owns the scene; the completion re-projects.
    if (ThreadRunning())
        return;
    projection_ = ormaline::FormResize(*scene_, surface_->PixelWidth(), surface_->PixelHeight());
    Repaint();
}

void TLVForm::Repaint() {
    surface_->update();
}

void TLVForm::FormPaint() {
    rx_ = -1;
    if (ThreadRunning())
        return;
    const TColorFloats background = ColorToFloats(WLVO().WGBCol);
    if (WLVO().ModelCryst != 0 || !NotErOpenGL) {
        // The 2D renderer is not part of this version: the surface shows the background
        // and says how to get a picture.
        if (NotErOpenGL) {
            glClearColor(background.r, background.g, background.b, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
        QPainter painter(surface_);
        painter.setPen(Qt::black);
        painter.drawText(surface_->rect(), Qt::AlignCenter,
                         NotErOpenGL ? "2D drawing is not available yet: choose \"OpenGL Mode\"."
                                     : "OpenGL could not be set up; 2D drawing is not available "
                                       "yet.");
        return;
    }
    if (!BeginPaint(*scene_)) {
        glClearColor(background.r, background.g, background.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    renderer_->LatvistaFull(*scene_, colours_, projection_, surface_->PixelWidth(),
                            surface_->PixelHeight());
    EndPaint(*scene_);
    if (const std::optional<std::string> notice = renderer_->TakeNotice())
        OutPutToStatusBar1(*notice);
}

void TLVForm::EnableMainMenu(bool enabled) {
    for (QMenu* menu : {miImage, miEdit, miDisplay, miSelect, miCalculate, miHelp})
        menu->menuAction()->setEnabled(enabled);
}

void TLVForm::Create1Click() {
    if (ThreadRunning())
        return;
    if (scene_->HasScene() && !Dialogs().Confirm("Redraw structure?"))
        return;
    if (scene_->HasScene() && rotationOn_)
        SwitchRotation(false);
    PrepareSceneBuild(*scene_);
    if (scene_->mas_l <= 0)
        NewScale(*scene_, surface_->PixelWidth(), surface_->PixelHeight(), false);
    EnableMainMenu(false);
    LVThread = std::make_unique<TLVThread>(*this);
    cmCode = 1;
    connect(LVThread.get(), &QThread::finished, this, &TLVForm::ThreadTerminated,
            Qt::QueuedConnection);
    LVThread->start();
}

void TLVForm::OutPutToStatusBar0(const std::string& text) {
    StatusPanel0->setText(QString::fromStdString(text));
}

void TLVForm::OutPutToStatusBar1(const std::string& text) {
    StatusPanel1->setText(QString::fromStdString(text));
}

std::string TLVForm::StatusPanelText(int panel) const {
    return (panel == 0 ? StatusPanel0 : StatusPanel1)->text().toStdString();
}

void TLVForm::SetProgress(int position, int maximum) {
    if (maximum > 0 && ProgressBar->maximum() != maximum)
        ProgressBar->setMaximum(maximum);
    ProgressBar->setValue(position);
}

void TLVForm::ThreadTerminated() {
    if (!LVThread)
        return;
    LVThread->wait();
    ProgressBar->setValue(0);
    std::optional<std::string> incomplete = CompleteSceneBuild(*scene_);
    // The thread object goes once its completion has been handled.
    LVThread.release()->deleteLater();
    EnableMainMenu(true);
    if (incomplete) {
        Dialogs().Error(*incomplete);
        return;
    }
    OutPutToStatusBar0("");
    OutPutToStatusBar1("");
    ElementDialog().AME = scene_->CompParamMaler.MEl;
    FormResize();
    // The axes size follows the client size the build did not know yet.
    if (scene_->GLXYZMas != 0.0)
        scene_->XYZMas = scene_->mas_l / scene_->GLXYZMas;
    actions_->UpdateActions();
}

void TLVForm::actLVCancelExecute() {
    if (!ThreadRunning())
        return;
    if (Dialogs().Confirm("Terminate calculation?") && LVThread)
        LVThread->RequestTermination();
}

bool TLVForm::FormClose() {
    LastViewerWindowState() = windowState() & ~Qt::WindowMinimized;
    if (ThreadRunning()) {
        actLVCancelExecute();
        return false;
    }
    timer_->stop();
    rotationOn_ = false;
    ViewerOptions() = WLVO();
    SurfaceAboutToBeDestroyed();
    ReleaseScene();
    return true;
}

void TLVForm::closeEvent(QCloseEvent* event) {
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void TLVForm::ReleaseScene() {
    scene_->FreeScene();
    FreeCompParam(scene_->CompParamMaler);
}

} // namespace ormaline
