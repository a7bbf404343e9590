// Interaction state shared by every viewer window of the process: the rubber band on
// screen, the colour and fill the magic-wand dialog opens with, and the status text
// buffer of the atom description and the calculations. Used only from the
// user-interface thread.
#pragma once

#include "viewer/core/SceneRecords.h"

#include <cstdint>
#include <string>

namespace ormaline {

struct TInteractShared {
    bool RubberActive = false;       // a rubber-band rectangle is on screen
    TRect RubberRect{};              // its last rectangle
    float RubberRadius = -1.0f;      // rubber-band circle in angstrom; 0 or below: none
    std::int32_t RubberRadiusPx = 0; // the same in pixels
    TColor WandColor = 0;            // colour of what the magic wand was used on
    TBrushStyle WandFill = bsSolid;  // its fill
    std::string StatusText;
};

TInteractShared& InteractShared();

} // namespace ormaline
