// The ligand tab: search, read, and the ligand row of "Query To File".
#include "app/TTLUnit.h"

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

#include <cerrno>
#include <cstring>
#include <fstream>

namespace ormaline {

namespace {

void ShowOutcome(const TCheckOutcome& outcome) {
    if (outcome.Kind == TMessageKind::mkError)
        Dialogs().Error(outcome.Message);
    else if (outcome.Kind == TMessageKind::mkInformation)
        Dialogs().Information(outcome.Message);
}

// Appends rows to a grid inside one update; the rows added before an error stay.
class GridAppender {
public:
    explicit GridAppender(StringGrid& grid) : grid_(grid) { grid_.BeginUpdate(); }
    ~GridAppender() { grid_.EndUpdate(); }
    GridAppender(const GridAppender&) = delete;
    GridAppender& operator=(const GridAppender&) = delete;

    void SetRow(int row, const TGridRow& texts) {
        if (grid_.RowCount() <= row)
            grid_.SetRowCount(row + 1);
        grid_.SetRowTexts(row, texts);
    }

private:
    StringGrid& grid_;
};

// A text file of an export, created (truncated) when the first rows are there.
class ExportFile {
public:
    explicit ExportFile(std::string fileName) : fileName_(std::move(fileName)) {
        stream_.open(fileName_, std::ios::binary | std::ios::trunc);
        if (!stream_.is_open())
            Fail();
    }
    void Write(const std::string& bytes) {
        stream_ << bytes;
        if (!stream_)
            Fail();
    }
    void Close() {
        stream_.close();
        if (stream_.fail())
            Fail();
    }

private:
    [[noreturn]] void Fail() {
        throw EInOutError("Cannot write file \"" + fileName_ + "\". " + std::strerror(errno));
    }
    std::string fileName_;
    std::ofstream stream_;
};

// Runs the statement and appends grid row k (from 1) for its k-th row.
template <class RowReader>
void AppendQueryRows(TDatabase& connection, StringGrid& grid, const std::string& statement,
                     RowReader readRow) {
    auto result = connection.Query(statement);
    {
        GridAppender rows(grid);
        for (int k = 1; !result->Eof(); result->Next(), ++k)
            rows.SetRow(k, readRow(*result, k));
    }
    result->Close();
}

} // namespace

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
    auto result = connection_.Query(statement);
    int hitCount = 0;
    if (result->Eof()) {
        Dialogs().Information(kTTLNoDataFound);
    } else if (key == 1) {
        ExportFile file(fileName);
        file.Write(TTLQueryFileHeader());
        hitCount = WalkTTLSearchRowBlocks(
            *result, [&](const TOneRecStr& record, int) { file.Write(TTLQueryFileLine(record)); },
            rowTest, blockSize);
        file.Close();
    } else {
        GridAppender rows(*sgLigands);
        hitCount = WalkTTLSearchRowBlocks(
            *result,
            [&](const TOneRecStr& record, int hit) { rows.SetRow(hit, TTLGridRow(record)); },
            rowTest, blockSize);
    }
    result->Close();
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
    AppendQueryRows(connection_, *sgLigOccurrence,
                    ormaline::SelectLigLoc(ALigID, cbTTLUseRCL->isChecked(), MemoLines(mSearchResult)),
                    [](const TResult& row, int k) { return ReadLigandOccurrenceRow(row, k); });
}

void TfrmTTLServices::actQueryToFileExecute() {
    if (pcServices->currentWidget() == tsTTL_TTM)
        SearchTTLCollection(1);
}

} // namespace ormaline
