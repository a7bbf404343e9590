// The viewer options dialog "Latvista Options": seven pages that edit a copy of a
// window's options (lLVO) and three settings of the structure model. Check boxes and
// radio groups write their field at once; numeric edits are checked when they are left
// and all again when the dialog closes with Ok.
#pragma once

#include "viewer/core/LatvistaOpt.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;

namespace ormaline {

class TLatvistaOptForm : public QDialog {
    Q_OBJECT
public:
    explicit TLatvistaOptForm(QWidget* parent = nullptr);

    // Record -> controls.
    void ParamToLVO();
    // Checks every edit; false (dialog stays open) when one fails.
    bool FormCloseQuery();
    void DefaultClick();
    void RadiiClick();

    TLatvistaOpt lLVO{};
    bool ReadNewRad = false;
    bool DefaultOpt = false;
    bool err = false;

    QTabWidget* pcOptions = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnDefault = nullptr;
    QPushButton* btnRadii = nullptr;

    // Numeric edits by caption.
    QLineEdit* edCylinderThickness = nullptr;
    QLineEdit* edAdjTol = nullptr;
    QLineEdit* edLightX = nullptr;
    QLineEdit* edLightY = nullptr;
    QLineEdit* edLightZ = nullptr;
    QLineEdit* edShiftStep = nullptr;
    QLineEdit* edFastDrawAtoms = nullptr;
    QLineEdit* edRotationStep = nullptr;
    QLineEdit* edSigma = nullptr;
    QLineEdit* edInPlane = nullptr;
    QListWidget* lbThick = nullptr;
    QListWidget* clbDefBond = nullptr; // named list: NumDefBond
    QListWidget* clbSeeBond = nullptr; // unnamed list: NumSeeBond
    QListWidget* clbMolGraph = nullptr;
    QCheckBox* cbCell = nullptr;
    QSpinBox* seTMax[3] = {nullptr, nullptr, nullptr};
    QSpinBox* seZeroPos = nullptr;
    QScrollBar* sbLuminosity = nullptr;

    // A control by its caption (the first one with that text), for tests.
    QWidget* Control(const QString& caption) const;

    void done(int result) override;

private:
    struct TNumericEdit {
        QLineEdit* edit;
        std::string name;
        double minimum, maximum;
        int decimals; // -1: general format
        std::function<float(const TLatvistaOptForm&)> get;
        std::function<void(TLatvistaOptForm&, float)> set;
        bool integer = false; // a whole number, stored in an integer field
    };
    bool CheckEdit(TNumericEdit& edit);
    void ShowEdit(const TNumericEdit& edit);
    bool CheckInPlane();
    QWidget* BuildCrystalPage();
    QWidget* BuildAtomsPage();
    QWidget* BuildBondsPage();
    QWidget* BuildLegendPage();
    QWidget* BuildCommonPage();
    QWidget* BuildPolyhedraPage();
    QWidget* BuildTopologyPage();
    QLineEdit* NumericEdit(const char* objectName, std::string name, double minimum, double maximum,
                           int decimals, std::function<float&(TLatvistaOptForm&)> field);
    QLineEdit* IntegerEdit(const char* objectName, std::string name, double minimum, double maximum,
                           std::function<std::int32_t&(TLatvistaOptForm&)> field);
    QLineEdit* AddEdit(const char* objectName, TNumericEdit edit);
    QCheckBox* Check(const QString& caption, std::function<bool&(TLatvistaOptForm&)> field);
    QWidget* Radio(const QString& title, const QStringList& items,
                   std::function<int(const TLatvistaOptForm&)> get,
                   std::function<void(TLatvistaOptForm&, int)> set);
    QSpinBox* Spin(const QString& caption, int minimum, int maximum,
                   std::function<int(const TLatvistaOptForm&)> get,
                   std::function<void(TLatvistaOptForm&, int)> set, QWidget*& row);
    QListWidget* CheckList(const QStringList& items,
                           std::function<int(const TLatvistaOptForm&)> get,
                           std::function<void(TLatvistaOptForm&, int)> set);

    std::vector<TNumericEdit> edits_;
    std::vector<std::function<void()>> loaders_; // record -> one control each
    bool loading_ = false;
};

} // namespace ormaline
