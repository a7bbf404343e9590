// The statement builders of the atom, topology and crystal tabs and of the Total tab
// on arbitrary typed texts: they never fail, and whatever is typed, every quote of a
// statement belongs to a closed literal, so no typed text reaches the statement outside
// one. The input's lines are the typed fields in turn.
#include "app/core/QueryList.h"
#include "app/core/RefCodeList.h"
#include "app/core/TTAQuery.h"
#include "app/core/TTCQuery.h"
#include "app/core/TTDQuery.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace ormaline;

namespace {

// True when the statement's single quotes pair up into literals ('' inside a literal
// stands for one quote).
bool LiteralsClosed(const std::string& statement) {
    bool inLiteral = false;
    for (std::size_t i = 0; i < statement.size(); ++i) {
        if (statement[i] != '\'')
            continue;
        if (inLiteral && i + 1 < statement.size() && statement[i + 1] == '\'') {
            ++i;
            continue;
        }
        inLiteral = !inLiteral;
    }
    return !inLiteral;
}

void Expect(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> fields(12);
    std::size_t field = 0;
    for (std::size_t i = 0; i < size && field < fields.size(); ++i) {
        if (data[i] == '\n')
            ++field;
        else
            fields[field] += static_cast<char>(data[i]);
    }
    const std::vector<std::string> lines = {fields[10], fields[11], fields[0]};

    TTTAPageState atom;
    atom.ChemElText = fields[0];
    atom.AtNumText = AtNumFromElementText(fields[0]) + fields[1];
    atom.CPClassText = fields[2];
    atom.CPvdpText = fields[3];
    atom.CoordNumText = fields[4];
    atom.OxStText = fields[5];
    atom.CoordFigText = fields[6];
    atom.DiversityText = fields[7];
    atom.RsdsText = fields[8];
    TTTASearch atomSearch;
    CheckTTAConditions(
        atom, [&](const std::string&) { return fields[9]; }, atomSearch);
    for (bool like : {false, true}) {
        std::string description;
        Expect(LiteralsClosed(GetQTTAStr(atomSearch, {like, !like}, description)));
        Expect(LiteralsClosed(TTASearchStatement(atomSearch, {like, like}, true, lines)));
        Expect(LiteralsClosed(TTAReadStatement(atomSearch, {like, like}, true, lines)));
        Expect(LiteralsClosed(TTADataStatement(atomSearch, {like, like}, true, lines)));
    }

    TTTDPageState topology;
    topology.NameText = fields[0];
    topology.TSText = fields[1];
    topology.NumNodeText = fields[2];
    topology.DimText = fields[3];
    topology.ZText = fields[4];
    topology.RepTypeText = fields[5];
    topology.RepIndex = static_cast<std::int32_t>(fields[5].size()) - 1;
    topology.DiversityText = fields[6];
    topology.TTDCodeLines = {fields[7], fields[8]};
    TTTDSearch topologySearch;
    CheckTTDConditions(topology, {}, topologySearch);
    std::string description;
    Expect(LiteralsClosed(GetQTTDStr(topologySearch, {true, false}, description)));
    Expect(LiteralsClosed(TTDReadStatement(fields[9], topologySearch, {}, true, lines)));
    Expect(LiteralsClosed(TTDDataStatement(topologySearch, {false, true}, true, lines)));

    TTTCPageState crystal;
    crystal.RefCodeText = fields[0];
    crystal.FStructuralText = fields[1];
    crystal.FTotalText = fields[2];
    crystal.ChemNameText = fields[3];
    crystal.DataBaseText = fields[4];
    crystal.ReliableData = !fields[5].empty();
    TTTCSearch crystalSearch;
    CheckTTCConditions(
        crystal, [&](const std::string&) { return fields[6]; }, crystalSearch);
    Expect(LiteralsClosed(
        TTCSearchStatement(crystalSearch, {true, false, true, false, true}, true, lines)));
    Expect(LiteralsClosed(TTCReadStatement(fields[7], crystalSearch, {}, true, lines)));

    // The code list of a selection of the result memo, and the DOI statement around it.
    Expect(LiteralsClosed(DoiStatement(SelectionCodeList(fields[8] + "\r\n" + fields[9]))));
    return 0;
}
