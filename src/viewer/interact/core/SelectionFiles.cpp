#include "viewer/interact/core/SelectionFiles.h"

#include "model/ColourNames.h"
#include "model/ElementCodes.h"
#include "model/Errors.h"
#include "model/MolTextWriter.h"
#include "model/NumberFormat.h"
#include "model/Symmetry.h"
#include "viewer/core/SceneOps.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <unordered_map>

namespace ormaline {
namespace {

// The selected nodes that show a compound atom, newest first.
std::vector<const tInsAt*> SelectedRecords(const TLVScene& scene) {
    std::vector<const tInsAt*> records;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
        if (record->PTA != nullptr && record->PTA->pSAt != nullptr)
            records.push_back(record);
    return records;
}

std::string Symbol(const tTopAt& node) {
    return std::string(ElSymbol(node.pSAt->A.n));
}

// The bond kind written for the bond's kind bits; none for other kinds.
std::uint8_t WrittenKind(std::uint8_t cb) {
    switch (cb) {
    case cbValence:
        return bkValence;
    case cbSpecific:
        return bkSpecific;
    case cbVanDerWaals:
        return bkVanDerWaals;
    case cbHydrogen:
        return bkHydrogen;
    default:
        return bkNone;
    }
}

} // namespace

std::vector<std::string> TintFileLines(const TLVScene& scene, const std::string& fileName) {
    std::vector<std::string> lines{"3 " + fileName};
    for (const tInsAt* record : SelectedRecords(scene)) {
        const tTopAt& node = *record->PTA;
        std::string line = Symbol(node) + " " + std::to_string(node.pSAt->A.i);
        for (const float coordinate : node.k)
            line += " " + FormatFixed(coordinate, 3);
        lines.push_back(line + " " + std::to_string(record->col));
    }
    return lines;
}

std::vector<std::string> GraphFileLines(const TLVScene& scene) {
    const tCompParam& comp = scene.CompParamMaler;
    const std::vector<const tInsAt*> records = SelectedRecords(scene);
    std::unordered_map<const tTopAt*, std::int32_t> number;
    for (std::size_t k = 0; k < records.size(); ++k)
        number.emplace(records[k]->PTA, static_cast<std::int32_t>(k + 1));
    std::vector<TMolTextAtom> atoms;
    for (const tInsAt* record : records) {
        const tTopAt& node = *record->PTA;
        TMolTextAtom atom;
        atom.central = record->col == 2;
        atom.element = node.pSAt->A.n;
        atom.multiplicity = SiteMult(comp, *node.pSAt);
        atom.siteSymmetry = std::string(SiteSymName(comp, *node.pSAt));
        atom.colour = ColourName(node.lAColor);
        atom.k = NodeFractional(node);
        for (const tBoundAt* bond = node.p; bond != nullptr; bond = bond->li) {
            if ((bond->c & kBondShown) == 0 || (bond->c & kBondOpen) != 0 ||
                (bond->cb & scene.WLVO.NumDefBond) == 0)
                continue;
            const auto partner = number.find(bond->p);
            const std::uint8_t kind = WrittenKind(bond->cb);
            if (partner == number.end() || kind == bkNone)
                continue;
            atom.bonds.push_back({partner->second, kind});
        }
        atoms.push_back(std::move(atom));
    }
    return WriteMolText(comp, atoms);
}

std::vector<std::string> TextTableLines(const TLVScene& scene, const std::string& fileName) {
    std::vector<std::string> lines{"0 " + fileName};
    int running = 0;
    for (const tInsAt* record : SelectedRecords(scene)) {
        const tTopAt& node = *record->PTA;
        std::string line =
            std::to_string(++running) + " " + Symbol(node) + " " + std::to_string(node.pSAt->A.i);
        for (const double coordinate : NodeFractional(node))
            line += " " + FormatFixed(coordinate, 4);
        lines.push_back(line + " " + std::to_string(record->col));
    }
    return lines;
}

std::vector<std::string> SelectionFileLines(const TLVScene& scene, int type,
                                            const std::string& fileName) {
    switch (type) {
    case sftGraph:
        return GraphFileLines(scene);
    case sftText:
        return TextTableLines(scene, fileName);
    default:
        return TintFileLines(scene, fileName);
    }
}

void WriteSelectionFile(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw EInOutError("Cannot create file \"" + path + "\". " + std::strerror(errno));
    for (const std::string& line : lines) {
        file.write(line.data(), static_cast<std::streamsize>(line.size()));
        file.write("\r\n", 2);
    }
    file.close();
    if (!file)
        throw EInOutError("Cannot write file \"" + path + "\". " + std::strerror(errno));
}

std::string& GraphDirectory() {
    static std::string folder;
    return folder;
}

TSaveStart SaveStartFor(int type) {
    switch (type) {
    case sftGraph:
        return {GraphDirectory(), "gph"};
    case sftText:
        return {"", "txt"};
    default:
        return {"", "tnt"};
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::optional<std::string>
ChooseSelectionFile(int& filterIndex,
                    const std::function<TSaveRun(int filterIndex, const TSaveStart&)>& run) {
    if (filterIndex < sftTint || filterIndex > sftText)
        filterIndex = sftTint;
    TSaveStart start = SaveStartFor(filterIndex);
    for (;;) {
        const TSaveRun result = run(filterIndex, start);
        if (!result.typeChanged) {
            if (result.fileName)
                GraphDirectory() = FolderOf(*result.fileName);
            return result.fileName;
        }
        filterIndex = result.filterIndex;
        const TSaveStart next = SaveStartFor(filterIndex);
        // A change that leaves the folder and extension as they were ends the loop.
        if (next == start)
            return std::nullopt;
        start = next;
    }
}

} // namespace ormaline
