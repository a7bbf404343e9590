#include "viewer/LVOpt.h"

#include "model/NumberFormat.h"
#include "model/OurData.h"
#include "platform/UserDialogs.h"
#include "viewer/Element.h"
#include "viewer/core/ElementTables.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ormaline {
namespace {

const QStringList kBondKindNames{"Valence (Val)",    "Specific (Sp)",      "Cell Edge (CE)",
                                 "CP&VDP Edge (PE)", "Van der Waals(vdW)", "Hydrogen bonds"};

QFrame* ColourPanel(QWidget* parent, TColor colour) {
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::Box);
    panel->setFixedSize(40, 20);
    const TColorFloats f = ColorToFloats(colour);
    panel->setStyleSheet(QString("background-color: rgb(%1,%2,%3)")
                             .arg(static_cast<int>(f.r * 255))
                             .arg(static_cast<int>(f.g * 255))
                             .arg(static_cast<int>(f.b * 255)));
    return panel;
}

} // namespace

TLatvistaOptForm::TLatvistaOptForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Latvista Options");
    setObjectName("TLatvistaOptForm");
    DefaultLatvistaOpt(lLVO);
    auto* layout = new QVBoxLayout(this);
    pcOptions = new QTabWidget(this);
    pcOptions->addTab(BuildCrystalPage(), "Crystal");
    pcOptions->addTab(BuildAtomsPage(), "Atoms");
    pcOptions->addTab(BuildBondsPage(), "Bonds");
    pcOptions->addTab(BuildLegendPage(), "Legend");
    pcOptions->addTab(BuildCommonPage(), "Common");
    pcOptions->addTab(BuildPolyhedraPage(), "Polyhedra");
    pcOptions->addTab(BuildTopologyPage(), "Topology");
    layout->addWidget(pcOptions);
    auto* buttons = new QHBoxLayout;
    btnDefault = new QPushButton("Default", this);
    btnDefault->setAutoDefault(false);
    connect(btnDefault, &QPushButton::clicked, this, [this] { DefaultClick(); });
    buttons->addWidget(btnDefault);
    buttons->addStretch(1);
    btnOk = new QPushButton("Ok", this);
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
}

QLineEdit* TLatvistaOptForm::NumericEdit(const char* objectName, std::string name, double minimum,
                                         double maximum, int decimals,
                                         std::function<float&(TLatvistaOptForm&)> field) {
    return AddEdit(objectName, {nullptr, std::move(name), minimum, maximum, decimals,
                                [field](const TLatvistaOptForm& f) {
                                    return field(const_cast<TLatvistaOptForm&>(f));
                                },
                                [field](TLatvistaOptForm& f, float value) { field(f) = value; }});
}

QLineEdit* TLatvistaOptForm::IntegerEdit(const char* objectName, std::string name, double minimum,
                                         double maximum,
                                         std::function<std::int32_t&(TLatvistaOptForm&)> field) {
    return AddEdit(
        objectName,
        {nullptr, std::move(name), minimum, maximum, 0,
         [field](const TLatvistaOptForm& f) {
             return static_cast<float>(field(const_cast<TLatvistaOptForm&>(f)));
         },
         [field](TLatvistaOptForm& f, float value) { field(f) = static_cast<std::int32_t>(value); },
         true});
}

QLineEdit* TLatvistaOptForm::AddEdit(const char* objectName, TNumericEdit numeric) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    numeric.edit = edit;
    edits_.push_back(std::move(numeric));
    const std::size_t index = edits_.size() - 1;
    connect(edit, &QLineEdit::editingFinished, this, [this, index] {
        if (!loading_)
            CheckEdit(edits_[index]);
    });
    loaders_.push_back([this, index] { ShowEdit(edits_[index]); });
    return edit;
}

void TLatvistaOptForm::ShowEdit(const TNumericEdit& edit) {
    const float value = edit.get(*this);
    edit.edit->setText(QString::fromStdString(edit.decimals >= 0 ? FormatFixed(value, edit.decimals)
                                                                 : FormatGeneral(value, 6)));
}

