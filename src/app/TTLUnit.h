// The main window: the database search client. It owns the one database connection
// of the process, the lookup lists of the search tabs, the four search-condition
// records, the query list of the Total tab and the status line. The window is a
// translator: it copies control states into the condition records, calls the
// statement builders of app/core, runs the statements and shows what comes back.
#pragma once

#include "app/core/QueryList.h"
#include "app/core/SearchConditions.h"
#include "app/core/SubgraphCandidates.h"
#include "app/core/TTAQuery.h"
#include "app/core/TTCQuery.h"
#include "app/core/TTDQuery.h"
#include "app/core/TTLSearchRows.h"
#include "db/Database.h"
#include "model/OurData.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QWidget;

namespace ormaline {

class ActionList;
class StringGrid;

class TfrmTTLServices : public QMainWindow {
    Q_OBJECT
public:
    // Opens the connection before anything else; an EDatabaseError from the open ends
    // the construction (the program then shows it and stops).
    explicit TfrmTTLServices(std::string connectionString = TDatabase::kDefaultConnection,
                             QWidget* parent = nullptr);
    ~TfrmTTLServices() override;

    TDatabase& Connection() { return connection_; }
    ActionList& Actions() { return *actions_; }

    // Show time: steps 1 to 7; a failing step ends them with the default error report.
    void FormShow();
    void FormClose();

    // Commands.
    void dbConnectButtonClick();
    void disconnectButtonClick();

    // Lookup loaders.
    void LoadTTLName();
    void LoadTTDName();
    void LoadCoordFig();
    void LoadRepresentations();
    void LoadDataBases();

    // The RefCode list of the lines of mSearchResult; `c` receives the code count.
    std::string RefCodeList(int& c) const;
    // Asks for the file of an export. True when `fileName` is ready to be written
    // (the file is not created yet).
    bool AssignTextFile(std::string& fileName, const std::string& defaultName);

    // Ligand tab ("TTL&TTM&TTN").
    void actTTLSearchExecute();
    void cmbTTLLibraryChange();
    // Copies the page into TTLSearch; shows the first failing message and returns false.
    bool CheckTTLConditions();
    std::string GetQTTLStr(std::string& description) const;
    // Key 0 fills sgLigands, key 1 writes the hits to a "TTLQuery" text file.
    bool SearchTTLCollection(int key);
    void btnTTLReadClick();
    // "Draw": the read, then a new viewer window on the ligand of the detail panel.
    void actLigDrawExecute();
    void SelectLiMoN(const TGuid& ALigID);
    void SelectLiMoN_cd(const TGuid& ALigID);
    void SelectLiMoN_adm(const TGuid& ALigID);
    void SelectLigLoc(const TGuid& ALigID);
    void tsLigandClear();

    // Subgraph group of the ligand tab: "Load" a graph file, "View" it in a modal
    // viewer, "Clear" it. While one is loaded the ligand search keeps only the
    // ligands that contain it.
    void actSGLoadExecute();
    void actSGViewExecute();
    void actSGClearExecute();
    // The lines of the loaded graph file; none while no subgraph is loaded.
    std::unique_ptr<std::vector<std::string>> SGLines;
    // The subgraph parsed from SGLines by "Load".
    tCompParam CompParamGraph;
    // How the subgraph test loads the candidates: the whole search at once, ahead of
    // its rows; blocks and the per-row scheme (the reference) give the same hits.
    TCandidateLoading SubgraphLoading = TCandidateLoading::WholeSearch;
    // Candidates per block in bulk (and rows per block of the walk).
    std::size_t SubgraphBlockSize = TSubgraphRowFilter::kBulkBlockSize;

    // Atom tab ("TTA").
    void edChemElExit();
    void btnElementClick();
    void tsAtomsClear();
    void actTTASearchExecute();
    bool CheckTTAConditions();
    std::string GetQTTAStr(std::string& description) const;
    // Key 0 fills sgAtoms, key 1 writes the per-element rows to a "TTAQuery" file.
    bool SearchTTACollection(int key);
    // The atoms of the last check's conditions into sgAtOccurrence.
    void actAtReadExecute();

