// The viewer window's calculations and selection files: the measurement line, the
// centroid with its pseudo-atom, the report of the selected atoms and "Save Selection".
// The numbers and file texts come from the interaction core; this file asks the user
// and shows them.
#include "viewer/maler.h"

#include "platform/ActionList.h"
#include "platform/UserDialogs.h"
#include "viewer/Element.h"
#include "viewer/interact/SelectedAtomsForm.h"
#include "viewer/interact/core/Calculations.h"
#include "viewer/interact/core/Centroid.h"
#include "viewer/interact/core/SelectionFiles.h"
#include "viewer/interact/core/SelectionReport.h"

#include <QMenu>

namespace ormaline {

void TLVForm::CreateCalculationCommands() {
    ActionList& list = *actions_;
    const auto withSelection = [this] { return actShowSelOnlyUpdate(); };
    actCentroid = list.Add(
        "actCentroid", "Centroid", [this] { Centroid1Click(); }, withSelection,
        "Determine centroid", QKeySequence("Ctrl+G"));
    actSelectedAtoms = list.Add(
        "actSelectedAtoms", "Selected Atoms", [this] { SelectedAtomsClick(); }, withSelection,
        "Information on selected atoms");
    SaveSelection1 = list.Add(
        "SaveSelection1", "Save Selection", [this] { actSaveSelectionExecute(); }, {},
        "Save selection to *.tnt file", QKeySequence("Ctrl+S"));
    for (QAction* action : {actCentroid, actSelectedAtoms, SaveSelection1})
        addAction(action);
    miCalculate->addAction(actCentroid);
    miCalculate->addAction(actSelectedAtoms);
    miSelect->addAction(SaveSelection1);
}

void TLVForm::ShowDimension() {
    if (const std::optional<std::string> line = Dimension(*scene_))
        OutPutToStatusBar1(*line);
}

void TLVForm::Centroid1Click() {
    const std::optional<TCentroid> centroid = SelectionCentroid(*scene_);
    if (!centroid)
        return;
    if (const std::optional<std::string> message = CoincidenceMessage(*centroid))
        Dialogs().Information(*message);
    if (!AsksToAdd(*centroid))
        return;
    if (!Dialogs().Confirm(AddQuestion(*centroid))) {
        DeclineCentroid(*scene_, *centroid);
        Repaint();
        return;
    }
    const TNewAtom added = AcceptCentroid(*scene_, *centroid);
    if (added.elementAdded)
        ElementDialog().AME = scene_->CompParamMaler.MEl;
    Repaint();
    OutPutToStatusBar1(Dimension(*scene_).value_or("") + centroid->report);
}

void TLVForm::SelectedAtomsClick() {
    const std::string report = SelectedAtomsReport(*scene_);
    if (report.empty())
        return;
    TSelectedAtomsForm form(report, this);
    form.exec();
}

void TLVForm::SaveDialog1TypeChange(int filterIndex) {
    SaveDialogFilterIndex = filterIndex;
}

void TLVForm::actSaveSelectionExecute() {
    // The dialog closes when the user picks another type (SaveDialog1TypeChange) and
    // opens again in that type's folder with its extension.
    const std::optional<std::string> chosen = ChooseSelectionFile(
        SaveDialogFilterIndex, [this](int filterIndex, const TSaveStart& start) {
            SaveDialogFilterIndex = filterIndex;
            FileDialogRequest request;
            request.caption = "Save Selection";
            request.initialFolder = start.folder;
            request.filter = kSelectionFileFilter;
            request.defaultExtension = start.extension;
            request.filterIndex = filterIndex;
            const SaveFileChoice choice = Dialogs().SaveFileClosingOnTypeChange(request);
            if (choice.typeChanged)
                SaveDialog1TypeChange(choice.filterIndex);
            return TSaveRun{choice.fileName, choice.filterIndex, choice.typeChanged};
        });
    if (!chosen)
        return;
    if (!MayWriteFile(*chosen))
        return;
    WriteSelectionFile(*chosen, SelectionFileLines(*scene_, SaveDialogFilterIndex, *chosen));
}

} // namespace ormaline
