// The crystal tab: search, read and the crystal data export.
#include "app/TTLUnit.h"

#include "app/SearchPage.h"
#include "app/WidgetText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ormaline {

void TfrmTTLServices::tsTTCClear() {
    sgTTC->SetRowCount(1);
    sgTTCOccurrence->SetRowCount(1);
}

void TfrmTTLServices::actTTCSearchExecute() {
    tsTTCClear();
    SearchTTCCollection(0);
}

TTTCBoxes TfrmTTLServices::TTCBoxes() const {
    return {cbRefCode->isChecked(), cbFStructural->isChecked(), cbFTotal->isChecked(),
            cbChemName->isChecked(), cbReliableData->isChecked()};
}

bool TfrmTTLServices::CheckTTCConditions() {
    TTTCPageState page;
    page.RefCodeText = Text(edRefCode);
    page.FStructuralText = Text(edFStructural);
    page.FTotalText = Text(edFTotal);
    page.ChemNameText = Text(edChemName);
    page.DataBaseText = Text(cmbDataBase);
    page.UseRefCodeList = cbTTCUseRCL->isChecked();
    page.ReliableData = cbReliableData->isChecked();
    return ShowReport(
        ormaline::CheckTTCConditions(page, DatabaseTextLookup(connection_, "id"), TTCSearch));
}

std::string TfrmTTLServices::GetQTTCStr(std::string& description) const {
    return ormaline::GetQTTCStr(TTCSearch, TTCBoxes(), description);
}

bool TfrmTTLServices::SearchTTCCollection(int key) {
    if (!CheckTTCConditions())
        return false;
    std::string fileName;
    if (key == 1 && !AssignTextFile(fileName, kTTCQueryFileName))
        return false;
    sgTTC->SetRowCount(1);
    const int count = ShowOrWriteRows(
        connection_,
        TTCSearchStatement(TTCSearch, TTCBoxes(), cbTTCUseRCL->isChecked(),
                           MemoLines(mSearchResult)),
        fileName, TTCQueryFileHeader(), sgTTC,
        [](const TResult& row, int k) { return TTCGridRow(row, k); },
        [](const TResult& row) { return TTCQueryFileLine(row); });
    SetStatusText(FoundStatus(count, "groups"));
    return true;
}

void TfrmTTLServices::actTTCReadExecute() {
    if (!CheckTTCConditions())
        return;
    SetStatusText(kLoadTTCData);
    ProcessPendingMessages();
    const std::string databaseId = sgTTC->Cell(3, sgTTC->Row());
    sgTTCOccurrence->SetRowCount(1);
    const int count =
        AppendQueryRows(connection_, *sgTTCOccurrence,
                        TTCReadStatement(databaseId, TTCSearch, TTCBoxes(),
                                         cbTTCUseRCL->isChecked(), MemoLines(mSearchResult)),
                        [](const TResult& row, int k) { return TTCOccurrenceRow(row, k); });
    SetStatusText(FoundStatus(count, "structures"));
}

void TfrmTTLServices::SaveTTCData() {
    if (!CheckTTCConditions())
        return;
    std::string fileName;
    if (!AssignTextFile(fileName, kTTCDataFileName))
        return;
    const int count = WriteRows(
        connection_,
        TTCDataStatement(TTCSearch, TTCBoxes(), cbTTCUseRCL->isChecked(), MemoLines(mSearchResult)),
        fileName, TTCDataFileHeader(), [](const TResult& row) { return TTCDataFileLine(row); });
    SetStatusText(FoundStatus(count, "structures"));
}

} // namespace ormaline
