// Entry of the GUI test programs: the real application on the xcb platform (run
// under xvfb-run), OpenGL with a compatibility profile and a depth buffer, and
// scripted dialogs installed so that no box ever blocks a test, and a recording URL
// opener so that no browser is started.
#include "platform/UrlOpener.h"
#include "platform/UserDialogs.h"

#include <QApplication>
#include <QSurfaceFormat>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Ormaline");
    ormaline::InstallDialogs(std::make_unique<ormaline::ScriptedUserDialogs>());
    // No test ever starts a browser: addresses are recorded instead.
    ormaline::InstallUrlOpener(std::make_unique<ormaline::RecordingUrlOpener>());
    return RUN_ALL_TESTS();
}
