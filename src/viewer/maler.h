// The viewer window "Latvista": one compound, its scene, and the commands that build,
// draw and view it. The window is a translator over the scene core: its commands call
// the core and repaint; the scene is built by a worker thread (TLVThread) that reports
// status texts and progress to the window and stops when "Cancel" is confirmed.
#pragma once

#include "viewer/core/Canvas2D.h"
#include "viewer/core/LVScene.h"
#include "viewer/core/RenderRules.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/interact/core/MouseTypes.h"

#include <QImage>
#include <QMainWindow>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QFont;
class QLabel;
class QMenu;
class QProgressBar;
class QTimer;
class QToolBar;
class QToolButton;

namespace ormaline {

class ActionList;
class TGLRenderer;
class TGlyphMetrics;
class TLVGLView;
class TLVThread;

class TLVForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TLVForm(QWidget* parent = nullptr);
    ~TLVForm() override;

    TLVScene& Scene() { return *scene_; }
    const TLVScene& Scene() const { return *scene_; }
    TLatvistaOpt& WLVO() { return scene_->WLVO; }
    TViewColours& Colours() { return colours_; }
    TLVGLView* Surface() const { return surface_; }
    // The widget the picture is shown on: the OpenGL surface, or its 2D stand-in when no
    // OpenGL context could be created.
    QWidget* View() const { return view_; }
    // Client size of the view in device pixels.
    int ClientWidth() const;
    int ClientHeight() const;
    TGLRenderer& Renderer() { return *renderer_; }
    ActionList& Actions() { return *actions_; }

    // Life cycle (see the handlers' definitions for what each does).
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormDeactivate();
    void FormResize();
    void FormPaint();
    // False when the window must stay open (a build is running).
    bool FormClose();

    // Scene build.
    void Create1Click();
    void ThreadTerminated();
    void actLVCancelExecute();
    bool ThreadRunning() const { return LVThread != nullptr; }
    void OutPutToStatusBar0(const std::string& text);
    void OutPutToStatusBar1(const std::string& text);
    std::string StatusPanelText(int panel) const;
    void SetProgress(int position, int maximum);

    // OpenGL state of the surface, set when its context is initialised.
    bool NotErOpenGL = false;
    bool OpenGLTried = false;

    // View commands.
    void FitScale1Click();
    void FitCenter1Click();
    void FitSpace1Click();
    // "(h,k,l)": with an empty text the user is asked.
    void Set_hkl(const std::string& text = {});
    void SwitchRotation(bool on);
    bool RotationOn() const { return rotationOn_; }
    void TimerTimer();
    // The rotate dialog and the scale input (opened by double clicks on the rotate and
    // scale tool buttons).
    void RotateDialogExecute();
    void ScaleInputExecute();

    // Options.
    void Options1Click();
    int CurrentOptionTabNumber = 0;

    // Mouse and keys, as the drawing surface converts its events: the button, the
    // modifier bits (ssShift, ssAlt, ssCtrl, ssLeft), client pixels and the key code.
    void FormMouseDown(TMouseButton button, int shift, int x, int y);
    void FormMouseMove(int shift, int x, int y);
    void FormMouseUp(TMouseButton button, int shift, int x, int y);
    void FormKeyDown(int key, int shift);
    void FormKeyUp(int key, int shift);
    // The mode buttons' click: the mode of the button's Tag and its cursor.
    void ChoiceMouseModeClick(QToolButton* sender);
    // The cut actions' execution: the region shape of the action's tag, then select mode.
    void ACutModeExecute(QAction* sender);
    // Mouse-ups on the tool buttons that open something on a double click.
    bool CheckDoubleClick();
    void tbLVEditMouseUp();
    void tbLVRotateMouseUp();
    void tbLVZRotateMouseUp();
    void tbLVScaleMouseUp();
    void tbCutRectangleMouseUp();
    void tbCutCircleMouseUp();
    void tbCutSphereMouseUp();
    // The element table on the window's radii ("Change atomic radii"); on OK they apply.
    void EditRadiiExecute();
    // Milliseconds of a steady clock, for the double click (tests put their own clock here).
    std::function<std::uint32_t()> TickCount;

