#include "app/TTLUnit.h"

#include "app/WidgetText.h"
#include "app/core/RefCodeList.h"
#include "model/Errors.h"
#include "platform/ActionList.h"
#include "platform/CommandDispatch.h"
#include "platform/ProgramFolder.h"
#include "platform/StringGrid.h"
#include "platform/UserDialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace ormaline {

namespace {

// Statements of the lookup loaders.
const char* const kLoadTTLName =
    "select t1.name\r\nfrom topology.limon_library t1\r\norder by t1.name";
const char* const kLoadTTDName =
    "select t1.name\r\nfrom topology.ttdlibrary t1\r\norder by t1.name";
const char* const kLoadCoordFig =
    "select t1.name\r\nfrom atoms.ref_polyhedra t1\r\norder by t1.name";
const char* const kLoadRepresentations =
    "select rep_name from topology.ref_representation_type order by rep_code asc";
const char* const kLoadDataBases =
    "select t1.name\r\nfrom crystals.ref_structure_databases t1\r\norder by t1.id";

const char* const kLogFileName = "TTCollection.log";

} // namespace

TfrmTTLServices::TfrmTTLServices(std::string connectionString, QWidget* parent)
    : QMainWindow(parent), connection_(std::move(connectionString)) {
    // The connection opens before the window is built; failing here ends the start.
    connection_.Open();
    setObjectName("frmTTLServices");
    setWindowTitle("Ormaline");
    actions_ = new ActionList(this);
    CreateActions();
    CreateMenus();
    CreateLayout();
    actions_->UpdateActions();
    resize(455, 690 + menuBar()->sizeHint().height());
}

TfrmTTLServices::~TfrmTTLServices() = default;

void TfrmTTLServices::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        RunCommand([this] { FormShow(); });
}

void TfrmTTLServices::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

void TfrmTTLServices::FormShow() {
    slQueries = std::make_unique<std::vector<std::string>>();
    slQueryType = std::make_unique<std::vector<std::string>>();
    EnsureLogFile();
    ResetSearchControls();
    tsLigandClear();
    LoadTTLName();
    LoadTTDName();
    LoadCoordFig();
    LoadRepresentations();
    LoadDataBases();
    ResetGridHeaders();
    mSearchResult->clear();
    for (QLineEdit* edit :
         {edAtNum, edCPClass, edCPvdp, edCoordNum, edOxSt, edChemEl, edTTADiversity, edTTARsds})
        edit->clear();
    cmbCoordFig->setCurrentIndex(-1);
    cmbCoordFig->setEditText("");
    cbCPClass->setChecked(false);
    cbCPvdp->setChecked(false);
    TTLSearch = TTTLSearch{};
    TTASearch = TTTASearch{};
    TTCSearch = TTTCSearch{};
    actions_->UpdateActions();
}

void TfrmTTLServices::FormClose() {
    slQueries.reset();
    slQueryType.reset();
}

void TfrmTTLServices::EnsureLogFile() {
    std::filesystem::path path = std::filesystem::path(ProgramFolder()) / kLogFileName;
    {
        std::ifstream existing(path, std::ios::binary);
        if (existing.is_open())
            return;
    }
    // A log that exists but cannot be read is reported, not emptied.
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored))
        throw EInOutError("Cannot open file \"" + path.string() + "\". " +
                          std::error_code(errno, std::generic_category()).message());
    std::ofstream created(path, std::ios::binary);
    if (!created.is_open())
        throw EInOutError("Cannot create file \"" + path.string() + "\". " +
                          std::error_code(errno, std::generic_category()).message());
}

void TfrmTTLServices::ResetSearchControls() {
    cmbTTLLibrary->clear();
    cmbTTLLibrary->setEditText("");
    for (QLineEdit* edit : {edSearchName, edSearchAtNum, edCoordType, edTTLDiversity, edTTDNumNode,
                            edTTDName, edTTDTS, edTTODimension, edTTOZ, edTTDDiversity, edFTotal,
                            edRefCode, edChemName, edFStructural})
        edit->clear();
    mSearchTTLCode->clear();
    cmbRepresentation->clear();
    cmbRepresentation->setEditText("");
    for (QCheckBox* box : {cbTTDNameUseLike, cbTTDTSUseLike, cbTTCUseRCL, cbFStructural, cbFTotal,
                           cbChemName, cbRefCode, cbReliableData})
        box->setChecked(false);
    mSearchTTDCode->clear();
    cmbDataBase->clear();
    cmbDataBase->setEditText("");
}

