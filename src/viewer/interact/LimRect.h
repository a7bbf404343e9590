// The region limits dialog "LimRect" of the rectangle cut: fractional lower and upper
// limits along a, b and c, each edit showing its limit with one decimal.
#pragma once

#include "viewer/interact/core/SelectionTools.h"

#include <QDialog>

#include <array>
#include <string>

class QLineEdit;

namespace ormaline {

class TFLimRect : public QDialog {
    Q_OBJECT
public:
    explicit TFLimRect(QWidget* parent = nullptr);

    // The edits show these limits.
    void SetLimits(const TRegionLimits& limits);
    // The edits' texts in the order of the limits.
    std::array<std::string, 6> Texts() const;

    QLineEdit* XMinEdit = nullptr;
    QLineEdit* XMaxEdit = nullptr;
    QLineEdit* YMinEdit = nullptr;
    QLineEdit* YMaxEdit = nullptr;
    QLineEdit* ZMinEdit = nullptr;
    QLineEdit* ZMaxEdit = nullptr;

private:
    std::array<QLineEdit*, 6> Edits() const;
};

} // namespace ormaline
