// The worker thread of a viewer window's scene build. Status texts and progress are
// handed to the window's thread and the worker waits until they are shown; "Cancel" sets
// the termination request that the build's loops read after each atom.
#pragma once

#include "model/VectorTypes.h"

#include <QThread>

#include <atomic>
#include <string>

namespace ormaline {

class TLVForm;

class TLVThread : public QThread {
    Q_OBJECT
public:
    explicit TLVThread(TLVForm& window);
    ~TLVThread() override;

    void RequestTermination() { terminate_.store(true); }
    bool TerminationRequested() const { return terminate_.load(); }
    // True when the build completed without cancellation.
    bool Built() const { return built_; }

    ShIVector ThTr{};
    int FPosition = 0;
    TLVForm* FLVWin;
    std::string FText;

protected:
    void run() override;

private:
    std::atomic<bool> terminate_{false};
    bool built_ = false;
};

} // namespace ormaline
