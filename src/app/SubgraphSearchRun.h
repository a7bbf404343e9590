// The subgraph test of one ligand search in the main window: the molecular graph of
// the loaded subgraph, built when the search starts, and the candidates of each block
// of search rows loaded and tested, with the progress shown in the status line.
#pragma once

#include "app/core/SubgraphCandidates.h"

#include <chrono>
#include <vector>

namespace ormaline {

class TfrmTTLServices;

class TSubgraphSearchRun {
public:
    // Builds the graph of window.CompParamGraph with "With Species" and the ratio
    // bounds of the options record as they are now.
    explicit TSubgraphSearchRun(TfrmTTLServices& window);
    TSubgraphSearchRun(const TSubgraphSearchRun&) = delete;
    TSubgraphSearchRun& operator=(const TSubgraphSearchRun&) = delete;

    std::size_t BlockSize() const { return filter_.BlockSize(); }
    // When the window loads whole searches: starts loading the candidates of the search
    // (see TSubgraphRowFilter::StartSearch), then, once its rows are there, tests them
    // all ahead of the rows, with the progress in the status line. The status line
    // shows that the search has started in every scheme.
    void StartSearch(const std::string& candidateStatement);
    void TestSearch();
    // Shows that no candidate has been tested yet and lets the window repaint, while
    // the search's rows are read.
    void ShowWaiting();
    // Which of the ligands are hits; the status line shows the progress now and then,
    // and the window repaints (user input waits).
    std::vector<bool> TestBlock(const std::vector<TGuid>& ids);

private:
    // Shows the counts at most every so often, and lets the window repaint.
    void ShowProgress(int tested, int hits);

    TfrmTTLServices& window_;
    TSubgraphTest test_;
    TSubgraphRowFilter filter_;
    int hits_ = 0;
    std::chrono::steady_clock::time_point shown_{};
};

// "Subgraph search: <tested> ligands tested, <hits> found."
std::string SubgraphProgressStatus(int tested, int hits);

} // namespace ormaline
