// The main window's actions, menus, pages and grids.
#include "app/TTLUnit.h"

#include "platform/ActionList.h"
#include "platform/CommandDispatch.h"
#include "platform/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ormaline {

namespace {

template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* Edit(const char* name) {
    return Named(new QLineEdit, name);
}

QCheckBox* Check(const char* name, const char* caption) {
    return Named(new QCheckBox(caption), name);
}

QComboBox* Combo(const char* name) {
    auto* combo = Named(new QComboBox, name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QPlainTextEdit* Memo(const char* name) {
    auto* memo = Named(new QPlainTextEdit, name);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return memo;
}

StringGrid* Grid(const char* name) {
    return Named(new StringGrid, name);
}

// A button that shows an action's caption and runs it.
QPushButton* ActionButton(QAction* action) {
    auto* button = new QPushButton(action->text());
    button->setObjectName(QString("btn_") + action->objectName());
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] {
        button->setEnabled(action->isEnabled());
        button->setText(action->text());
    });
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QAction*> actions) {
    auto* row = new QHBoxLayout;
    for (QAction* action : actions)
        row->addWidget(ActionButton(action));
    row->addStretch(1);
    return row;
}

// Runs `handler` when the user chooses an entry or types in the list's edit, not
// when the program fills the list.
void ConnectUserChange(QComboBox* combo, std::function<void()> handler) {
    QObject::connect(combo, &QComboBox::textActivated, combo,
                     [handler](const QString&) { RunCommand(handler); });
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                     [handler](const QString&) { RunCommand(handler); });
}

// Calls a handler when the watched widget loses the keyboard focus.
class FocusLossFilter : public QObject {
public:
    FocusLossFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut)
            RunCommand(handler_);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> handler_;
};

// An edit with a "use like" box beside it.
QHBoxLayout* WithUseLike(QLineEdit* edit, QCheckBox* useLike) {
    // Room for a typed pattern even when the page is at its narrowest.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(useLike);
    return row;
}

} // namespace

void ApplyGridLayout(StringGrid& grid, const GridLayout& layout) {
    grid.ResetToHeader(layout.headers);
    // Columns without a stated width are as wide as their header text needs.
    for (std::size_t column = 0; column < layout.headers.size(); ++column)
        grid.SetColWidth(
            static_cast<int>(column),
            std::max(StringGrid::kDefaultColumnWidth, grid.TextWidth(layout.headers[column])));
    for (auto [column, width] : layout.widths)
        grid.SetColWidth(column, width);
}

void TfrmTTLServices::CreateActions() {
    ActionList& list = *actions_;
    auto hasQueries = [this] { return clbQueries->count() > 0; };

    actConnectToDB =
        list.Add("actConnectToDB", "Connect To DB...", [this] { dbConnectButtonClick(); });
    actDisconnectDB =
        list.Add("actDisconnectDB", "Disconnect DB...", [this] { disconnectButtonClick(); });
    actSearchResult = list.Add(
        "actSearchResult", "Search", [this] { actSearchResultExecute(); }, hasQueries);
    actQDelete = list.Add(
        "actQDelete", "Delete", [this] { actQDeleteExecute(); }, hasQueries);
    actQClear = list.Add(
        "actQClear", "Clear", [this] { actQClearExecute(); }, hasQueries);
    actReference = list.Add(
        "actReference", "Reference", [this] { actReferenceExecute(); },
        [this] { return !mSearchResult->document()->isEmpty(); });
    actTTLSearch = list.Add("actTTLSearch", "Search", [this] { actTTLSearchExecute(); });
    actLigRead = list.Add(
        "actLigRead", "Read", [this] { btnTTLReadClick(); },
        [this] { return sgLigands->HasCurrentDataRow(); });
    actLigDraw = list.Add(
        "actLigDraw", "Draw", [this] { actLigDrawExecute(); },
        [this] { return sgLigands->HasCurrentDataRow(); });
    actAddTTLQuery = list.Add("actAddTTLQuery", "Add Query", [this] { actAddTTLQueryExecute(); });
    actSGLoad = list.Add("actSGLoad", "Load", [this] { actSGLoadExecute(); });
    auto subgraphLoaded = [this] { return SGLines != nullptr; };
    actSGView = list.Add(
        "actSGView", "View", [this] { actSGViewExecute(); }, subgraphLoaded);
    actSGClear = list.Add(
        "actSGClear", "Clear", [this] { actSGClearExecute(); }, subgraphLoaded);
    actTTASearch = list.Add("actTTASearch", "Search", [this] { actTTASearchExecute(); });
    actAtRead = list.Add(
        "actAtRead", "Read", [this] { actAtReadExecute(); },
        [this] { return sgAtoms->HasCurrentDataRow(); });
    actAddTTAQuery = list.Add("actAddTTAQuery", "Add Query", [this] { actAddTTAQueryExecute(); });
    actTTDSearch = list.Add("actTTDSearch", "Search", [this] { actTTDSearchExecute(); });
    actTTDRead = list.Add(
        "actTTDRead", "Read", [this] { actTTDReadExecute(); },
        [this] { return sgTTD->HasCurrentDataRow(); });
    actAddTTDQuery = list.Add("actAddTTDQuery", "Add Query", [this] { actAddTTDQueryExecute(); });
    actTTCSearch = list.Add("actTTCSearch", "Search", [this] { actTTCSearchExecute(); });
    actTTCRead = list.Add(
        "actTTCRead", "Read", [this] { actTTCReadExecute(); },
        [this] { return sgTTC->HasCurrentDataRow(); });
    actAddTTCQuery = list.Add("actAddTTCQuery", "Add Query", [this] { actAddTTCQueryExecute(); });
    actQueryToFile =
        list.Add("actQueryToFile", "Query To File", [this] { actQueryToFileExecute(); });
    actDataToFile = list.Add("actDataToFile", "Data To File", [this] { actDataToFileExecute(); });
}

