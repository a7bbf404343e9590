// The measurements of the selection.
#pragma once

#include "viewer/core/LVScene.h"

#include <optional>
#include <string>

namespace ormaline {

// The measurement line of the selection for status panel 1, recomputed after every
// change of the selection; nothing when there is nothing to show.
std::optional<std::string> Dimension(TLVScene& scene);

} // namespace ormaline
