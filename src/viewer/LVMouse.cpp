// The viewer window's mouse and keys: the handlers hand the converted events to the
// gesture rules of the interaction layer and carry out what those ask for; the mode
// buttons, the cut actions and the double clicks of the tool buttons.
#include "viewer/maler.h"

#include "platform/UserDialogs.h"
#include "viewer/Element.h"
#include "viewer/GlyphLists.h"
#include "viewer/LVCursors.h"
#include "viewer/LVGLView.h"
#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/MouseGestures.h"
#include "viewer/interact/core/MousePick.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

namespace ormaline {

const TTextMetrics& TLVForm::TextMetrics() const {
    return *glyphMetrics_;
}

TMouseEnv TLVForm::MouseEnv() {
    TMouseEnv env;
    env.active = isActiveWindow();
    env.threadRunning = ThreadRunning();
    env.rotationOn = rotationOn_;
    env.clientWidth = ClientWidth();
    env.clientHeight = ClientHeight();
    env.metrics = glyphMetrics_.get();
    env.colours = &colours_;
    return env;
}

void TLVForm::ApplyMouseResult(const TMouseResult& result) {
    if (result.status0)
        OutPutToStatusBar0(*result.status0);
    if (result.status1)
        OutPutToStatusBar1(*result.status1);
    DrawXor(result.xorShapes);
    if (result.information)
        Dialogs().Information(*result.information);
    if (result.neighbourTable != nullptr)
        ShowNeighbourTable(*result.neighbourTable);
    if (result.magicWand)
        MagicWandFromMouse(result.wandNode, result.wandRow);
    if (result.stopRotation)
        SwitchRotation(false);
    if (result.repaint && result.viewOnly)
        RepaintView();
    else if (result.repaint)
        Repaint();
}

void TLVForm::FormMouseDown(TMouseButton button, int shift, int x, int y) {
    ApplyMouseResult(ormaline::FormMouseDown(*scene_, MouseEnv(), button, shift, x, y));
}

void TLVForm::FormMouseMove(int shift, int x, int y) {
    const TMouseResult result = ormaline::FormMouseMove(*scene_, MouseEnv(), shift, x, y);
    if (!result.xorShapes.empty() && (scene_->MouseMode == 0 || scene_->MouseMode == 1))
        bandOwner_ = true;
    ApplyMouseResult(result);
}

void TLVForm::FormMouseUp(TMouseButton button, int shift, int x, int y) {
    const TMouseResult result = ormaline::FormMouseUp(*scene_, MouseEnv(), button, shift, x, y);
    bandOwner_ = false;
    ApplyMouseResult(result);
}

void TLVForm::FormKeyDown(int key, int shift) {
    ApplyMouseResult(ormaline::FormKeyDown(*scene_, MouseEnv(), key, shift));
}

void TLVForm::FormKeyUp(int key, int shift) {
    ApplyMouseResult(ormaline::FormKeyUp(*scene_, MouseEnv(), key, shift));
}

QToolButton* TLVForm::ModeButton(int mouseMode) const {
    const std::array<QToolButton*, 7> buttons{tbLVEdit,      tbLVSelect,  tbLVRotate,   tbLVScale,
                                              tbLVTranslate, tbLVZRotate, tbLVMagicWand};
    return mouseMode >= 0 && mouseMode < 7 ? buttons[static_cast<std::size_t>(mouseMode)] : nullptr;
}

void TLVForm::ChoiceMouseModeClick(QToolButton* sender) {
    const int tag = sender->property("Tag").toInt();
    ChoiceMouseMode(*scene_, tag);
    sender->setChecked(true);
    view_->setCursor(ScreenCursor(tag));
}

void TLVForm::ACutModeExecute(QAction* sender) {
    KeepState(*scene_, 20, "Cut mode");
    for (QAction* action : {actCutRectangle, actCutCircle, actCutSphere})
        action->setChecked(false);
    WLVO().CutMode = sender->data().toInt();
    sender->setChecked(true);
    ChoiceMouseModeClick(tbLVSelect);
}

bool TLVForm::CheckDoubleClick() {
    return ormaline::CheckDoubleClick(scene_->dwTickCount, TickCount());
}

void TLVForm::tbLVEditMouseUp() {
    if (CheckDoubleClick())
        EditRadiiExecute();
}

void TLVForm::tbLVRotateMouseUp() {
    if (CheckDoubleClick())
        RotateDialogExecute();
}

void TLVForm::tbLVZRotateMouseUp() {
    if (CheckDoubleClick())
        RotateDialogExecute();
}

void TLVForm::tbLVScaleMouseUp() {
    if (CheckDoubleClick())
        ScaleInputExecute();
}

void TLVForm::tbCutRectangleMouseUp() {
    if (CheckDoubleClick())
        actSelectRegionExecute();
}

void TLVForm::tbCutCircleMouseUp() {
    if (CheckDoubleClick())
        actSelectRegionExecute();
}

void TLVForm::tbCutSphereMouseUp() {
    if (CheckDoubleClick())
        actSelectRegionExecute();
}

void TLVForm::EditRadiiExecute() {
    TLatvistaOpt& o = WLVO();
    if (!ElementDialog().EditRadii(o.RadAt, ElementRadiiTable(o.RadSyst)))
        return;
    ApplyElementRadii(*scene_);
    Repaint();
}

bool TLVForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // After the button has handled its own release (its click).
        const std::pair<QToolButton*, void (TLVForm::*)()> handlers[] = {
            {tbLVEdit, &TLVForm::tbLVEditMouseUp},
            {tbLVRotate, &TLVForm::tbLVRotateMouseUp},
            {tbLVZRotate, &TLVForm::tbLVZRotateMouseUp},
            {tbLVScale, &TLVForm::tbLVScaleMouseUp},
            {tbCutRectangle, &TLVForm::tbCutRectangleMouseUp},
            {tbCutCircle, &TLVForm::tbCutCircleMouseUp},
            {tbCutSphere, &TLVForm::tbCutSphereMouseUp}};
        for (const auto& [button, handler] : handlers)
            if (watched == button && button->isEnabled())
                QTimer::singleShot(0, this, handler);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TLVForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The frame is being dragged: the mouse-up that ends it is no gesture.
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        scene_->WinResize = true;
}

} // namespace ormaline