void TfrmTTLServices::CreateMenus() {
    QMenu* database = menuBar()->addMenu("Database");
    database->addAction(actConnectToDB);
    database->addAction(actDisconnectDB);
    QMenu* commands = menuBar()->addMenu("Commands");
    commands->addAction(actQueryToFile);
    commands->addAction(actDataToFile);
    // "About" carries no command.
    menuBar()->addMenu("About")->setObjectName("mnuAbout");
}

void TfrmTTLServices::CreateLayout() {
    pcServices = Named(new QTabWidget, "pcServices");
    tsTotal = CreateTotalPage();
    tsTTL_TTM = CreateLigandPage();
    tsTTA = CreateAtomPage();
    tsTTD = CreateTopologyPage();
    tsTTC = CreateCrystalPage();
    pcServices->addTab(tsTotal, "Total");
    // The caption's ampersands are doubled so that they show instead of marking a mnemonic.
    pcServices->addTab(tsTTL_TTM, "TTL&&TTM&&TTN");
    pcServices->addTab(tsTTA, "TTA");
    pcServices->addTab(tsTTD, "TTD");
    pcServices->addTab(tsTTC, "TTC");
    pcServices->setCurrentWidget(tsTotal);
    setCentralWidget(pcServices);

    StatusBar1 = Named(new QStatusBar, "StatusBar1");
    statusPanel = Named(new QLabel, "StatusPanel0");
    statusPanel->setMinimumWidth(200);
    StatusBar1->addWidget(statusPanel, 1);
    StatusBar1->setSizeGripEnabled(true);
    setStatusBar(StatusBar1);
    ResetGridHeaders();
}

QWidget* TfrmTTLServices::CreateTotalPage() {
    auto* page = Named(new QWidget, "tsTotal");
    auto* layout = new QVBoxLayout(page);
    auto* group = Named(new QGroupBox("Query List"), "gbQueryList");
    auto* groupLayout = new QVBoxLayout(group);
    clbQueries = Named(new QListWidget, "clbQueries");
    groupLayout->addWidget(clbQueries);
    layout->addWidget(group, 1);
    layout->addLayout(ButtonRow({actSearchResult, actQDelete, actReference, actQClear}));
    mSearchResult = Memo("mSearchResult");
    mSearchResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(mSearchResult, 2);
    return page;
}

