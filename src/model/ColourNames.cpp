#include "model/ColourNames.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace ormaline {
namespace {

struct TColourIdentifier {
    std::uint32_t value;
    std::string_view name;
};

constexpr std::uint32_t System(std::uint32_t index) {
    return 0xFF000000u + index;
}

constexpr std::array<TColourIdentifier, 52> kColourIdentifiers = {{
    {0x000000, "clBlack"},
    {0x000080, "clMaroon"},
    {0x008000, "clGreen"},
    {0x008080, "clOlive"},
    {0x800000, "clNavy"},
    {0x800080, "clPurple"},
    {0x808000, "clTeal"},
    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},
    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},
    {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},
    {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},
    {0xA4A0A0, "clMedGray"},
    {0x20000000, "clDefault"},
    {0x1FFFFFFF, "clNone"},
    {System(10), "clActiveBorder"},
    {System(2), "clActiveCaption"},
    {System(12), "clAppWorkSpace"},
    {System(1), "clBackground"},
    {System(15), "clBtnFace"},
    {System(20), "clBtnHighlight"},
    {System(16), "clBtnShadow"},
    {System(18), "clBtnText"},
    {System(9), "clCaptionText"},
    {System(27), "clGradientActiveCaption"},
    {System(28), "clGradientInactiveCaption"},
    {System(17), "clGrayText"},
    {System(13), "clHighlight"},
    {System(14), "clHighlightText"},
    {System(26), "clHotLight"},
    {System(11), "clInactiveBorder"},
    {System(3), "clInactiveCaption"},
    {System(19), "clInactiveCaptionText"},
    {System(24), "clInfoBk"},
    {System(23), "clInfoText"},
    {System(4), "clMenu"},
    {System(30), "clMenuBar"},
    {System(29), "clMenuHighlight"},
    {System(7), "clMenuText"},
    {System(0), "clScrollBar"},
    {System(21), "cl3DDkShadow"},
    {System(22), "cl3DLight"},
    {System(5), "clWindow"},
    {System(6), "clWindowFrame"},
    {System(8), "clWindowText"},
}};

} // namespace

std::string ColourName(std::int32_t colour) {
    const auto value = static_cast<std::uint32_t>(colour);
    for (const TColourIdentifier& identifier : kColourIdentifiers)
        if (identifier.value == value)
            return std::string(identifier.name);
    char text[10];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(value));
    return text;
}

} // namespace ormaline
