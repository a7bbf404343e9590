#include "viewer/interact/SelectedAtomsForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ormaline {
namespace {

// The size a new form has before anything is put in it.
constexpr int kDefaultFormWidth = 400;
constexpr int kDefaultFormHeight = 300;

} // namespace

TSelectedAtomsForm::TSelectedAtomsForm(const std::string& report, QWidget* parent)
    : QDialog(parent) {
    setObjectName("SelectedAtomsForm");
    setWindowTitle("Selected Atoms");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName("Memo");
    Memo->setReadOnly(true);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString text = QString::fromStdString(report);
    text.replace("\r\n", "\n");
    Memo->setPlainText(text);
    OkButton = new QPushButton("Ok", this);
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* panel = new QHBoxLayout;
    panel->addStretch();
    panel->addWidget(OkButton);
    panel->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(Memo);
    layout->addLayout(panel);
    resize(kDefaultFormWidth * 3 / 2, kDefaultFormHeight * 2);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.center() - QPoint(width() / 2, height() / 2));
    }
}

} // namespace ormaline