    // Topology tab ("TTD").
    void tsTTDClear();
    void actTTDSearchExecute();
    bool CheckTTDConditions();
    std::string GetQTTDStr(std::string& description) const;
    bool SearchTTDCollection(int key);
    void actTTDReadExecute();

    // Crystal tab ("TTC").
    void tsTTCClear();
    void actTTCSearchExecute();
    bool CheckTTCConditions();
    std::string GetQTTCStr(std::string& description) const;
    bool SearchTTCCollection(int key);
    void actTTCReadExecute();

    // Query list and combined search (tab "Total").
    void actAddTTLQueryExecute();
    void actAddTTAQueryExecute();
    void actAddTTDQueryExecute();
    void actAddTTCQueryExecute();
    void actQDeleteExecute();
    void actQClearExecute();
    // The combined description of the checked queries; `statement` receives the
    // combined statement. Empty, after "Not chosen selection criteria.", when no query
    // is checked.
    std::string BuildTotalQuery(std::string& statement);
    void actSearchResultExecute();
    // Opens the DOI pages of the codes selected in mSearchResult.
    void actReferenceExecute();
    // The query list as the core reads it: the three lists and the check marks.
    std::vector<TQueryEntry> QueryEntries() const;

    // "Query To File" and "Data To File" on the active page.
    void actQueryToFileExecute();
    void actDataToFileExecute();
    void SaveTotalData();
    void SaveTTLData();
    void SaveTTAData();
    void SaveTTDData();
    void SaveTTCData();
    void SetStatusText(const std::string& text);
    std::string StatusText() const;

    // Search-condition records, one of each for the process.
    TTTLSearch TTLSearch;
    TTTASearch TTASearch;
    TTTDSearch TTDSearch;
    TTTCSearch TTCSearch;

    // Query list (tab "Total"): condition fragment and kind of each entry.
    std::unique_ptr<std::vector<std::string>> slQueries;
    std::unique_ptr<std::vector<std::string>> slQueryType;

    // ---- controls, named as the system names them
    QTabWidget* pcServices = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* statusPanel = nullptr;

    // Total
    QWidget* tsTotal = nullptr;
    QListWidget* clbQueries = nullptr;
    QPlainTextEdit* mSearchResult = nullptr;

    // TTL&TTM&TTN
    QWidget* tsTTL_TTM = nullptr;
    QComboBox* cmbTTLLibrary = nullptr;
    QLineEdit* edSearchName = nullptr;
    QCheckBox* cbUseLike = nullptr;
    QLineEdit* edSearchAtNum = nullptr;
    QLineEdit* edCoordType = nullptr;
    QPlainTextEdit* mSearchTTLCode = nullptr;
    QCheckBox* cbTTLUseRCL = nullptr;
    QLineEdit* edTTLDiversity = nullptr;
    QCheckBox* cbWithSpecies = nullptr;
    StringGrid* sgLigands = nullptr;
    QTabWidget* pcLigandDetail = nullptr;
    QLineEdit* edLigID = nullptr;
    QLineEdit* edLigName = nullptr;
    QLineEdit* edLigCode = nullptr;
    QLineEdit* edLigAtNum = nullptr;
    QLineEdit* edLength_a = nullptr;
    QLineEdit* edLength_b = nullptr;
    QLineEdit* edLength_c = nullptr;
    QLineEdit* edAngel_alpha = nullptr;
    QLineEdit* edAngel_beta = nullptr;
    QLineEdit* edAngel_gamma = nullptr;
    StringGrid* sgLigAtoms = nullptr;
    StringGrid* sgLigBonds = nullptr;
    StringGrid* sgLigOccurrence = nullptr;

    // TTA
    QWidget* tsTTA = nullptr;
    QLineEdit* edChemEl = nullptr;
    QPushButton* btnElement = nullptr;
    QLineEdit* edAtNum = nullptr;
    QLineEdit* edCPClass = nullptr;
    QCheckBox* cbCPClass = nullptr;
    QLineEdit* edCPvdp = nullptr;
    QCheckBox* cbCPvdp = nullptr;
    QLineEdit* edOxSt = nullptr;
    QLineEdit* edCoordNum = nullptr;
    QComboBox* cmbCoordFig = nullptr;
    QCheckBox* cbTTAUseRCL = nullptr;
    QLineEdit* edTTARsds = nullptr;
    QLineEdit* edTTADiversity = nullptr;
    StringGrid* sgAtoms = nullptr;
    StringGrid* sgAtOccurrence = nullptr;