QWidget* TfrmTTLServices::CreateLigandPage() {
    auto* page = Named(new QWidget, "tsTTL_TTM");
    auto* layout = new QVBoxLayout(page);

    auto* libraryRow = new QHBoxLayout;
    libraryRow->addWidget(new QLabel("Library"));
    cmbTTLLibrary = Combo("cmbTTLLibrary");
    libraryRow->addWidget(cmbTTLLibrary, 1);
    // Choosing or typing another library clears the ligand detail panel.
    ConnectUserChange(cmbTTLLibrary, [this] { cmbTTLLibraryChange(); });
    layout->addLayout(libraryRow);

    auto* options = Named(new QGroupBox("Search Options"), "gbTTLSearchOptions");
    auto* optionsLayout = new QGridLayout(options);
    auto* form = new QFormLayout;
    edSearchName = Edit("edSearchName");
    cbUseLike = Check("cbUseLike", "use like");
    form->addRow("Ligand Name", WithUseLike(edSearchName, cbUseLike));
    edSearchAtNum = Edit("edSearchAtNum");
    form->addRow("Number of Atoms", edSearchAtNum);
    edCoordType = Edit("edCoordType");
    form->addRow("Coordination Type", edCoordType);
    edTTLDiversity = Edit("edTTLDiversity");
    form->addRow("Diversity", edTTLDiversity);
    cbTTLUseRCL = Check("cbTTLUseRCL", "Use RefCode List");
    form->addRow(cbTTLUseRCL);
    optionsLayout->addLayout(form, 0, 0, 2, 1);

    auto* codeGroup = Named(new QGroupBox("TTLCode"), "gbTTLCode");
    auto* codeLayout = new QVBoxLayout(codeGroup);
    mSearchTTLCode = Memo("mSearchTTLCode");
    mSearchTTLCode->setMaximumHeight(70);
    codeLayout->addWidget(mSearchTTLCode);
    optionsLayout->addWidget(codeGroup, 0, 1);

    auto* subgraph = Named(new QGroupBox("Subgraph"), "gbSubgraph");
    auto* subgraphLayout = new QVBoxLayout(subgraph);
    subgraphLayout->addLayout(ButtonRow({actSGLoad, actSGView, actSGClear}));
    cbWithSpecies = Check("cbWithSpecies", "With Species");
    subgraphLayout->addWidget(cbWithSpecies);
    optionsLayout->addWidget(subgraph, 1, 1);
    layout->addWidget(options);

    sgLigands = Grid("sgLigands");
    layout->addWidget(sgLigands, 2);
    layout->addLayout(ButtonRow({actTTLSearch, actLigRead, actLigDraw, actAddTTLQuery}));

    pcLigandDetail = Named(new QTabWidget, "pcLigandDetail");
    auto* ligand = Named(new QWidget, "tsLigand");
    auto* ligandLayout = new QGridLayout(ligand);
    auto* ligandForm = new QFormLayout;
    edLigID = Edit("edLigID");
    edLigID->setReadOnly(true);
    edLigName = Edit("edLigName");
    edLigCode = Edit("edLigCode");
    edLigAtNum = Edit("edLigAtNum");
    ligandForm->addRow("ID", edLigID);
    ligandForm->addRow("Name", edLigName);
    ligandForm->addRow("Code", edLigCode);
    ligandForm->addRow("Number of Atoms", edLigAtNum);
    ligandLayout->addLayout(ligandForm, 0, 0);
    auto* cell = Named(new QGroupBox("Cell"), "gbCell");
    auto* cellLayout = new QFormLayout(cell);
    edLength_a = Edit("edLength_a");
    edLength_b = Edit("edLength_b");
    edLength_c = Edit("edLength_c");
    edAngel_alpha = Edit("edAngel_alpha");
    edAngel_beta = Edit("edAngel_beta");
    edAngel_gamma = Edit("edAngel_gamma");
    cellLayout->addRow("a", edLength_a);
    cellLayout->addRow("b", edLength_b);
    cellLayout->addRow("c", edLength_c);
    cellLayout->addRow("alpha", edAngel_alpha);
    cellLayout->addRow("beta", edAngel_beta);
    cellLayout->addRow("gamma", edAngel_gamma);
    ligandLayout->addWidget(cell, 0, 1);
    pcLigandDetail->addTab(ligand, "Ligand");
    sgLigAtoms = Grid("sgLigAtoms");
    pcLigandDetail->addTab(sgLigAtoms, "Atoms");
    sgLigBonds = Grid("sgLigBonds");
    pcLigandDetail->addTab(sgLigBonds, "Bonds");
    sgLigOccurrence = Grid("sgLigOccurrence");
    pcLigandDetail->addTab(sgLigOccurrence, "Occurrence");
    layout->addWidget(pcLigandDetail, 2);
    return page;
}

