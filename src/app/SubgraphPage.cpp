// The group "Subgraph" of the ligand tab: "Load", "View", "Clear", and the subgraph
// test of the ligand search.
#include "app/SubgraphSearchRun.h"

#include "app/TTLUnit.h"
#include "app/ViewerHandoff.h"
#include "app/WidgetText.h"
#include "model/Compound.h"
#include "model/MolTextReader.h"
#include "model/TextFile.h"
#include "platform/ProgramFolder.h"
#include "platform/UserDialogs.h"

#include <QCheckBox>

#include <algorithm>

namespace ormaline {

namespace {

// The graph-file reader shows its own message in an error box.
void ShowReaderError(const std::string& message) {
    Dialogs().Error(message);
}

// Progress is shown at most this often, so that showing it costs little.
constexpr std::chrono::milliseconds kProgressInterval{100};

} // namespace

std::string SubgraphProgressStatus(int tested, int hits) {
    return "Subgraph search: " + std::to_string(tested) + " ligands tested, " +
           std::to_string(hits) + " found.";
}

TSubgraphSearchRun::TSubgraphSearchRun(TfrmTTLServices& window)
    : window_(window), test_(window.CompParamGraph, window.cbWithSpecies->isChecked(), KRELMOpt),
      filter_(window.Connection(), window.TTLSearch.LibraryID, test_, window.SubgraphLoading,
              window.SubgraphBlockSize) {}

void TSubgraphSearchRun::ShowProgress(int tested, int hits) {
    const auto now = std::chrono::steady_clock::now();
    if (now - shown_ >= kProgressInterval) {
        shown_ = now;
        window_.SetStatusText(SubgraphProgressStatus(tested, hits));
        ProcessPendingMessages();
    }
}

void TSubgraphSearchRun::StartSearch(const std::string& candidateStatement) {
    filter_.StartSearch(candidateStatement);
    ShowWaiting();
}

void TSubgraphSearchRun::TestSearch() {
    filter_.TestSearch([this](int tested, int hits) { ShowProgress(tested, hits); });
}

void TSubgraphSearchRun::ShowWaiting() {
    ShowProgress(0, 0);
}

std::vector<bool> TSubgraphSearchRun::TestBlock(const std::vector<TGuid>& ids) {
    std::vector<bool> hits = filter_.TestBlock(ids);
    hits_ += static_cast<int>(std::count(hits.begin(), hits.end(), true));
    ShowProgress(filter_.Tested(), hits_);
    return hits;
}

void TfrmTTLServices::actSGLoadExecute() {
    FileDialogRequest request;
    request.caption = "Choose filename(s) with molecular fragments";
    request.initialFolder = ProgramFolder();
    request.filter = "Graph files (*.gph)|*.gph";
    request.defaultExtension = "gph";
    const std::optional<std::string> chosen = Dialogs().OpenFileName(request);
    if (!chosen)
        return;
    FreeCompParam(CompParamGraph);
    // The lines stay loaded whatever the reader makes of them; a file that cannot be
    // read leaves an empty list, which still counts as a loaded subgraph.
    SGLines = std::make_unique<std::vector<std::string>>();
    ReadTextFileLines(*chosen, *SGLines);
    ReadMolText(*SGLines, CompParamGraph, ShowReaderError);
}

void TfrmTTLServices::actSGViewExecute() {
    std::unique_ptr<TLVForm> viewer = NewHandoffViewer();
    TLVScene& scene = viewer->Scene();
    // A fresh parse of the same lines, independent of CompParamGraph.
    ReadMolText(*SGLines, scene.CompParamMaler, ShowReaderError);
    scene.ShowMoleculeOnly = true;
    viewer->Create1Click();
    // Modal: the main window takes no input until the viewer is closed.
    viewer->setWindowModality(Qt::ApplicationModal);
    viewer.release()->show();
}

void TfrmTTLServices::actSGClearExecute() {
    SGLines.reset();
}

} // namespace ormaline