bool TLatvistaOptForm::CheckEdit(TNumericEdit& edit) {
    const TNumericEditCheck check = CheckNumericEdit(edit.name, edit.edit->text().toStdString(),
                                                     edit.minimum, edit.maximum, edit.integer);
    if (!check.ok) {
        err = true;
        Dialogs().Error(check.message);
        ShowEdit(edit);
        edit.edit->setFocus();
        return false;
    }
    edit.set(*this, check.value);
    return true;
}

bool TLatvistaOptForm::CheckInPlane() {
    const std::string text = edInPlane->text().toStdString();
    const std::optional<TPlaneBounds> parsed = ParseInPlane(text);
    if (!parsed) {
        err = true;
        Dialogs().Error("Error in InPlane: " + text + ".");
        edInPlane->setText(
            QString::fromStdString(FormatInPlane({KRELMOpt.MinBPlane, KRELMOpt.MaxBPlane})));
        edInPlane->setFocus();
        return false;
    }
    KRELMOpt.MinBPlane = parsed->MinBPlane;
    KRELMOpt.MaxBPlane = parsed->MaxBPlane;
    return true;
}

QCheckBox* TLatvistaOptForm::Check(const QString& caption,
                                   std::function<bool&(TLatvistaOptForm&)> field) {
    auto* box = new QCheckBox(caption, this);
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
        if (!loading_)
            field(*this) = on;
    });
    loaders_.push_back([this, box, field] { box->setChecked(field(*this)); });
    return box;
}

QWidget* TLatvistaOptForm::Radio(const QString& title, const QStringList& items,
                                 std::function<int(const TLatvistaOptForm&)> get,
                                 std::function<void(TLatvistaOptForm&, int)> set) {
    auto* group = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(group);
    for (int item = 0; item < items.size(); ++item) {
        auto* button = new QRadioButton(items[item], group);
        buttons->addButton(button, item);
        layout->addWidget(button);
    }
    connect(buttons, &QButtonGroup::idClicked, this, [this, set](int item) {
        if (!loading_)
            set(*this, item);
    });
    loaders_.push_back([this, buttons, get] {
        if (QAbstractButton* button = buttons->button(get(*this)))
            button->setChecked(true);
    });
    return group;
}

QSpinBox* TLatvistaOptForm::Spin(const QString& caption, int minimum, int maximum,
                                 std::function<int(const TLatvistaOptForm&)> get,
                                 std::function<void(TLatvistaOptForm&, int)> set, QWidget*& row) {
    auto* spin = new QSpinBox(this);
    spin->setRange(minimum, maximum);
    connect(spin, &QSpinBox::valueChanged, this, [this, set](int value) {
        if (!loading_)
            set(*this, value);
    });
    loaders_.push_back([this, spin, get] { spin->setValue(get(*this)); });
    auto* container = new QWidget(this);
    auto* layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(caption, container));
    layout->addWidget(spin);
    row = container;
    return spin;
}

QListWidget* TLatvistaOptForm::CheckList(const QStringList& items,
                                         std::function<int(const TLatvistaOptForm&)> get,
                                         std::function<void(TLatvistaOptForm&, int)> set) {
    auto* list = new QListWidget(this);
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(list, &QListWidget::itemChanged, this, [this, list, set] {
        if (loading_)
            return;
        int bits = 0;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                bits |= 1 << i;
        set(*this, bits);
    });
    loaders_.push_back([this, list, get] {
        const int bits = get(*this);
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState((bits & (1 << i)) != 0 ? Qt::Checked : Qt::Unchecked);
    });
    return list;
}

