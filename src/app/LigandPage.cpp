// The ligand tab: search and read.
#include "app/TTLUnit.h"

#include "app/SearchPage.h"
#include "app/SubgraphSearchRun.h"
#include "app/WidgetText.h"
#include "app/core/LigandRead.h"
#include "app/core/TTLCheck.h"
#include "app/core/TTLQuery.h"
#include "model/Errors.h"
#include "platform/StringGrid.h"
#include "platform/UserDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace ormaline {

void TfrmTTLServices::actTTLSearchExecute() {
    tsLigandClear();
    SearchTTLCollection(0);
}

void TfrmTTLServices::cmbTTLLibraryChange() {
    tsLigandClear();
}

bool TfrmTTLServices::CheckTTLConditions() {
    TTTLPageState page;
    page.LibraryText = Text(cmbTTLLibrary);
    page.NameText = Text(edSearchName);
    page.AtNumText = Text(edSearchAtNum);
    page.CoordTypeText = Text(edCoordType);
    page.DiversityText = Text(edTTLDiversity);
    page.TTLCodeLines = MemoLines(mSearchTTLCode);
    page.UseRefCodeList = cbTTLUseRCL->isChecked();
    TCheckOutcome outcome =
        ormaline::CheckTTLConditions(page, DatabaseLibraryLookup(connection_), TTLSearch);
    ShowOutcome(outcome);
    return outcome.Passed();
}

std::string TfrmTTLServices::GetQTTLStr(std::string& description) const {
    return ormaline::GetQTTLStr(TTLSearch, cbUseLike->isChecked(), description);
}

bool TfrmTTLServices::SearchTTLCollection(int key) {
    if (!CheckTTLConditions())
        return false;
    std::string fileName;
    if (key == 1 && !AssignTextFile(fileName, kTTLQueryFileName))
        return false;
    sgLigands->SetRowCount(1);
    std::string statement = TTLSearchStatement(TTLSearch, cbUseLike->isChecked(),
                                               cbTTLUseRCL->isChecked(), MemoLines(mSearchResult));
    // While a subgraph is loaded, each candidate row must contain it.
    std::unique_ptr<TSubgraphSearchRun> subgraph;
    if (SGLines)
        subgraph = std::make_unique<TSubgraphSearchRun>(*this);
    TLigandBlockTest rowTest;
    if (subgraph)
        rowTest = [&subgraph](const std::vector<TGuid>& ids) { return subgraph->TestBlock(ids); };
    const std::size_t blockSize = subgraph ? subgraph->BlockSize() : 1;
    // The candidates' atoms load beside the search's own statement.
    if (subgraph)
        subgraph->StartSearch(TTLCandidateStatement(
            TTLSearch, cbUseLike->isChecked(), cbTTLUseRCL->isChecked(), MemoLines(mSearchResult)));
    auto result = connection_.Query(statement);
    // The rows are read while the candidates' atoms still load, then decided.
    std::function<void()> keepAlive;
    if (subgraph)
        keepAlive = [&subgraph] { subgraph->ShowWaiting(); };
    const std::vector<TOneRecStr> records = ReadTTLSearchRows(*result, keepAlive);
    result->Close();
    int hitCount = 0;
    if (subgraph && !records.empty())
        subgraph->TestSearch();
    if (records.empty()) {
        Dialogs().Information(kTTLNoDataFound);
    } else if (key == 1) {
        ExportFile file(fileName);
        file.Write(TTLQueryFileHeader());
        hitCount = DecideTTLSearchRows(
            records, [&](const TOneRecStr& record, int) { file.Write(TTLQueryFileLine(record)); },
            rowTest, blockSize);
        file.Close();
    } else {
        GridAppender rows(*sgLigands);
        hitCount = DecideTTLSearchRows(
            records,
            [&](const TOneRecStr& record, int hit) { rows.SetRow(hit, TTLGridRow(record)); },
            rowTest, blockSize);
    }
    SetStatusText(FoundLigandsStatus(hitCount));
    TTLSearch.TTLCodeList.clear();
    return true;
}

void TfrmTTLServices::btnTTLReadClick() {
    TGuid ligandId = GuidFromColumnText(sgLigands->Cell(3, sgLigands->Row()));
    SetStatusText(kLoadLigandData);
    ProcessPendingMessages();
    SelectLiMoN(ligandId);
    SetStatusText(kLoadAtomData);
    ProcessPendingMessages();
    SelectLiMoN_cd(ligandId);
    SetStatusText(kLoadAdjacencyMatrix);
    ProcessPendingMessages();
    SelectLiMoN_adm(ligandId);
    SetStatusText(kLoadOccurrence);
    ProcessPendingMessages();
    SelectLigLoc(ligandId);
    SetStatusText("");
}

void TfrmTTLServices::SelectLiMoN(const TGuid& ALigID) {
    tsLigandClear();
    auto result = connection_.Query(ormaline::SelectLiMoN(TTLSearch.LibraryID, ALigID));
    TLigandHeaderTexts header = ReadLigandHeader(*result);
    result->Close();
    SetText(edLigName, header.LigName);
    SetText(edLigAtNum, header.LigAtNum);
    SetText(edLigCode, header.LigCode);
    SetText(edLigID, header.LigID);
    SetText(edLength_a, header.Length_a);
    SetText(edLength_b, header.Length_b);
    SetText(edLength_c, header.Length_c);
    SetText(edAngel_alpha, header.Angel_alpha);
    SetText(edAngel_beta, header.Angel_beta);
    SetText(edAngel_gamma, header.Angel_gamma);
}

void TfrmTTLServices::SelectLiMoN_cd(const TGuid& ALigID) {
    AppendQueryRows(connection_, *sgLigAtoms, ormaline::SelectLiMoN_cd(ALigID),
                    [](const TResult& row, int k) { return ReadLigandAtomRow(row, k); });
}

void TfrmTTLServices::SelectLiMoN_adm(const TGuid& ALigID) {
    AppendQueryRows(connection_, *sgLigBonds, ormaline::SelectLiMoN_adm(ALigID),
                    [](const TResult& row, int) { return ReadLigandBondRow(row); });
}

void TfrmTTLServices::SelectLigLoc(const TGuid& ALigID) {
    AppendQueryRows(
        connection_, *sgLigOccurrence,
        ormaline::SelectLigLoc(ALigID, cbTTLUseRCL->isChecked(), MemoLines(mSearchResult)),
        [](const TResult& row, int k) { return ReadLigandOccurrenceRow(row, k); });
}

} // namespace ormaline
