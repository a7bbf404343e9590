// The topology tab: search, read and the topology data export.
#include "app/TTLUnit.h"

#include "app/SearchPage.h"
#include "app/WidgetText.h"
#include "app/core/TTDRows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ormaline {

void TfrmTTLServices::tsTTDClear() {
    sgTTD->SetRowCount(1);
    sgTTDOccurrence->SetRowCount(1);
}

void TfrmTTLServices::actTTDSearchExecute() {
    tsTTDClear();
    SearchTTDCollection(0);
}

TTTDPatternBoxes TfrmTTLServices::TTDBoxes() const {
    return {cbTTDNameUseLike->isChecked(), cbTTDTSUseLike->isChecked()};
}

bool TfrmTTLServices::CheckTTDConditions() {
    TTTDPageState page;
    page.LibraryText = Text(cbTTDLibrary);
    page.NameText = Text(edTTDName);
    page.TSText = Text(edTTDTS);
    page.NumNodeText = Text(edTTDNumNode);
    page.DimText = Text(edTTODimension);
    page.ZText = Text(edTTOZ);
    page.RepTypeText = Text(cmbRepresentation);
    // The position of the shown text in the list; a typed text that is no item gives -1.
    page.RepIndex = cmbRepresentation->findText(cmbRepresentation->currentText());
    page.DiversityText = Text(edTTDDiversity);
    page.TTDCodeLines = MemoLines(mSearchTTDCode);
    page.UseRefCodeList = cbTTDUseRCL->isChecked();
    TCheckOutcome outcome =
        ormaline::CheckTTDConditions(page, DatabaseLibraryLookup(connection_), TTDSearch);
    ShowOutcome(outcome);
    return outcome.Passed();
}

std::string TfrmTTLServices::GetQTTDStr(std::string& description) const {
    return ormaline::GetQTTDStr(TTDSearch, TTDBoxes(), description);
}

bool TfrmTTLServices::SearchTTDCollection(int key) {
    const bool passed = CheckTTDConditions();
    std::string fileName;
    if (!passed || (key == 1 && !AssignTextFile(fileName, kTTDQueryFileName))) {
        TTDSearch.TTDCodeList.clear();
        return false;
    }
    sgTTD->SetRowCount(1);
    const int count = ShowOrWriteRows(
        connection_,
        TTDSearchStatement(TTDSearch, TTDBoxes(), cbTTDUseRCL->isChecked(),
                           MemoLines(mSearchResult)),
        fileName, TTDQueryFileHeader(), sgTTD,
        [](const TResult& row, int) { return TTDGridRow(ReadTTDSearchRow(row)); },
        [](const TResult& row) { return TTDQueryFileLine(ReadTTDSearchRow(row)); });
    SetStatusText(FoundStatus(count, "topologies"));
    TTDSearch.TTDCodeList.clear();
    return true;
}

void TfrmTTLServices::actTTDReadExecute() {
    if (!CheckTTDConditions())
        return;
    const std::string topologyId = sgTTD->Cell(3, sgTTD->Row());
    SetStatusText(kLoadTTDData);
    ProcessPendingMessages();
    sgTTDOccurrence->SetRowCount(1);
    const int count =
        AppendQueryRows(connection_, *sgTTDOccurrence,
                        TTDReadStatement(topologyId, TTDSearch, TTDBoxes(),
                                         cbTTDUseRCL->isChecked(), MemoLines(mSearchResult)),
                        [](const TResult& row, int k) { return TTDOccurrenceRow(row, k); });
    SetStatusText(FoundStatus(count, "structures"));
}

void TfrmTTLServices::SaveTTDData() {
    const bool passed = CheckTTDConditions();
    std::string fileName;
    if (passed && AssignTextFile(fileName, kTTDDataFileName)) {
        const int count = WriteRows(
            connection_,
            TTDDataStatement(TTDSearch, TTDBoxes(), cbTTDUseRCL->isChecked(),
                             MemoLines(mSearchResult)),
            fileName, TTDDataFileHeader(), [](const TResult& row) { return TTDDataFileLine(row); });
        SetStatusText(FoundStatus(count, "structures"));
    }
    TTDSearch.TTDCodeList.clear();
}

} // namespace ormaline