QWidget* TfrmTTLServices::CreateAtomPage() {
    auto* page = Named(new QWidget, "tsTTA");
    auto* layout = new QVBoxLayout(page);
    auto* options = Named(new QGroupBox("Search Options"), "gbTTASearchOptions");
    auto* optionsLayout = new QGridLayout(options);
    auto* form = new QFormLayout;
    auto* elementRow = new QHBoxLayout;
    edChemEl = Edit("edChemEl");
    btnElement = Named(new QPushButton("Element"), "btnElement");
    QObject::connect(btnElement, &QPushButton::clicked, this,
                     [this] { RunCommand([this] { btnElementClick(); }); });
    // Leaving the element field turns its symbols into the atomic numbers of edAtNum.
    edChemEl->installEventFilter(new FocusLossFilter(edChemEl, [this] { edChemElExit(); }));
    elementRow->addWidget(edChemEl, 1);
    elementRow->addWidget(btnElement);
    form->addRow("Chemical Element", elementRow);
    edAtNum = Edit("edAtNum");
    edAtNum->hide();
    edOxSt = Edit("edOxSt");
    form->addRow("Oxidation State", edOxSt);
    edCoordNum = Edit("edCoordNum");
    form->addRow("Coordination Number", edCoordNum);
    cmbCoordFig = Combo("cmbCoordFig");
    form->addRow("Coordination Figure", cmbCoordFig);
    edTTARsds = Edit("edTTARsds");
    form->addRow("Rsd", edTTARsds);
    edTTADiversity = Edit("edTTADiversity");
    form->addRow("Diversity", edTTADiversity);
    cbTTAUseRCL = Check("cbTTAUseRCL", "Use RefCode List");
    form->addRow(cbTTAUseRCL);
    optionsLayout->addLayout(form, 0, 0);
    auto* composition = Named(new QGroupBox("CP Composition"), "gbCPComposition");
    auto* compositionLayout = new QFormLayout(composition);
    edCPClass = Edit("edCPClass");
    cbCPClass = Check("cbCPClass", "use like");
    compositionLayout->addRow("CP(class)", WithUseLike(edCPClass, cbCPClass));
    edCPvdp = Edit("edCPvdp");
    cbCPvdp = Check("cbCPvdp", "use like");
    compositionLayout->addRow("CP(vdp)", WithUseLike(edCPvdp, cbCPvdp));
    optionsLayout->addWidget(composition, 1, 0);
    optionsLayout->addWidget(edAtNum, 2, 0);
    layout->addWidget(options);
    sgAtoms = Grid("sgAtoms");
    layout->addWidget(sgAtoms, 2);
    layout->addLayout(ButtonRow({actTTASearch, actAtRead, actAddTTAQuery}));
    sgAtOccurrence = Grid("sgAtOccurrence");
    layout->addWidget(sgAtOccurrence, 2);
    return page;
}

QWidget* TfrmTTLServices::CreateTopologyPage() {
    auto* page = Named(new QWidget, "tsTTD");
    auto* layout = new QVBoxLayout(page);
    auto* libraryRow = new QHBoxLayout;
    libraryRow->addWidget(new QLabel("Library"));
    cbTTDLibrary = Combo("cbTTDLibrary");
    libraryRow->addWidget(cbTTDLibrary, 1);
    ConnectUserChange(cbTTDLibrary, [this] { cmbTTLLibraryChange(); });
    layout->addLayout(libraryRow);
    auto* options = Named(new QGroupBox("Search Options"), "gbTTDSearchOptions");
    auto* optionsLayout = new QGridLayout(options);
    auto* form = new QFormLayout;
    edTTDName = Edit("edTTDName");
    cbTTDNameUseLike = Check("cbTTDNameUseLike", "use like");
    form->addRow("Name", WithUseLike(edTTDName, cbTTDNameUseLike));
    edTTDTS = Edit("edTTDTS");
    cbTTDTSUseLike = Check("cbTTDTSUseLike", "use like");
    form->addRow("TS", WithUseLike(edTTDTS, cbTTDTSUseLike));
    edTTDNumNode = Edit("edTTDNumNode");
    form->addRow("Node Count", edTTDNumNode);
    edTTODimension = Edit("edTTODimension");
    form->addRow("Dimension", edTTODimension);
    edTTOZ = Edit("edTTOZ");
    form->addRow("Z", edTTOZ);
    cmbRepresentation = Combo("cmbRepresentation");
    form->addRow("RT", cmbRepresentation);
    edTTDDiversity = Edit("edTTDDiversity");
    form->addRow("Diversity", edTTDDiversity);
    cbTTDUseRCL = Check("cbTTDUseRCL", "Use RefCode List");
    form->addRow(cbTTDUseRCL);
    optionsLayout->addLayout(form, 0, 0);
    auto* codeGroup = Named(new QGroupBox("TTDCode"), "gbTTDCode");
    auto* codeLayout = new QVBoxLayout(codeGroup);
    mSearchTTDCode = Memo("mSearchTTDCode");
    codeLayout->addWidget(mSearchTTDCode);
    optionsLayout->addWidget(codeGroup, 0, 1);
    layout->addWidget(options);
    sgTTD = Grid("sgTTD");
    layout->addWidget(sgTTD, 2);
    layout->addLayout(ButtonRow({actTTDSearch, actTTDRead, actAddTTDQuery}));
    sgTTDOccurrence = Grid("sgTTDOccurrence");
    layout->addWidget(sgTTDOccurrence, 2);
    return page;
}