QWidget* TLatvistaOptForm::BuildCrystalPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(Radio(
                        "Model", {"Wire", "Cylinder", "SphWire", "SphCylinder"},
                        [](const auto& f) { return f.lLVO.NumModel; },
                        [](auto& f, int item) { f.lLVO.NumModel = item; }),
                    0, 0);
    grid->addWidget(
        Radio(
            "Plane", {"YOZ", "XOZ", "XOY"}, [](const auto& f) { return f.lLVO.L3 - 1; },
            [](auto& f, int item) {
                static const std::uint8_t orders[3][3] = {{2, 3, 1}, {3, 1, 2}, {1, 2, 3}};
                f.lLVO.L1 = orders[item][0];
                f.lLVO.L2 = orders[item][1];
                f.lLVO.L3 = orders[item][2];
            }),
        0, 1);
    grid->addWidget(
        Radio(
            "Axis", {"X", "Y", "Z"}, [](const auto& f) { return f.lLVO.LinAxis - 1; },
            [](auto& f, int item) { f.lLVO.LinAxis = static_cast<std::uint8_t>(item + 1); }),
        0, 2);
    grid->addWidget(Radio(
                        "Adjacency Matrix", {"Calculate", "Disk Input", "None"},
                        [](const auto& f) { return f.lLVO.AdjMatrix; },
                        [](auto& f, int item) { f.lLVO.AdjMatrix = item; }),
                    1, 0);
    grid->addWidget(
        Radio(
            "Mode", {"OpenGL", "API"}, [](const auto& f) { return f.lLVO.ModelCryst; },
            [](auto& f, int item) { f.lLVO.ModelCryst = static_cast<std::uint8_t>(item); }),
        1, 1);
    auto* checks = new QVBoxLayout;
    checks->addWidget(Check("Perspective", [](auto& f) -> bool& { return f.lLVO.Perspect; }));
    checks->addWidget(Check("Black&&White", [](auto& f) -> bool& { return f.lLVO.Black_White; }));
    checks->addWidget(Check("Sublattice", [](auto& f) -> bool& { return f.lLVO.Sublattice; }));
    checks->addWidget(Check("abc", [](auto& f) -> bool& { return f.lLVO.ABC_Cell; }));
    checks->addWidget(Check("Fog", [](auto& f) -> bool& { return f.lLVO.Fog; }));
    checks->addWidget(Check("Data In File", [](auto& f) -> bool& { return f.lLVO.DataToFile; }));
    checks->addWidget(
        Check("Show Vertices&&Edges", [](auto& f) -> bool& { return f.lLVO.ShowVertex; }));
    cbCell = new QCheckBox("Cell", this);
    connect(cbCell, &QCheckBox::toggled, this, [this](bool on) {
        if (loading_)
            return;
        if (on)
            lLVO.NumSeeBond |= 4;
        else
            lLVO.NumSeeBond &= static_cast<std::uint16_t>(~4u);
        if (clbSeeBond != nullptr) {
            loading_ = true;
            clbSeeBond->item(2)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            loading_ = false;
        }
    });
    loaders_.push_back([this] { cbCell->setChecked((lLVO.NumSeeBond & 4) != 0); });
    checks->addWidget(cbCell);
    grid->addLayout(checks, 1, 2);
    auto* form = new QFormLayout;
    edRotationStep = NumericEdit("edRotationStep", "rotation step", 0, 180, -1,
                                 [](auto& f) -> float& { return f.lLVO.RotorStep; });
    form->addRow("Rotation Step:", edRotationStep);
    edAdjTol = NumericEdit("edAdjTol", "adjacency tolerance number", 0, MaxSingle, -1,
                           [](auto& f) -> float& { return f.lLVO.AdjTol; });
    form->addRow("Adj.Tol.:", edAdjTol);
    QWidget* row = nullptr;
    seZeroPos = Spin(
        "Viewing Distance:", 5, 15, [](const auto& f) { return f.lLVO.ZeroPos; },
        [](auto& f, int value) { f.lLVO.ZeroPos = value; }, row);
    form->addRow(row);
    auto* translations = new QGroupBox("Translations", this);
    auto* tLayout = new QHBoxLayout(translations);
    static const char* axes[3] = {"A:", "B:", "C:"};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        seTMax[axis] = Spin(
            axes[axis], 0, 9, [axis](const auto& f) { return f.lLVO.TMax[axis]; },
            [axis](auto& f, int value) { f.lLVO.TMax[axis] = static_cast<std::uint8_t>(value); },
            row);
        tLayout->addWidget(row);
    }
    form->addRow(translations);
    grid->addLayout(form, 2, 0, 1, 3);
    return page;
}

