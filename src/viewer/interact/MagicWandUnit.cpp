#include "viewer/interact/MagicWandUnit.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <memory>

namespace ormaline {
namespace {

std::unique_ptr<TMagicWandForm>& MagicWandSlot() {
    static std::unique_ptr<TMagicWandForm> slot;
    return slot;
}

} // namespace

TMagicWandForm& MagicWandForm() {
    if (!MagicWandSlot())
        CreateMagicWandForm();
    return *MagicWandSlot();
}

void CreateMagicWandForm() {
    if (MagicWandSlot())
        return;
    MagicWandSlot() = std::make_unique<TMagicWandForm>();
    // As the element table: freed when the event loop ends, let go with the process
    // when no event loop ran.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     [] { MagicWandSlot().reset(); });
    qAddPostRoutine([] { (void)MagicWandSlot().release(); });
}

TMagicWandForm::TMagicWandForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Magic Wand");
    setObjectName("TMagicWandForm");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    CommandComboBox = new QComboBox(this);
    CommandComboBox->setObjectName("CommandComboBox");
    CommandComboBox->addItems({"Change Color/Fill", "Select", "Unselect", "Delete", "Restore"});
    form->addRow("Command:", CommandComboBox);
    ImageComboBox = new QComboBox(this);
    ImageComboBox->setObjectName("ImageComboBox");
    ImageComboBox->addItems({"Solid", "Clear", "Horizontal", "Vertical", "FDiagonal", "BDiagonal",
                             "Cross", "DiagCross"});
    form->addRow("Fill Style:", ImageComboBox);
    layout->addLayout(form);
    DoforGroup = new QGroupBox("Do for", this);
    DoforGroup->setObjectName("DoforGroup");
    auto* grid = new QGridLayout(DoforGroup);
    dofor_ = new QButtonGroup(this);
    const char* items[6] = {"Atom",       "Cryst.Sort", "Chem.Sort",
                            "One-Colour", "Selected",   "All Atoms"};
    for (int i = 0; i < 6; ++i) {
        auto* button = new QRadioButton(items[i], DoforGroup);
        dofor_->addButton(button, i);
        // Two columns, filled column by column.
        grid->addWidget(button, i % 3, i / 3);
    }
    layout->addWidget(DoforGroup);
    auto* colourRow = new QHBoxLayout;
    ColorPanel = new QFrame(this);
    ColorPanel->setObjectName("ColorPanel");
    ColorPanel->setFrameShape(QFrame::Box);
    ColorPanel->setMinimumSize(40, 20);
    colourRow->addWidget(ColorPanel);
    // "Change Color" (ChangeColorAction) has no behaviour: the wand's colour change
    // always assigns one colour value.
    auto* changeColorAction = new QAction("Change Color", this);
    changeColorAction->setObjectName("ChangeColorAction");
    ChangeColorButton = new QPushButton("Change Color", this);
    connect(ChangeColorButton, &QPushButton::clicked, changeColorAction, &QAction::trigger);
    colourRow->addWidget(ChangeColorButton);
    layout->addLayout(colourRow);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("Ok", QDialogButtonBox::AcceptRole);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    SetDoforIndex(0);
}

int TMagicWandForm::DoforIndex() const {
    return dofor_->checkedId() < 0 ? 0 : dofor_->checkedId();
}

void TMagicWandForm::SetDoforIndex(int index) {
    if (QAbstractButton* button = dofor_->button(index < 0 || index > 5 ? 0 : index))
        button->setChecked(true);
}

} // namespace ormaline