QWidget* TfrmTTLServices::CreateCrystalPage() {
    auto* page = Named(new QWidget, "tsTTC");
    auto* layout = new QVBoxLayout(page);
    auto* options = Named(new QGroupBox("Search Options"), "gbTTCSearchOptions");
    auto* form = new QFormLayout(options);
    edFStructural = Edit("edFStructural");
    cbFStructural = Check("cbFStructural", "use like");
    form->addRow("Structural Formula", WithUseLike(edFStructural, cbFStructural));
    edFTotal = Edit("edFTotal");
    cbFTotal = Check("cbFTotal", "use like");
    form->addRow("Total Formula", WithUseLike(edFTotal, cbFTotal));
    edChemName = Edit("edChemName");
    cbChemName = Check("cbChemName", "use like");
    form->addRow("Chemical Name", WithUseLike(edChemName, cbChemName));
    edRefCode = Edit("edRefCode");
    cbRefCode = Check("cbRefCode", "use like");
    form->addRow("RefCode", WithUseLike(edRefCode, cbRefCode));
    cmbDataBase = Combo("cmbDataBase");
    form->addRow("DataBase", cmbDataBase);
    auto* boxes = new QHBoxLayout;
    cbTTCUseRCL = Check("cbTTCUseRCL", "Use RefCode List");
    cbReliableData = Check("cbReliableData", "Reliable Data");
    boxes->addWidget(cbTTCUseRCL);
    boxes->addWidget(cbReliableData);
    boxes->addStretch(1);
    form->addRow(boxes);
    layout->addWidget(options);
    sgTTC = Grid("sgTTC");
    layout->addWidget(sgTTC, 2);
    layout->addLayout(ButtonRow({actTTCSearch, actTTCRead, actAddTTCQuery}));
    sgTTCOccurrence = Grid("sgTTCOccurrence");
    sgTTCOccurrence->SetEditable(true);
    layout->addWidget(sgTTCOccurrence, 2);
    return page;
}

void TfrmTTLServices::ResetGridHeaders() {
    ApplyGridLayout(*sgLigands,
                    {{"TTLCode", "CountAt", "TTLName", "ID", "Occur."}, {{2, 170}, {3, -1}}});
    ApplyGridLayout(*sgLigAtoms, {{"N", "SpecAt", "NumAt", "CN", "x", "y", "z"}, {}});
    ApplyGridLayout(*sgLigBonds, {{"N", "Atoms"}, {}});
    ApplyGridLayout(*sgLigOccurrence,
                    {{"N", "RefCode", "CoordType", "LigVol", "LigArea"}, {{2, 100}}});
    ApplyGridLayout(*sgAtoms, {{"Atom", "Occurr.", "Rsd", "Vvdp", "G3vdp", "VarMe", "AtNum"},
                               {{1, 50}, {2, 80}, {3, 80}, {4, 90}, {5, 90}, {6, 50}}});
    ApplyGridLayout(*sgAtOccurrence, {{"N", "RefCode", "Atom", "OxSt", "CN", "Rsd", "Vvdp", "Svdp",
                                       "G3vdp", "PolyID", "CPclass", "CPfull"},
                                      {{1, 100}}});
    ApplyGridLayout(*sgTTD,
                    {{"TTDCode", "NumNode", "TTDName", "ID", "Occur."}, {{2, 200}, {3, -1}}});
    ApplyGridLayout(*sgTTDOccurrence,
                    {{"N", "RefCode", "Z", "fwc", "Representation", "msrc"}, {{1, 70}, {4, 300}}});
    ApplyGridLayout(*sgTTC, {{"N", "DataBase", "Occur.", "db_id"}, {{1, 300}, {3, -1}}});
    ApplyGridLayout(*sgTTCOccurrence,
                    {{"N", "RefCode", "Struct.Formula", "Total Formula", "Chem.Name"},
                     {{2, 200}, {3, 200}, {4, 1000}}});
}

} // namespace ormaline