    // What the selection tools open: the region dialog of the cut shape, and the magic
    // wand's dialog on an atom or on a legend row (row -1: the atom).
    void actSelectRegionExecute();
    void MagicWandFromMouse(tTopAt* node, int row);
    // The neighbour table of a bonded atom.
    void ShowNeighbourTable(tTopAt& node);

    // Calculations and selection files: the measurement line of the selection in status
    // panel 1, "Centroid", "Selected Atoms" and "Save Selection".
    void ShowDimension();
    void Centroid1Click();
    void SelectedAtomsClick();
    void actSaveSelectionExecute();
    // The save dialog's type change: the type becomes the one of the current save (the
    // dialog has closed and opens again for it).
    void SaveDialog1TypeChange(int filterIndex);
    // The file type chosen during the current save (the save dialog's filter index).
    int SaveDialogFilterIndex = 1;
    // Editing, selection and undo commands and their enabling rules (the rules also set
    // the Undo caption "Undo: " + remark and its hint).
    void actUndoExecute();
    bool actUndoUpdate();
    void Delete1Click();
    void Restore1Click();
    void RestoreAll1Click();
    void Invert1Click();
    void ShowSelectionOnly1Click();
    bool actShowSelOnlyUpdate();

    // Re-checks the option-driven actions and tool buttons and sets the mode's cursor.
    void SyncControls();
    // The whole picture is drawn again at the next paint, counted as a change of the
    // scene's content (see TLVScene::ContentStamp).
    void Repaint();
    // The same, after a change of the view alone (rotation, shift, zoom, fits): a large
    // scene's frame keeps its geometry.
    void RepaintView();
    // Outlines drawn at once in exclusive-or mode over the picture (drawing one twice
    // removes it).
    void DrawXor(const std::vector<TXorShape>& shapes);
    const TTextMetrics& TextMetrics() const;

    // The picture of the 2D renderer at `width` x `height` pixels with the canvas font
    // `font` (the scene must have been prepared by BeginPaint).
    QImage DrawCanvas(int width, int height, const QFont& font);
    TCanvasPicture CanvasPicture(int width, int height, const TTextMetrics& metrics);
    // Image output: the picture to the clipboard, to the printer, the shown atoms to a
    // PDB or HyperChem file.
    void actImageCopyExecute();
    void actImagePrintExecute();
    void actImageSaveAsExecute();

    // The projection of the last FormResize.
    const TProjection& Projection() const { return projection_; }

    // ---- actions, named as the system names them
    QAction* actLVCreate = nullptr;
    QAction* actQuit = nullptr;
    QAction* actLVCancel = nullptr;
    QAction* actLVHelp = nullptr;
    QAction* actLVOptions = nullptr;
    QAction* actOpenGLMode = nullptr;
    QAction* actAPIMode = nullptr;
    QAction* actImageCopy = nullptr;
    QAction* actImagePrint = nullptr;
    QAction* actImageSaveAs = nullptr;
    QAction* actWire = nullptr;
    QAction* actCylinder = nullptr;
    QAction* actSphereWire = nullptr;
    QAction* actSphereCylinder = nullptr;
    QAction* actColouredBonds = nullptr;
    QAction* actBlackWhite = nullptr;
    QAction* actRadPlus = nullptr;
    QAction* actAtomLabels = nullptr;
    QAction* actBondLabels = nullptr;
    QAction* actFog = nullptr;
    QAction* actCell = nullptr;
    QAction* actLegend = nullptr;
    QAction* actABCCell = nullptr;
    QAction* actCutRectangle = nullptr;
    QAction* actCutCircle = nullptr;
    QAction* actCutSphere = nullptr;
    QAction* actFitScale = nullptr;
    QAction* actFitCenter = nullptr;
    QAction* actFitSpace = nullptr;
    QAction* act_hkl = nullptr;
    QAction* actLVRotation = nullptr;
    QAction* actCentroid = nullptr;
    QAction* actSelectedAtoms = nullptr;
    QAction* SaveSelection1 = nullptr;
    QAction* actUndo = nullptr;
    QAction* actSelDelete = nullptr;
    QAction* actRestore = nullptr;
    QAction* actRestoreAll = nullptr;
    QAction* actComplementSelection = nullptr;
    QAction* actShowSelOnly = nullptr;

