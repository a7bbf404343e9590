// The atom tab: the element field, search, read and the atom data export.
#include "app/TTLUnit.h"

#include "app/SearchPage.h"
#include "app/WidgetText.h"
#include "app/core/TTARows.h"
#include "viewer/Element.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ormaline {

void TfrmTTLServices::edChemElExit() {
    SetText(edAtNum, AtNumFromElementText(Text(edChemEl)));
}

void TfrmTTLServices::btnElementClick() {
    ElementDialog().SelectElements(*edChemEl, "Chemical Element");
    edChemElExit();
}

void TfrmTTLServices::tsAtomsClear() {
    sgAtoms->SetRowCount(1);
    sgAtOccurrence->SetRowCount(1);
}

void TfrmTTLServices::actTTASearchExecute() {
    tsAtomsClear();
    SearchTTACollection(0);
}

TTTAPatternBoxes TfrmTTLServices::TTABoxes() const {
    return {cbCPClass->isChecked(), cbCPvdp->isChecked()};
}

bool TfrmTTLServices::CheckTTAConditions() {
    TTTAPageState page;
    page.ChemElText = Text(edChemEl);
    page.AtNumText = Text(edAtNum);
    page.CPClassText = Text(edCPClass);
    page.CPvdpText = Text(edCPvdp);
    page.CoordNumText = Text(edCoordNum);
    page.OxStText = Text(edOxSt);
    page.CoordFigText = Text(cmbCoordFig);
    page.DiversityText = Text(edTTADiversity);
    page.RsdsText = Text(edTTARsds);
    page.UseRefCodeList = cbTTAUseRCL->isChecked();
    return ShowReport(
        ormaline::CheckTTAConditions(page, DatabaseTextLookup(connection_, "id"), TTASearch));
}

std::string TfrmTTLServices::GetQTTAStr(std::string& description) const {
    return ormaline::GetQTTAStr(TTASearch, TTABoxes(), description);
}

bool TfrmTTLServices::SearchTTACollection(int key) {
    if (!CheckTTAConditions())
        return false;
    std::string fileName;
    if (key == 1 && !AssignTextFile(fileName, kTTAQueryFileName))
        return false;
    sgAtoms->SetRowCount(1);
    const int count = ShowOrWriteRows(
        connection_,
        TTASearchStatement(TTASearch, TTABoxes(), cbTTAUseRCL->isChecked(),
                           MemoLines(mSearchResult)),
        fileName, TTAQueryFileHeader(), sgAtoms,
        [](const TResult& row, int) { return TTAGridRow(row); },
        [](const TResult& row) { return TTAQueryFileLine(row); });
    SetStatusText(FoundStatus(count, "elements"));
    return true;
}

void TfrmTTLServices::actAtReadExecute() {
    SetStatusText(kLoadTTAData);
    ProcessPendingMessages();
    sgAtOccurrence->SetRowCount(1);
    const int count = AppendQueryRows(
        connection_, *sgAtOccurrence,
        TTAReadStatement(TTASearch, TTABoxes(), cbTTAUseRCL->isChecked(), MemoLines(mSearchResult)),
        [](const TResult& row, int k) { return TTAOccurrenceRow(row, k); });
    SetStatusText(FoundStatus(count, "atoms"));
}

void TfrmTTLServices::SaveTTAData() {
    if (!CheckTTAConditions())
        return;
    std::string fileName;
    if (!AssignTextFile(fileName, kTTADataFileName))
        return;
    const int count = WriteRows(
        connection_,
        TTADataStatement(TTASearch, TTABoxes(), cbTTAUseRCL->isChecked(), MemoLines(mSearchResult)),
        fileName, TTADataFileHeader(), [](const TResult& row) { return TTADataFileLine(row); });
    SetStatusText(FoundStatus(count, "atoms"));
}

} // namespace ormaline