    // TTD
    QWidget* tsTTD = nullptr;
    QComboBox* cbTTDLibrary = nullptr;
    QLineEdit* edTTDName = nullptr;
    QCheckBox* cbTTDNameUseLike = nullptr;
    QLineEdit* edTTDTS = nullptr;
    QCheckBox* cbTTDTSUseLike = nullptr;
    QLineEdit* edTTDNumNode = nullptr;
    QLineEdit* edTTODimension = nullptr;
    QLineEdit* edTTOZ = nullptr;
    QComboBox* cmbRepresentation = nullptr;
    QPlainTextEdit* mSearchTTDCode = nullptr;
    QCheckBox* cbTTDUseRCL = nullptr;
    QLineEdit* edTTDDiversity = nullptr;
    StringGrid* sgTTD = nullptr;
    StringGrid* sgTTDOccurrence = nullptr;

    // TTC
    QWidget* tsTTC = nullptr;
    QLineEdit* edFStructural = nullptr;
    QLineEdit* edFTotal = nullptr;
    QLineEdit* edChemName = nullptr;
    QLineEdit* edRefCode = nullptr;
    QCheckBox* cbFStructural = nullptr;
    QCheckBox* cbFTotal = nullptr;
    QCheckBox* cbChemName = nullptr;
    QCheckBox* cbRefCode = nullptr;
    QComboBox* cmbDataBase = nullptr;
    QCheckBox* cbTTCUseRCL = nullptr;
    QCheckBox* cbReliableData = nullptr;
    StringGrid* sgTTC = nullptr;
    StringGrid* sgTTCOccurrence = nullptr;

    // ---- actions
    QAction* actConnectToDB = nullptr;
    QAction* actDisconnectDB = nullptr;
    QAction* actSearchResult = nullptr;
    QAction* actQDelete = nullptr;
    QAction* actQClear = nullptr;
    QAction* actReference = nullptr;
    QAction* actTTLSearch = nullptr;
    QAction* actLigRead = nullptr;
    QAction* actLigDraw = nullptr;
    QAction* actAddTTLQuery = nullptr;
    QAction* actSGLoad = nullptr;
    QAction* actSGView = nullptr;
    QAction* actSGClear = nullptr;
    QAction* actTTASearch = nullptr;
    QAction* actAtRead = nullptr;
    QAction* actAddTTAQuery = nullptr;
    QAction* actTTDSearch = nullptr;
    QAction* actTTDRead = nullptr;
    QAction* actAddTTDQuery = nullptr;
    QAction* actTTCSearch = nullptr;
    QAction* actTTCRead = nullptr;
    QAction* actAddTTCQuery = nullptr;
    QAction* actQueryToFile = nullptr;
    QAction* actDataToFile = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateLayout();
    QWidget* CreateTotalPage();
    QWidget* CreateLigandPage();
    QWidget* CreateAtomPage();
    QWidget* CreateTopologyPage();
    QWidget* CreateCrystalPage();
    void ResetSearchControls();
    void ResetGridHeaders();
    void EnsureLogFile();
    void LoadLookup(QComboBox* target, const std::string& statement, const char* column);
    // Loads both library lists; a connection found dead while loading is opened again once.
    void ReloadLibraries();
    // The "Add Query" of every tab: check, build, refuse a fragment already listed, append.
    void AddQuery(const std::function<bool()>& check,
                  const std::function<std::string(std::string& description)>& build,
                  const char* kind);
    TTTAPatternBoxes TTABoxes() const;
    TTTDPatternBoxes TTDBoxes() const;
    TTTCBoxes TTCBoxes() const;

    TDatabase connection_;
    ActionList* actions_ = nullptr;
};

// The header texts and column widths of every result grid.
struct GridLayout {
    std::vector<std::string> headers;
    std::vector<std::pair<int, int>> widths; // column, width (-1 hides)
};
void ApplyGridLayout(StringGrid& grid, const GridLayout& layout);

} // namespace ormaline
