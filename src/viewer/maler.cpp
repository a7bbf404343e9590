// The viewer window: construction, the life cycle handlers, painting and the scene build
// on the worker thread.
#include "viewer/maler.h"

#include "model/Compound.h"
#include "platform/ActionList.h"
#include "platform/UserDialogs.h"
#include "viewer/CanvasPainter.h"
#include "viewer/Element.h"
#include "viewer/GLRenderer.h"
#include "viewer/GlyphLists.h"
#include "viewer/LVGLView.h"
#include "viewer/LVSurfaceInput.h"
#include "viewer/LVThread.h"
#include "viewer/core/GdiRenderer.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneBuild.h"
#include "viewer/interact/core/AtomDescription.h"
#include "viewer/interact/core/InteractShared.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
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
    view_ = surface_;
    setCentralWidget(surface_);
    setFocusProxy(surface_);
    glyphMetrics_ = std::make_unique<TGlyphMetrics>(ViewerWindowFont());
    renderer_->SetTextMetrics(glyphMetrics_.get());
    TickCount = [] {
        static const QElapsedTimer clock = [] {
            QElapsedTimer started;
            started.start();
            return started;
        }();
        // Never 0, which stands for "no tick stored".
        return static_cast<std::uint32_t>(clock.elapsed()) + 1;
    };
    StatusPanel0 = new QLabel(this);
    StatusPanel1 = new QLabel(this);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setTextVisible(false);
    ProgressBar->setMaximumWidth(160);
    ProgressBar->setValue(0);
    // Long texts (an atom's description) must not widen the window.
    for (QLabel* panel : {StatusPanel0, StatusPanel1})
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(StatusPanel0, 3);
    statusBar()->addWidget(StatusPanel1, 2);
    statusBar()->addPermanentWidget(ProgressBar);
    CreateActions();
    CreateMenus();
    CreateCalculationCommands();
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
    rotationOn_ = false;
    SwitchRotation(false);
    SyncControls();
}

void TLVForm::SurfaceInitialized() {
    OpenGLTried = true;
    std::string failure;
    QOpenGLContext* glContext = surface_->context();
    if (glContext == nullptr || !glContext->isValid()) {
        // Without a context there is no OpenGL error to ask for.
        failure =
            "wglCreateContext error:" + std::to_string(glContext == nullptr ? 0u : glGetError());
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
        openGLNotice_ = "OpenGL could not be set up: the picture is drawn in 2D.";
        OutPutToStatusBar1(openGLNotice_);
        return;
    }
    renderer_->InitLight(WLVO(), colours_, false);
}

int TLVForm::ClientWidth() const {
    return SurfacePixelWidth(*view_);
}

int TLVForm::ClientHeight() const {
    return SurfacePixelHeight(*view_);
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
    NewScale(*scene_, ClientWidth(), ClientHeight(), false);
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
    projection_ = ormaline::FormResize(*scene_, ClientWidth(), ClientHeight());
    Repaint();
}

void TLVForm::Repaint() {
    ++scene_->ContentStamp;
    RepaintView();
}

void TLVForm::RepaintView() {
    overlayOnly_ = false;
    pendingXor_.clear();
    fullPending_ = true;
    view_->update();
}

