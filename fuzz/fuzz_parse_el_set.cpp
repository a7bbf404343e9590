// Element-list parser on arbitrary bytes: it answers with an error flag and a set of
// codes 0..127, and never reads or writes outside its input.
#include "model/ElementCodes.h"

#include <cstdint>
#include <string_view>

using namespace ormaline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ElementCodeSet set;
    bool error = ParseElSet(text, set);
    // Parsing the same text twice gives the same answer.
    ElementCodeSet again;
    if (ParseElSet(text, again) != error || !(again == set))
        __builtin_trap();
    return 0;
}
