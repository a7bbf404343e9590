// The Total tab: the query list, the combined search, the DOI pages of chosen codes;
// and the "Query To File" and "Data To File" commands of every page.
#include "app/TTLUnit.h"

#include "app/SearchPage.h"
#include "app/WidgetText.h"
#include "app/core/TTLExport.h"
#include "app/core/TTLQuery.h"
#include "platform/UrlOpener.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextCursor>

namespace ormaline {

namespace {

// The text selected in a memo with its line breaks as CR LF (Qt marks them with the
// paragraph separator).
std::string SelectedMemoText(const QPlainTextEdit* memo) {
    QString text = memo->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text.toStdString();
}

} // namespace

void TfrmTTLServices::AddQuery(const std::function<bool()>& check,
                               const std::function<std::string(std::string&)>& build,
                               const char* kind) {
    if (!slQueries || !slQueryType)
        return;
    if (!check())
        return;
    std::string description;
    const std::string fragment = build(description);
    // Entries are compared by their fragments, whatever their check marks.
    for (const std::string& existing : *slQueries) {
        if (existing == fragment) {
            Dialogs().Information(kQueryAlreadyInList);
            return;
        }
    }
    slQueries->push_back(fragment);
    slQueryType->push_back(kind);
    auto* item = new QListWidgetItem(Q(description), clbQueries);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
}

void TfrmTTLServices::actAddTTLQueryExecute() {
    AddQuery([this] { return CheckTTLConditions(); },
             [this](std::string& description) {
                 std::string fragment = GetQTTLStr(description);
                 TTLSearch.TTLCodeList.clear();
                 return fragment;
             },
             kQueryKindLigand);
}

void TfrmTTLServices::actAddTTAQueryExecute() {
    AddQuery([this] { return CheckTTAConditions(); },
             [this](std::string& description) { return GetQTTAStr(description); }, kQueryKindAtom);
}

void TfrmTTLServices::actAddTTDQueryExecute() {
    AddQuery([this] { return CheckTTDConditions(); },
             [this](std::string& description) { return GetQTTDStr(description); },
             kQueryKindTopology);
}

void TfrmTTLServices::actAddTTCQueryExecute() {
    AddQuery([this] { return CheckTTCConditions(); },
             [this](std::string& description) { return GetQTTCStr(description); },
             kQueryKindCrystal);
}

void TfrmTTLServices::actQDeleteExecute() {
    const int k = clbQueries->currentRow();
    if (k < 0 || !clbQueries->item(k)->isSelected() || !slQueries ||
        static_cast<std::size_t>(k) >= slQueries->size())
        return;
    delete clbQueries->takeItem(k);
    slQueries->erase(slQueries->begin() + k);
    slQueryType->erase(slQueryType->begin() + k);
}

void TfrmTTLServices::actQClearExecute() {
    clbQueries->clear();
    if (slQueries)
        slQueries->clear();
    if (slQueryType)
        slQueryType->clear();
}

std::vector<TQueryEntry> TfrmTTLServices::QueryEntries() const {
    std::vector<TQueryEntry> entries;
    if (!slQueries || !slQueryType)
        return entries;
    for (int k = 0; k < clbQueries->count(); ++k) {
        const auto index = static_cast<std::size_t>(k);
        if (index >= slQueries->size() || index >= slQueryType->size())
            break;
        entries.push_back({(*slQueryType)[index], (*slQueries)[index],
                           clbQueries->item(k)->text().toStdString(),
                           clbQueries->item(k)->checkState() == Qt::Checked});
    }
    return entries;
}

std::string TfrmTTLServices::BuildTotalQuery(std::string& statement) {
    const TTotalQuery query = CombinedQuery(QueryEntries());
    statement = query.Statement;
    if (query.Description.empty())
        Dialogs().Information(kNoQueryChosen);
    return query.Description;
}

void TfrmTTLServices::actSearchResultExecute() {
    mSearchResult->clear();
    std::string statement;
    const std::string description = BuildTotalQuery(statement);
    if (description.empty())
        return;
    auto result = connection_.Query(statement);
    int count = 0;
    if (result->Eof()) {
        Dialogs().Information(kNoDataUnderConditions + description);
    } else {
        QStringList codes;
        for (; !result->Eof(); result->Next(), ++count)
            codes << Q(result->AsString("refcode"));
        mSearchResult->setPlainText(codes.join('\n'));
    }
    result->Close();
    SetStatusText(FoundStatus(count, "structures"));
}

void TfrmTTLServices::actReferenceExecute() {
    const std::string codeList = SelectionCodeList(SelectedMemoText(mSearchResult));
    SetStatusText(kLoadDoiData);
    ProcessPendingMessages();
    auto result = connection_.Query(DoiStatement(codeList));
    int possible = 0;
    int opened = 0;
    for (; !result->Eof(); result->Next()) {
        ++possible;
        const std::string& doi = result->AsString("doi");
        if (IsUnknownDoi(doi))
            continue;
        ++opened;
        Urls().Open(DoiAddress(doi));
    }
    result->Close();
    SetStatusText(DoiStatus(opened, possible));
}

void TfrmTTLServices::SaveTotalData() {
    std::string statement;
    const std::string description = BuildTotalQuery(statement);
    if (description.empty())
        return;
    std::string fileName;
    if (!AssignTextFile(fileName, kTotalDataFileName))
        return;
    const int count = WriteRows(
        connection_, statement, fileName, TotalDataFileHeader(),
        [](const TResult& row) { return TotalDataFileLine(row.AsString("refcode")); },
        kNoDataUnderConditions + description);
    SetStatusText(FoundStatus(count, "structures"));
}

void TfrmTTLServices::SaveTTLData() {
    const bool passed = CheckTTLConditions();
    std::string fileName;
    if (passed && AssignTextFile(fileName, kTTLDataFileName)) {
        const int count = WriteRows(
            connection_,
            TTLDataStatement(TTLSearch, cbUseLike->isChecked(), cbTTLUseRCL->isChecked(),
                             MemoLines(mSearchResult)),
            fileName, TTLDataFileHeader(), [](const TResult& row) { return TTLDataFileLine(row); });
        SetStatusText(FoundStatus(count, "ligands"));
    }
    TTLSearch.TTLCodeList.clear();
}

void TfrmTTLServices::actQueryToFileExecute() {
    QWidget* page = pcServices->currentWidget();
    if (page == tsTotal)
        SaveTotalData();
    else if (page == tsTTL_TTM)
        SearchTTLCollection(1);
    else if (page == tsTTA)
        SearchTTACollection(1);
    else if (page == tsTTD)
        SearchTTDCollection(1);
    else if (page == tsTTC)
        SearchTTCCollection(1);
}

void TfrmTTLServices::actDataToFileExecute() {
    QWidget* page = pcServices->currentWidget();
    if (page == tsTotal)
        SaveTotalData();
    else if (page == tsTTL_TTM)
        SaveTTLData();
    else if (page == tsTTA)
        SaveTTAData();
    else if (page == tsTTD)
        SaveTTDData();
    else if (page == tsTTC)
        SaveTTCData();
}

} // namespace ormaline
