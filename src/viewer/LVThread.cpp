#include "viewer/LVThread.h"

#include "viewer/core/SceneBuild.h"
#include "viewer/maler.h"

#include <QMetaObject>

namespace ormaline {

TLVThread::TLVThread(TLVForm& window) : FLVWin(&window) {}

TLVThread::~TLVThread() {
    RequestTermination();
    wait();
}

void TLVThread::run() {
    TSceneBuildMonitor monitor;
    monitor.Cancel = &terminate_;
    TLVForm* window = FLVWin;
    monitor.Status = [this, window](int panel, const std::string& text) {
        FText = text;
        QMetaObject::invokeMethod(
            window,
            [window, panel, text] {
                if (panel == 0)
                    window->OutPutToStatusBar0(text);
                else
                    window->OutPutToStatusBar1(text);
            },
            Qt::BlockingQueuedConnection);
    };
    monitor.Progress = [this, window](int position, int maximum) {
        FPosition = position;
        QMetaObject::invokeMethod(
            window, [window, position, maximum] { window->SetProgress(position, maximum); },
            Qt::BlockingQueuedConnection);
    };
    built_ = RunSceneBuild(FLVWin->Scene(), monitor);
}

} // namespace ormaline
