// The rotate dialog "Rotate": an angle in degrees and the screen axis to turn about.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace ormaline {

class TRotateForm : public QDialog {
    Q_OBJECT
public:
    explicit TRotateForm(QWidget* parent = nullptr);

    // Checks the edit: a number is stored as the angle; anything else shows
    // "Error rotate angle:  <text>." and resets the edit to "0". True when it was a number.
    bool CheckAngle();
    float Angle() const { return angle_; }
    // 0 "X", 1 "Y", 2 "Z".
    int AxisItem() const;
    void SetAxisItem(int item);

    QLineEdit* edAngle = nullptr;
    QRadioButton* rbX = nullptr;
    QRadioButton* rbY = nullptr;
    QRadioButton* rbZ = nullptr;

    void done(int result) override;

private:
    float angle_ = 0.0f;
};

} // namespace ormaline
