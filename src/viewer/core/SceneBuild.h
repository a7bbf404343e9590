// The scene build: turns the window's compound into the SceneList of atoms, bonds and
// cell corners. It runs on a worker thread while nothing else touches the scene,
// reports status texts and progress through callbacks, and stops after any atom of
// its long loops when the cancel flag is raised; a cancelled build leaves no scene.
#pragma once

#include "viewer/core/LVScene.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>

namespace ormaline {

// How a build talks to its window. Every member may be empty.
struct TSceneBuildMonitor {
    // Text of status panel 0 or 1.
    std::function<void(int panel, const std::string& text)> Status;
    // Progress bar position and maximum.
    std::function<void(int position, int maximum)> Progress;
    // Raised by the user's "Cancel"; read after each atom of every long loop.
    const std::atomic<bool>* Cancel = nullptr;

    bool Cancelled() const { return Cancel != nullptr && Cancel->load(std::memory_order_relaxed); }
    void SetStatus(int panel, const std::string& text) const {
        if (Status)
            Status(panel, text);
    }
    void SetProgress(int position, int maximum) const {
        if (Progress)
            Progress(position, maximum);
    }
};

// Reports the progress of one loop in at most about 200 steps, so that a large scene
// does not wait for the user-interface thread once per atom.
class TProgressStepper {
public:
    TProgressStepper(const TSceneBuildMonitor& monitor, int maximum);
    void At(int position);

private:
    const TSceneBuildMonitor& monitor_;
    int maximum_;
    int step_;
    int next_ = 0;
};

// Builds the scene from CompParamMaler (the scene must be empty). Returns false when
// cancelled; the partial scene is then freed.
bool SeeCryst(TLVScene& scene, const TSceneBuildMonitor& monitor);

// Restores an existing scene as it was completed: tints and hidden states removed,
// bonds from the completion copy, later lattice copies freed.
bool OldCryst(TLVScene& scene, const TSceneBuildMonitor& monitor);

// The build's last step for stored contacts: every atom on a face through the origin is
// shown again one cell further along that axis, with its bonds. The straightforward
// version searches the list for every copy; it is kept as the reference.
bool MultiplyFaceAtoms(TLVScene& scene, const TSceneBuildMonitor& monitor);
bool MultiplyFaceAtomsStraightforward(TLVScene& scene, const TSceneBuildMonitor& monitor);

// What the user-interface thread does before it starts a build: the parameter scale is
// reset, DataToFile switched off, the selection dropped, and with Sublattice set the
// whole scene freed, so that the build starts afresh.
void PrepareSceneBuild(TLVScene& scene);

// The worker thread's body for "build scene": OldCryst when a scene exists, else SeeCryst;
// then the view is reset and fitted and labels applied. A cancelled build frees the scene
// and returns false.
bool RunSceneBuild(TLVScene& scene, const TSceneBuildMonitor& monitor);

// The completion on the user-interface thread: "Incomplete data on crystal structure" when
// the compound's atom count or space-group code is 0; otherwise ArrAt is rebuilt and
// nothing is returned.
std::optional<std::string> CompleteSceneBuild(TLVScene& scene);

} // namespace ormaline
