// Ormaline: the program's entry. Creates the main window (which opens the database
// connection), then runs the event loop. When the data source cannot be opened the
// program shows the error's message and stops.
#include "app/TTLUnit.h"

#include "platform/UserDialogs.h"
#include "viewer/Element.h"
#include "viewer/interact/MagicWandUnit.h"

#include <QApplication>
#include <QSurfaceFormat>

#include <memory>

int main(int argc, char* argv[]) {
    // Floating-point exceptions stay masked (the default here): a division by zero
    // in geometry gives an infinity or NaN and never raises.
    // The viewer draws with fixed-function OpenGL: ask for a compatibility profile
    // with a depth buffer before the application exists.
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication application(argc, argv);
    QApplication::setApplicationName("Ormaline");
    QApplication::setApplicationDisplayName("Ormaline");

    std::unique_ptr<ormaline::TfrmTTLServices> mainWindow;
    try {
        mainWindow = std::make_unique<ormaline::TfrmTTLServices>();
    } catch (const std::exception& error) {
        ormaline::Dialogs().Error(error.what());
        return 1;
    }
    // The element table dialog lives for the whole process.
    ormaline::CreateElementDialog();
    ormaline::CreateMagicWandForm();
    mainWindow->show();
    return QApplication::exec();
}
