#include "viewer/interact/core/InteractShared.h"

namespace ormaline {

TInteractShared& InteractShared() {
    static TInteractShared shared;
    return shared;
}

} // namespace ormaline