void TLVForm::FormPaint() {
    if (overlayOnly_) {
        overlayOnly_ = false;
        std::vector<TXorShape> shapes;
        shapes.swap(pendingXor_);
        if (!ThreadRunning())
            DrawOverlay(shapes);
        return;
    }
    fullPending_ = false;
    pendingXor_.clear();
    scene_->rx_ = -1;
    if (ThreadRunning())
        return;
    const bool drawable = BeginPaint(*scene_);
    if (WLVO().ModelCryst != 0 || !NotErOpenGL) {
        PaintCanvas(drawable);
    } else if (drawable) {
        renderer_->LatvistaFull(*scene_, colours_, projection_, ClientWidth(), ClientHeight());
    } else {
        const TColorFloats background = ColorToFloats(WLVO().WGBCol);
        glClearColor(background.r, background.g, background.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    if (drawable)
        EndPaint(*scene_);
    if (const std::optional<std::string> notice = renderer_->TakeNotice())
        OutPutToStatusBar1(*notice);
    RedrawOwnBand();
}

void TLVForm::PaintCanvas(bool drawable) {
    if (drawable) {
        BM = DrawCanvas(ClientWidth(), ClientHeight(), view_->font());
    } else {
        BM = QImage(ClientWidth(), ClientHeight(), QImage::Format_RGB32);
        BM.fill(QtColour(WLVO().WGBCol));
    }
    QPainter window(view_);
    window.drawImage(0, 0, BM);
}

QImage TLVForm::DrawCanvas(int width, int height, const QFont& font) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    const TGlyphMetrics metrics(font);
    const TCanvasPicture picture = CanvasPicture(width, height, metrics);
    QPainter painter(&image);
    painter.setFont(font);
    DrawCanvasPicture(painter, picture);
    return image;
}

TCanvasPicture TLVForm::CanvasPicture(int width, int height, const TTextMetrics& metrics) {
    TCanvasEnv env;
    env.width = width;
    env.height = height;
    env.metrics = &metrics;
    env.tooltipColour = TooltipColour();
    env.partnerComposition = [this](const tTopAt& node) {
        return WrAtom(node, {0, 0, 0}, WLVO().NumSeeBond).StrCP;
    };
    return LatvistaFull_old(*scene_, colours_, env);
}

void TLVForm::DrawXor(const std::vector<TXorShape>& shapes) {
    // After a full paint has been asked for, the outlines wait for it (it draws the band
    // that is on screen again).
    if (shapes.empty() || fullPending_)
        return;
    pendingXor_.insert(pendingXor_.end(), shapes.begin(), shapes.end());
    overlayOnly_ = true;
    view_->update();
}

void TLVForm::DrawOverlay(const std::vector<TXorShape>& shapes) {
    if (shapes.empty())
        return;
    if (WLVO().ModelCryst != 0 || !NotErOpenGL) {
        if (BM.isNull())
            return;
        QPainter painter(&BM);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setBrush(Qt::NoBrush);
        for (const TXorShape& shape : shapes) {
            painter.setPen(QPen(Qt::white, shape.penWidth));
            if (shape.kind == TXorShape::TKind::Rectangle)
                painter.drawRect(shape.rect.Left, shape.rect.Top,
                                 shape.rect.Right - shape.rect.Left - 1,
                                 shape.rect.Bottom - shape.rect.Top - 1);
            else
                painter.drawEllipse(QPoint(shape.x, shape.y), shape.radius, shape.radius);
        }
        painter.end();
        QPainter window(view_);
        window.drawImage(0, 0, BM);
        return;
    }
    renderer_->DrawXorShapes(shapes, ClientWidth(), ClientHeight());
}

void TLVForm::RedrawOwnBand() {
    if (!bandOwner_)
        return;
    const TInteractShared& shared = InteractShared();
    std::vector<TXorShape> band;
    if (shared.RubberActive) {
        TXorShape rectangle;
        rectangle.rect = shared.RubberRect;
        band.push_back(rectangle);
    }
    if (shared.RubberRadius > 0) {
        TXorShape circle;
        circle.kind = TXorShape::TKind::Circle;
        circle.x = scene_->SStartX;
        circle.y = scene_->SStartY;
        circle.radius = shared.RubberRadiusPx;
        band.push_back(circle);
    }
    DrawOverlay(band);
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
        NewScale(*scene_, ClientWidth(), ClientHeight(), false);
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
    OutPutToStatusBar1(openGLNotice_);
    ElementDialog().AME = scene_->CompParamMaler.MEl;
    FormResize();
    // The axes size follows the client size the build did not know yet.
    if (scene_->GLXYZMas != 0.0)
        scene_->XYZMas = scene_->mas_l / scene_->GLXYZMas;
    // The measurement line, unless the panel tells that OpenGL could not be set up.
    if (openGLNotice_.empty())
        ShowDimension();
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
