// Graph-file reader on arbitrary bytes: it must answer true or false, report at most
// one message, and leave nothing behind.
#include "model/AdjacencyLinking.h"
#include "model/Compound.h"
#include "model/MolTextReader.h"
#include "model/MolTextWriter.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace ormaline;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    tCompParam comp;
    int messages = 0;
    bool ok = ReadMolTextFromString(text, comp, [&messages](const std::string&) { ++messages; });
    if (messages > 1 || (ok && messages != 0))
        std::abort();
    if (ok) {
        if (comp.pAtEnd != comp.pAt0)
            std::abort();
        // What a successful read hands on: linking, the element table and writing back.
        LinkAdjMatr(comp.pAt0, comp.pAtEnd);
        BuildMEl(comp);
        WriteMolText(comp, MolTextAtomsFromCompound(comp));
    } else if (comp.pAt0 != nullptr || comp.pAtEnd != nullptr) {
        std::abort();
    }
    return 0;
}
