// The viewer window's editing and selection commands: Undo, Delete, Restore, Show All,
// the complement and "Show Selection Only", with their enabling rules and tool buttons.
#include "viewer/maler.h"

#include "platform/ActionList.h"
#include "viewer/GLRenderer.h"
#include "viewer/LVGLView.h"
#include "viewer/interact/core/Calculations.h"
#include "viewer/interact/core/Editing.h"
#include "viewer/interact/core/SelectionTools.h"

#include <QToolBar>
#include <QToolButton>

namespace ormaline {

void TLVForm::CreateEditActions() {
    ActionList& list = *actions_;
    const auto withSelection = [this] { return actShowSelOnlyUpdate(); };
    actUndo = list.Add(
        "actUndo", "Undo", [this] { actUndoExecute(); }, [this] { return actUndoUpdate(); }, "Undo",
        QKeySequence("Ctrl+Z"));
    actSelDelete = list.Add(
        "actSelDelete", "Delete selection", [this] { Delete1Click(); }, withSelection,
        "Remove selected atom(s)", QKeySequence(Qt::Key_Delete));
    actRestore = list.Add(
        "actRestore", "Restore", [this] { Restore1Click(); }, withSelection, {},
        QKeySequence(Qt::Key_Insert));
    actRestoreAll = list.Add(
        "actRestoreAll", "Show All", [this] { RestoreAll1Click(); },
        [this] { return CanRunSceneCommands(); }, "Show all atoms in unit cell");
    actComplementSelection = list.Add(
        "actComplementSelection", "Complement Selection", [this] { Invert1Click(); },
        [this] { return CanRunSceneCommands(); });
    actShowSelOnly = list.Add(
        "actShowSelOnly", "Show Selection Only", [this] { ShowSelectionOnly1Click(); },
        withSelection, "Show selection only");
}

void TLVForm::AddEditTools(QToolBar* bar) {
    const std::pair<QAction*, const char*> tools[] = {{actUndo, "tbLVUndo"},
                                                      {actSelDelete, "tbRemoveSelection"},
                                                      {actRestoreAll, "tbShowAllAtom"},
                                                      {actShowSelOnly, "tbShowSelection"}};
    for (const auto& [action, name] : tools) {
        bar->addAction(action);
        if (QWidget* button = bar->widgetForAction(action))
            button->setObjectName(name);
    }
}

bool TLVForm::actUndoUpdate() {
    // The history is the build's while a build runs.
    const bool enabled = !ThreadRunning() && !rotationOn_ && scene_->UndoHistory.UndoCount() > 0;
    const TUndoHistory& history = scene_->UndoHistory;
    actUndo->setText(QString::fromStdString(enabled ? history.UndoCaption() : "Undo"));
    actUndo->setToolTip(QString::fromStdString(enabled ? history.UndoHint() : "Undo"));
    actUndo->setStatusTip(actUndo->toolTip());
    return enabled;
}

bool TLVForm::actShowSelOnlyUpdate() {
    return !ThreadRunning() && !rotationOn_ && scene_->WInsAt != nullptr;
}

void TLVForm::actUndoExecute() {
    if (!actUndoUpdate())
        return;
    const TUndoResult result =
        scene_->UndoHistory.actUndoExecute(ClientWidth(), ClientHeight(), &colours_);
    if (!result.done)
        return;
    SyncControls();
    if ((result.code == 11 || result.code == 12 || result.code == 17) && NotErOpenGL &&
        surface_->context() != nullptr) {
        surface_->makeCurrent();
        renderer_->InitLight(WLVO(), colours_, false);
        surface_->doneCurrent();
    }
    actUndoUpdate();
    if (std::optional<std::string> line = Dimension(*scene_))
        OutPutToStatusBar1(*line);
    if (result.code == 10)
        FormResize();
    else
        Repaint();
}

void TLVForm::Delete1Click() {
    ormaline::Delete1Click(*scene_);
    AfterEdit();
}

void TLVForm::Restore1Click() {
    ormaline::Restore1Click(*scene_);
    AfterEdit();
}

void TLVForm::RestoreAll1Click() {
    ormaline::RestoreAll1Click(*scene_);
    AfterEdit();
}

void TLVForm::Invert1Click() {
    ormaline::Invert1Click(*scene_);
    AfterEdit();
}

void TLVForm::ShowSelectionOnly1Click() {
    if (ormaline::ShowSelectionOnly1Click(*scene_))
        AfterEdit();
}

void TLVForm::AfterEdit() {
    ShowDimension();
    actUndoUpdate();
    Repaint();
}

} // namespace ormaline