QWidget* TLatvistaOptForm::BuildAtomsPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(Radio(
                        "Colors", {"Unique", "Group PS"},
                        [](const auto& f) { return f.lLVO.GrColor ? 1 : 0; },
                        [](auto& f, int item) { f.lLVO.GrColor = item == 1; }),
                    0, 0);
    grid->addWidget(Radio(
                        "Labels",
                        {"None", "Name", "Index", "Name&&Index", "Name&&DegOx", "CP Composition",
                         "Ordering Position"},
                        [](const auto& f) { return f.lLVO.AtomLabels; },
                        [](auto& f, int item) { f.lLVO.AtomLabels = item; }),
                    0, 1, 3, 1);
    grid->addWidget(Radio(
                        "Radii System", {"Slater", "Sph.Domain"},
                        [](const auto& f) { return f.lLVO.RadSyst; },
                        [](auto& f, int item) {
                            f.lLVO.RadSyst = static_cast<std::uint8_t>(item);
                            f.lLVO.RadAt = ElementRadiiTable(item);
                            f.ReadNewRad = true;
                        }),
                    1, 0);
    grid->addWidget(Radio(
                        "Tint Data", {"Atoms", "Sorts"},
                        [](const auto& f) { return f.lLVO.TintData; },
                        [](auto& f, int item) { f.lLVO.TintData = item; }),
                    2, 0);
    auto* column = new QVBoxLayout;
    btnRadii = new QPushButton("Radii", this);
    btnRadii->setAutoDefault(false);
    connect(btnRadii, &QPushButton::clicked, this, [this] { RadiiClick(); });
    column->addWidget(btnRadii);
    QWidget* row = nullptr;
    Spin(
        "Part of Radius:", 1, 9, [](const auto& f) { return f.lLVO.PartRad; },
        [](auto& f, int value) { f.lLVO.PartRad = static_cast<std::uint8_t>(value); }, row);
    column->addWidget(row);
    column->addWidget(Check("Brackets", [](auto& f) -> bool& { return f.lLVO.IBracket; }));
    column->addWidget(Check("Framed labels", [](auto& f) -> bool& { return f.lLVO.ATransparent; }));
    column->addWidget(Check("Current Atom", [](auto& f) -> bool& { return f.lLVO.CurrentAtom; }));
    column->addStretch(1);
    grid->addLayout(column, 0, 2, 3, 1);
    return page;
}

QWidget* TLatvistaOptForm::BuildBondsPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(Check("Colored Bonds", [](auto& f) -> bool& { return f.lLVO.ColBonds; }), 0, 0);
    grid->addWidget(ColourPanel(page, lLVO.CylinderCol), 0, 1);
    auto* form = new QFormLayout;
    edCylinderThickness = NumericEdit("edCylinderThickness", "bond tick", 0, MaxSingle, 2,
                                      [](auto& f) -> float& { return f.lLVO.dBond; });
    form->addRow("Cylinder Thickness:", edCylinderThickness);
    grid->addLayout(form, 1, 0, 1, 2);
    grid->addWidget(Radio(
                        "Labels", {"None", "Type", "Distance"},
                        [](const auto& f) { return f.lLVO.BondLabels; },
                        [](auto& f, int item) { f.lLVO.BondLabels = item; }),
                    2, 0);
    clbDefBond = CheckList(
        kBondKindNames, [](const auto& f) { return f.lLVO.NumDefBond; },
        [](auto& f, int bits) { f.lLVO.NumDefBond = static_cast<std::uint16_t>(bits); });
    clbDefBond->setObjectName("clbDefBond");
    grid->addWidget(clbDefBond, 3, 0);
    clbSeeBond = CheckList(
        {"", "", "", "", "", ""}, [](const auto& f) { return f.lLVO.NumSeeBond; },
        [](auto& f, int bits) {
            f.lLVO.NumSeeBond = static_cast<std::uint16_t>(bits);
            f.loading_ = true;
            f.cbCell->setChecked((bits & 4) != 0);
            f.loading_ = false;
        });
    clbSeeBond->setObjectName("clbSeeBond");
    clbSeeBond->setMaximumWidth(40);
    grid->addWidget(clbSeeBond, 3, 1);
    lbThick = new QListWidget(this);
    lbThick->setObjectName("lbThick");
    lbThick->setMaximumWidth(40);
    lbThick->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int i = 0; i < 6; ++i)
        lbThick->addItem("0");
    const auto step = [this](QListWidgetItem* item, bool up) {
        if (item == nullptr)
            return;
        const int row = lbThick->row(item);
        const int digit = StepThickDigit(static_cast<std::uint8_t>(item->text().toInt()), up);
        item->setText(QString::number(digit));
        lLVO.ArrTickBonds[static_cast<std::size_t>(row)] = static_cast<std::uint8_t>(digit);
    };
    connect(lbThick, &QListWidget::itemDoubleClicked, this,
            [step](QListWidgetItem* item) { step(item, true); });
    connect(lbThick, &QListWidget::customContextMenuRequested, this,
            [this, step](const QPoint& at) { step(lbThick->itemAt(at), false); });
    loaders_.push_back([this] {
        for (std::size_t i = 0; i < 6; ++i) {
            if (lLVO.ArrTickBonds[i] > 9)
                lLVO.ArrTickBonds[i] = 0;
            lbThick->item(static_cast<int>(i))->setText(QString::number(lLVO.ArrTickBonds[i]));
        }
    });
    grid->addWidget(new QLabel("Thick", page), 2, 2);
    grid->addWidget(lbThick, 3, 2);
    return page;
}

