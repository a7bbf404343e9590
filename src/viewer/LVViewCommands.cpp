// The viewer window's view commands: the fits, the (h,k,l) view, continuous rotation,
// the rotate dialog and the typed scale.
#include "viewer/maler.h"

#include "model/NumberFormat.h"
#include "model/TextUtil.h"
#include "platform/UserDialogs.h"
#include "viewer/LVCursors.h"
#include "viewer/LVGLView.h"
#include "viewer/RotateUnit.h"
#include "viewer/interact/core/MousePick.h"

#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace ormaline {

void TLVForm::FitScale1Click() {
    projection_ = FitScale(*scene_, ClientWidth(), ClientHeight());
    RepaintView();
}

void TLVForm::FitCenter1Click() {
    FitCenter(*scene_);
    RepaintView();
}

void TLVForm::FitSpace1Click() {
    FitSpace(*scene_, ClientWidth(), ClientHeight());
    RepaintView();
}

void TLVForm::Set_hkl(const std::string& given) {
    std::string text = given;
    for (;;) {
        if (text.empty() || !ParseHkl(text)) {
            if (!text.empty())
                Dialogs().Error("Error in hkl!");
            std::optional<std::string> answer = Dialogs().Input("Enter h,k,l", "h,k,l", text);
            if (!answer || answer->empty())
                return;
            text = *answer;
            continue;
        }
        break;
    }
    ormaline::Set_hkl(*scene_, text, ClientWidth(), ClientHeight());
    SyncControls();
    Repaint();
}

void TLVForm::SwitchRotation(bool on) {
    rotationOn_ = on;
    actLVRotation->setChecked(on);
    const bool buttonsEnabled = !on;
    for (QToolButton* button : {tbLVEdit, tbLVSelect, tbLVScale, tbLVTranslate, tbLVMagicWand})
        button->setEnabled(buttonsEnabled);
    timer_->stop();
    if (on) {
        KeepState(*scene_, 1, "Rotation");
        scene_->NoUndo = false;
        scene_->WCurrentAtom = false;
        scene_->MouseMode = 2;
        tbLVRotate->setChecked(true);
        view_->setCursor(ScreenCursor(3));
        timer_->start(50);
    } else {
        scene_->NoUndo = true;
        // Without rotation the tick marks the atom under the mouse.
        scene_->WCurrentAtom = WLVO().CurrentAtom;
        if (scene_->WCurrentAtom)
            timer_->start(500);
    }
}

void TLVForm::TimerTimer() {
    if (ThreadRunning() || !scene_->HasScene())
        return;
    if (!rotationOn_) {
        TMouseResult result;
        HoverTick(*scene_, MouseEnv(), result);
        ApplyMouseResult(result);
        return;
    }
    ContinuousRotationTick(*scene_);
    RepaintView();
}

void TLVForm::RotateDialogExecute() {
    TRotateForm dialog(this);
    dialog.SetAxisItem(WLVO().lin - 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    RotateByDialog(*scene_, dialog.Angle(), dialog.AxisItem());
    RepaintView();
}

void TLVForm::ScaleInputExecute() {
    std::string text = FormatFixed(scene_->mas, 3);
    for (;;) {
        std::optional<std::string> answer = Dialogs().Input("Scale number", "Scale number", text);
        if (!answer || answer->empty())
            return;
        text = *answer;
        const std::optional<double> value = ParseNumber(text);
        // A scale of zero or below would leave nothing to draw or turn the picture
        // inside out, so it is rejected like a text that is no number.
        if (value && *value > 0 && std::isfinite(static_cast<float>(*value))) {
            SetTypedScale(*scene_, static_cast<float>(*value));
            RepaintView();
            return;
        }
        Dialogs().Error("Error in scale number: " + text);
    }
}

} // namespace ormaline
