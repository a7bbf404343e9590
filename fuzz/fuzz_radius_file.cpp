// Feeds arbitrary bytes to the radius-file reader: it must never crash, hang or leak,
// must only ever store radii from 0 to 100, and what it writes must read back unchanged.
#include "viewer/core/RadiusFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace ormaline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TElementValues radii = ElementRadiiTable(0);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReadRadiusText(text, radii);
    for (int code = 1; code <= 120; ++code) {
        const float r = radii[static_cast<std::size_t>(code)];
        if (!(r >= 0.0f && r <= 100.0f))
            std::abort();
    }
    const std::string written = WriteRadiusText(radii);
    TElementValues again{};
    const TRadiusReadResult result = ReadRadiusText(written, again);
    if (result.applied != 120 || !result.skippedLines.empty())
        std::abort();
    if (WriteRadiusText(again) != written)
        std::abort();
    return 0;
}