QWidget* TLatvistaOptForm::BuildLegendPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(Check("Show Legend", [](auto& f) -> bool& { return f.lLVO.Legend; }), 0, 0);
    grid->addWidget(Check("Equal Sizes", [](auto& f) -> bool& { return f.lLVO.EqualRadii; }), 1, 0);
    grid->addWidget(Check("Frame", [](auto& f) -> bool& { return f.lLVO.LegFrame; }), 2, 0);
    grid->addWidget(Radio(
                        "Colors", {"None", "Name", "Name&&Index", "Name&&DegOx", "Tint"},
                        [](const auto& f) { return f.lLVO.LegMode; },
                        [](auto& f, int item) { f.lLVO.LegMode = item; }),
                    0, 1, 4, 1);
    QWidget* row = nullptr;
    Spin(
        "Thick Line Circle:", 0, 7, [](const auto& f) { return f.lLVO.TickLineCircle; },
        [](auto& f, int value) { f.lLVO.TickLineCircle = value; }, row);
    grid->addWidget(row, 3, 0);
    return page;
}

QWidget* TLatvistaOptForm::BuildCommonPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    form->addRow("Background:", ColourPanel(page, lLVO.WGBCol));
    form->addRow(Check("Undo", [](auto& f) -> bool& { return f.lLVO.KeepForUndo; }));
    form->addRow(Check("Select Atom in List", [](auto& f) -> bool& { return f.lLVO.SelInsAt; }));
    auto* light = new QHBoxLayout;
    QLineEdit** lightEdits[3] = {&edLightX, &edLightY, &edLightZ};
    static const char* names[3] = {"edLightX", "edLightY", "edLightZ"};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        *lightEdits[axis] =
            NumericEdit(names[axis], "a coordinate of light position", 0, 10, -1,
                        [axis](auto& f) -> float& { return f.lLVO.Light_Position[axis]; });
        light->addWidget(*lightEdits[axis]);
    }
    form->addRow("Light Source:", light);
    sbLuminosity = new QScrollBar(Qt::Horizontal, page);
    sbLuminosity->setRange(0, 100);
    connect(sbLuminosity, &QScrollBar::valueChanged, this, [this](int value) {
        if (!loading_)
            lLVO.Luminosity = static_cast<float>(value) / 100.0f;
    });
    loaders_.push_back([this] {
        sbLuminosity->setValue(static_cast<int>(RoundHalfEven(lLVO.Luminosity * 100.0)));
    });
    form->addRow("Luminosity:", sbLuminosity);
    edShiftStep = NumericEdit("edShiftStep", "shift step", 0, MaxSingle, -1,
                              [](auto& f) -> float& { return f.lLVO.ShiftStep; });
    form->addRow("Shift Step:", edShiftStep);
    edFastDrawAtoms = IntegerEdit("edFastDrawAtoms", "fast drawing atoms", 0, MaxFastDrawAtoms,
                                  [](auto& f) -> std::int32_t& { return f.lLVO.FastDrawAtoms; });
    edFastDrawAtoms->setToolTip("Large structures from this number of visible atoms are drawn "
                                "the fast way (0: never)");
    form->addRow("Fast Drawing From:", edFastDrawAtoms);
    return page;
}

