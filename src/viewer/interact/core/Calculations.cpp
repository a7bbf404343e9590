#include "viewer/interact/core/Calculations.h"

namespace ormaline {

std::optional<std::string> Dimension(TLVScene& scene) {
    // The measurements come with the calculations; until then the panel keeps its text.
    (void)scene;
    return std::nullopt;
}

} // namespace ormaline