    // Menus of the main menu; all but "Cancel" are disabled while a build runs.
    QMenu* miImage = nullptr;
    QMenu* miEdit = nullptr;
    QMenu* miDisplay = nullptr;
    QMenu* miSelect = nullptr;
    QMenu* miCalculate = nullptr;
    QMenu* miHelp = nullptr;

    // Tool bar: the seven mouse-mode buttons and the view toggles.
    QToolButton* tbLVEdit = nullptr;
    QToolButton* tbLVSelect = nullptr;
    QToolButton* tbLVRotate = nullptr;
    QToolButton* tbLVScale = nullptr;
    QToolButton* tbLVTranslate = nullptr;
    QToolButton* tbLVZRotate = nullptr;
    QToolButton* tbLVMagicWand = nullptr;
    QToolButton* tbPerspective = nullptr;
    QToolButton* tbFogMode = nullptr;
    QToolButton* tbAtomLabels = nullptr;
    QToolButton* tbBondLabels = nullptr;
    QToolButton* tbCutRectangle = nullptr;
    QToolButton* tbCutCircle = nullptr;
    QToolButton* tbCutSphere = nullptr;

    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QProgressBar* ProgressBar = nullptr;

    // The 2D canvas: the picture of the 2D drawing mode, copied to the surface.
    QImage BM;

    // The worker thread while a build runs, else none.
    std::unique_ptr<TLVThread> LVThread;
    int cmCode = 0;

    // Called by the drawing surface.
    void SurfaceInitialized();
    void SurfaceAboutToBeDestroyed();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateCalculationCommands();
    void CreateEditActions();
    void AddEditTools(QToolBar* bar);
    void AfterEdit();
    QToolButton* ModeButton(int mouseMode) const;
    TMouseEnv MouseEnv();
    void ApplyMouseResult(const TMouseResult& result);
    void PaintCanvas(bool drawable);
    // The status bar and the bottom panel hidden while a picture is taken.
    void ShowBars(bool shown);
    void DrawOverlay(const std::vector<TXorShape>& shapes);
    void RedrawOwnBand();
    void EnableMainMenu(bool enabled);
    void ReleaseScene();
    bool CanRunCommands() const;
    bool CanRunSceneCommands() const;
    void ApplyRenderingMode();
    void RebuildGlyphs();
    // Shows the picture on a 2D canvas in place of the OpenGL surface.
    void StandInFor2D();

    std::unique_ptr<TLVScene> scene_;
    std::unique_ptr<TGLRenderer> renderer_;
    std::unique_ptr<TGlyphMetrics> glyphMetrics_;
    // The next paint draws only these outlines over the picture kept from the last one.
    std::vector<TXorShape> pendingXor_;
    bool overlayOnly_ = false;
    bool fullPending_ = true;
    // This window drew the rubber band now on screen.
    bool bandOwner_ = false;
    TViewColours colours_;
    TProjection projection_;
    TLVGLView* surface_ = nullptr;
    QWidget* view_ = nullptr;
    ActionList* actions_ = nullptr;
    QTimer* timer_ = nullptr;
    bool rotationOn_ = false;
    bool shown_ = false;
    // Said again after each build while the window draws in 2D because OpenGL failed.
    std::string openGLNotice_;
};

// The state of the last closed viewer window (normal or maximised), process-wide.
Qt::WindowStates& LastViewerWindowState();

} // namespace ormaline