QWidget* TLatvistaOptForm::BuildPolyhedraPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    form->addRow(Radio(
        "Faces", {"Clear", "Fill"}, [](const auto& f) { return f.lLVO.FaceStyle; },
        [](auto& f, int item) { f.lLVO.FaceStyle = static_cast<std::uint8_t>(item); }));
    form->addRow(Check("Translucent", [](auto& f) -> bool& { return f.lLVO.TranslucentFaces; }));
    form->addRow(
        Check("Polyhedron Sublattice", [](auto& f) -> bool& { return f.lLVO.PolySubLat; }));
    form->addRow(Check("Use Atomic Radii", [](auto& f) -> bool& { return f.lLVO.AtomRadii; }));
    QWidget* row = nullptr;
    Spin(
        "Opacity:", 0, 99,
        [](const auto& f) { return static_cast<int>(RoundHalfEven(f.lLVO.Opacity * 100.0)); },
        [](auto& f, int value) { f.lLVO.Opacity = static_cast<float>(value) / 100.0f; }, row);
    form->addRow(row);
    auto* number = new QGroupBox("Number", page);
    auto* numberLayout = new QHBoxLayout(number);
    Spin(
        "Trans.:", 0, 7, [](const auto& f) { return f.lLVO.nTr; },
        [](auto& f, int value) { f.lLVO.nTr = static_cast<std::uint8_t>(value); }, row);
    numberLayout->addWidget(row);
    Spin(
        "Atoms:", 128, 1280, [](const auto& f) { return f.lLVO.NAtoms; },
        [](auto& f, int value) { f.lLVO.NAtoms = value; }, row);
    numberLayout->addWidget(row);
    form->addRow(number);
    return page;
}

QWidget* TLatvistaOptForm::BuildTopologyPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    clbMolGraph = CheckList(
        {"Atom Name", "Plane Graph", "Extra Bonds", "All Subgraphs", "Shell Graph", "Atom Mult.",
         "Atom Sym."},
        [](const auto& f) { return f.lLVO.MolGraphOpt; },
        [](auto& f, int bits) { f.lLVO.MolGraphOpt = bits; });
    form->addRow(clbMolGraph);
    edInPlane = new QLineEdit(page);
    edInPlane->setObjectName("edInPlane");
    connect(edInPlane, &QLineEdit::editingFinished, this, [this] {
        if (!loading_)
            CheckInPlane();
    });
    loaders_.push_back([this] {
        edInPlane->setText(
            QString::fromStdString(FormatInPlane({KRELMOpt.MinBPlane, KRELMOpt.MaxBPlane})));
    });
    form->addRow("InPlane", edInPlane);
    edSigma = NumericEdit("edSigma", "number", 0, 0, -1,
                          [](auto&) -> float& { return KRELMOpt.SigmaForPlane; });
    form->addRow("Sigma", edSigma);
    return page;
}

void TLatvistaOptForm::ParamToLVO() {
    loading_ = true;
    for (const auto& load : loaders_)
        load();
    loading_ = false;
}

bool TLatvistaOptForm::FormCloseQuery() {
    err = false;
    bool ok = true;
    for (TNumericEdit& edit : edits_)
        ok = CheckEdit(edit) && ok;
    ok = CheckInPlane() && ok;
    return ok;
}

void TLatvistaOptForm::DefaultClick() {
    DefaultLatvistaOpt(lLVO);
    DefaultOpt = true;
    ParamToLVO();
}

void TLatvistaOptForm::RadiiClick() {
    TElementValues radii = lLVO.RadAt;
    if (ElementDialog().EditRadii(radii, ElementRadiiTable(lLVO.RadSyst))) {
        lLVO.RadAt = radii;
        ReadNewRad = true;
    }
}

void TLatvistaOptForm::done(int result) {
    if (result == QDialog::Accepted && !FormCloseQuery())
        return;
    QDialog::done(result);
}

QWidget* TLatvistaOptForm::Control(const QString& caption) const {
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (button->text() == caption)
            return button;
    for (QGroupBox* group : findChildren<QGroupBox*>())
        if (group->title() == caption)
            return group;
    return nullptr;
}

} // namespace ormaline
