// Graph-file reader on arbitrary bytes: it must answer true or false, report at most
// one message, and leave nothing behind. A small fragment that reads is also searched
// for in itself, as the ligand search would search it, linked as far as it links.
#include "model/AdjacencyLinking.h"
#include "model/Compound.h"
#include "model/MolTextReader.h"
#include "model/MolTextWriter.h"
#include "model/SubgraphSearch.h"

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
        // Backtracking grows with the factorial of the atom count: small fragments only.
        if (comp.DC.at_ <= 8) {
            tCompParam query;
            ReadMolTextFromString(text, query, {});
            for (bool compare : {false, true}) {
                TMolGraph graph(query.pAt0);
                SubgraphSearch(comp, query.DC.at_, graph.Graph(), 1.0f, 0.5f, compare);
            }
        }
    } else if (comp.pAt0 != nullptr || comp.pAtEnd != nullptr) {
        std::abort();
    }
    return 0;
}
