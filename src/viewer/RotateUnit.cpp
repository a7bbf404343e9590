#include "viewer/RotateUnit.h"

#include "model/TextUtil.h"
#include "platform/UserDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace ormaline {

TRotateForm::TRotateForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Rotate");
    setObjectName("TRotateForm");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    edAngle = new QLineEdit("0", this);
    edAngle->setObjectName("edAngle");
    form->addRow("Angle:", edAngle);
    layout->addLayout(form);
    auto* axis = new QGroupBox("Axis", this);
    auto* axisLayout = new QVBoxLayout(axis);
    rbX = new QRadioButton("X", axis);
    rbY = new QRadioButton("Y", axis);
    rbZ = new QRadioButton("Z", axis);
    for (QRadioButton* button : {rbX, rbY, rbZ})
        axisLayout->addWidget(button);
    rbX->setChecked(true);
    layout->addWidget(axis);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("Ok", QDialogButtonBox::AcceptRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(edAngle, &QLineEdit::editingFinished, this, [this] { CheckAngle(); });
}

bool TRotateForm::CheckAngle() {
    const std::string text = edAngle->text().toStdString();
    const std::optional<double> value = ParseNumber(text);
    if (!value || !std::isfinite(static_cast<float>(*value))) {
        Dialogs().Error("Error rotate angle:  " + text + ".");
        edAngle->setText("0");
        angle_ = 0.0f;
        return false;
    }
    angle_ = static_cast<float>(*value);
    return true;
}

int TRotateForm::AxisItem() const {
    if (rbY->isChecked())
        return 1;
    if (rbZ->isChecked())
        return 2;
    return 0;
}

void TRotateForm::SetAxisItem(int item) {
    (item == 1 ? rbY : item == 2 ? rbZ : rbX)->setChecked(true);
}

void TRotateForm::done(int result) {
    // The text is checked again when the dialog closes; a bad text was reset to "0".
    CheckAngle();
    QDialog::done(result);
}

} // namespace ormaline