void TfrmTTLServices::LoadLookup(QComboBox* target, const std::string& statement,
                                 const char* column) {
    target->clear();
    auto result = connection_.Query(statement);
    QStringList items;
    for (; !result->Eof(); result->Next())
        items << QString::fromStdString(result->AsString(column));
    result->Close();
    target->addItems(items);
    target->setCurrentIndex(-1);
}

void TfrmTTLServices::LoadTTLName() {
    LoadLookup(cmbTTLLibrary, kLoadTTLName, "Name");
}

void TfrmTTLServices::LoadTTDName() {
    cbTTDLibrary->setEditText("");
    LoadLookup(cbTTDLibrary, kLoadTTDName, "Name");
    cbTTDLibrary->setEditText("");
}

void TfrmTTLServices::LoadCoordFig() {
    LoadLookup(cmbCoordFig, kLoadCoordFig, "Name");
}

void TfrmTTLServices::LoadRepresentations() {
    LoadLookup(cmbRepresentation, kLoadRepresentations, "rep_name");
}

void TfrmTTLServices::LoadDataBases() {
    LoadLookup(cmbDataBase, kLoadDataBases, "Name");
}

void TfrmTTLServices::ReloadLibraries() {
    try {
        LoadTTLName();
        LoadTTDName();
    } catch (const EDatabaseError&) {
        // The driver notices a server restart only when a statement fails on the old
        // connection; it then counts as lost, and one new connection is tried.
        if (connection_.IsOpen())
            throw;
        connection_.Open();
        LoadTTLName();
        LoadTTDName();
    }
}

void TfrmTTLServices::dbConnectButtonClick() {
    try {
        if (!connection_.IsOpen())
            connection_.Open();
        ReloadLibraries();
    } catch (const EDatabaseError& error) {
        Dialogs().Error(std::string("Exception raised with message") + error.what());
    }
}

void TfrmTTLServices::disconnectButtonClick() {
    try {
        if (connection_.IsOpen())
            connection_.Close();
    } catch (const EDatabaseError& error) {
        Dialogs().Error(std::string("Exception raised with message") + error.what());
    }
}

std::string TfrmTTLServices::RefCodeList(int& c) const {
    return ormaline::RefCodeList(MemoLines(mSearchResult), c);
}

bool TfrmTTLServices::AssignTextFile(std::string& fileName, const std::string& defaultName) {
    FileDialogRequest request;
    request.initialFolder = ProgramFolder();
    request.fileName = defaultName;
    request.filter = "Text files (*.txt)|*.TXT";
    auto chosen = Dialogs().SaveFileName(request);
    if (!chosen)
        return false;
    // ".txt" is always appended, also to a name that already ends in ".txt".
    fileName = *chosen + ".txt";
    if (QFileInfo::exists(QString::fromStdString(fileName)))
        return Dialogs().Confirm("File " + *chosen + ".txt exist. Overwrite?");
    return true;
}

void TfrmTTLServices::tsLigandClear() {
    for (QLineEdit* edit : {edLigID, edLigName, edLigCode, edLigAtNum, edLength_a, edLength_b,
                            edLength_c, edAngel_alpha, edAngel_beta, edAngel_gamma})
        edit->clear();
    sgLigAtoms->SetRowCount(1);
    sgLigBonds->SetRowCount(1);
    sgLigOccurrence->SetRowCount(1);
}

void TfrmTTLServices::SetStatusText(const std::string& text) {
    statusPanel->setText(Q(text));
}

std::string TfrmTTLServices::StatusText() const {
    return statusPanel->text().toStdString();
}

} // namespace ormaline
