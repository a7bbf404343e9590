#include "viewer/core/CoordinateExport.h"

#include "model/ElementCodes.h"
#include "model/NumberFormat.h"
#include "model/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace ormaline {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::size_t kMaxAuthors = 30;

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string RightAligned(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string Symbol(const tTopAt& node) {
    return node.pSAt != nullptr ? std::string(ElSymbol(node.pSAt->A.n)) : std::string();
}

int IndexOf(const tTopAt& node) {
    return node.pSAt != nullptr ? node.pSAt->A.i : 0;
}

void AppendUtf8(std::string& out, char16_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The compound's name characters cut to 40 or padded with blanks.
std::string HeaderName(const tCompParam& compound) {
    const std::size_t length =
        std::min(static_cast<std::size_t>(std::max<int>(compound.DC.NName_, 0)),
                 compound.MDC.NameMChar.size());
    std::string out;
    std::size_t count = 0;
    for (; count < length && count < 40; ++count) {
        const char16_t c = compound.MDC.NameMChar[count];
        AppendUtf8(out, c < 0x20 ? u' ' : c);
    }
    out.append(40 - count, ' ');
    return out;
}

std::string SourceName(std::uint8_t cfg) {
    if (cfg < 64)
        return "KRELM";
    if (cfg < 128)
        return "ICSD";
    if (cfg < 192)
        return "CSD";
    return "CRYSTMET";
}

std::string ZText(float z) {
    const double rounded = std::nearbyint(static_cast<double>(z));
    if (std::fabs(z - rounded) < 1e-6 && std::fabs(rounded) < 1e9)
        return std::to_string(static_cast<long long>(rounded));
    return "1";
}

// The exported bonds of a node whose partners have records.
template <typename Visit>
void ForExportedBonds(const tTopAt& node, const TLatvistaOpt& options,
                      const std::unordered_map<const tTopAt*, std::size_t>& recordOf, Visit visit) {
    for (const tBoundAt* bond = node.p; bond != nullptr; bond = bond->li)
        if (IsExportedBond(*bond, options))
            if (const auto found = recordOf.find(bond->p); found != recordOf.end())
                visit(found->second);
}

std::unordered_map<const tTopAt*, std::size_t>
RecordIndex(const std::vector<TExportRecord>& records) {
    std::unordered_map<const tTopAt*, std::size_t> index;
    for (std::size_t k = 0; k < records.size(); ++k)
        index.emplace(records[k].node, k);
    return index;
}

std::vector<TExportRecord> CountedRecords(const TLVScene& scene) {
    std::vector<TExportRecord> records = MakeExportRecords(scene);
    const auto index = RecordIndex(records);
    for (TExportRecord& record : records)
        ForExportedBonds(*record.node, scene.WLVO, index, [&](std::size_t) { ++record.bondCount; });
    return records;
}

} // namespace

bool IsExportedBond(const tBoundAt& bond, const TLatvistaOpt& options) {
    return (bond.c & kBondShown) != 0 && (bond.c & kBondOpen) == 0 &&
           (bond.cb & options.NumDefBond) != 0 && bond.p != nullptr &&
           (bond.p->c & (kNodePainted | kNodeVisible)) == (kNodePainted | kNodeVisible);
}

std::vector<TExportRecord> MakeExportRecords(const TLVScene& scene) {
    std::vector<TExportRecord> records;
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
        if ((node->c & kNodeVisible) != 0 && (node->c & kNodeAuxiliary) == 0)
            records.push_back({static_cast<int>(records.size()) + 1, -1, node, 0});
    return records;
}

int AssignMolecules(std::vector<TExportRecord>& records, const TLatvistaOpt& options) {
    const auto index = RecordIndex(records);
    int molecules = 0;
    for (std::size_t start = records.size(); start-- > 0;) {
        if (records[start].molecule != -1)
            continue;
        const int m = ++molecules;
        int next = 1;
        records[start].molecule = m;
        records[start].number = next++;
        for (bool added = true; added;) {
            added = false;
            for (std::size_t k = records.size(); k-- > 0;) {
                if (records[k].molecule != m)
                    continue;
                for (const tBoundAt* bond = records[k].node->p; bond != nullptr; bond = bond->li) {
                    if ((bond->c & kBondShown) == 0 || (bond->c & kBondOpen) != 0 ||
                        (bond->cb & options.NumDefBond) == 0)
                        continue;
                    const auto found = index.find(bond->p);
                    if (found == index.end() || records[found->second].molecule != -1)
                        continue;
                    records[found->second].molecule = m;
                    records[found->second].number = next++;
                    added = true;
                }
            }
        }
    }
    return molecules;
}

std::string SuggestedExportName(const tCompParam& compound) {
    std::string name = compound.DC.RefCode.Str();
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front())))
        name = compound.MDC.CmpName;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) > 0x7F)
            c = '_';
    return name;
}

std::string PdbAtomLine(const tTopAt& node, int serial) {
    const std::string serialText = std::to_string(serial);
    std::string name = Symbol(node) + std::to_string(IndexOf(node));
    name = Padded(name.substr(0, 4), 4);
    const std::string residue = RightAligned(
        serialText.size() > 3 ? serialText.substr(serialText.size() - 3) : serialText, 3);
    const double s = node.pSAt != nullptr ? node.pSAt->A.S : 0.0;
    double occupancy = s - std::floor(s);
    if (occupancy < 1e-4)
        occupancy = 1.0;
    std::string line = "HETATM" + RightAligned(serialText, 5) + " " + name + " " + residue +
                       " A   1    " + FormatFixed(node.k[0], 8, 3) + FormatFixed(node.k[1], 8, 3) +
                       FormatFixed(node.k[2], 8, 3) + FormatFixed(occupancy, 6, 2);
    line = Padded(line, 76) + Symbol(node);
    const int degOx = node.pSAt != nullptr ? node.pSAt->A.DegOx : 16;
    const int magnitude = std::abs(degOx) & ~(32 | 64);
    if (magnitude == 16)
        line += "  ";
    else
        line += RightAligned(std::to_string(degOx < 0 ? -magnitude : magnitude), 2);
    return line;
}

std::string PdbAuthorName(std::string piece) {
    if (piece.size() > 20)
        piece.resize(20);
    piece.erase(0, piece.find_first_not_of(' ') == std::string::npos
                       ? piece.size()
                       : piece.find_first_not_of(' '));
    std::string before = piece, initials;
    if (const std::size_t space = piece.find(' '); space != std::string::npos) {
        before = piece.substr(0, space);
        initials = piece.substr(space + 1);
    }
    for (std::size_t dot = before.find('.'); dot != std::string::npos; dot = before.find('.')) {
        initials += before.substr(0, dot + 1);
        before.erase(0, dot + 1);
    }
    std::string surname = ToLowerAscii(before);
    if (!surname.empty())
        surname[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(surname[0])));
    std::string name = surname;
    if (!initials.empty())
        name += " " + ToUpperAscii(initials);
    if (name.size() > 20)
        name.resize(20);
    for (std::size_t k = 1; k < name.size(); ++k)
        if (name[k - 1] == '\'' || name[k - 1] == '-')
            name[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[k])));
    return name;
}

std::vector<std::string> PdbAuthorLines(const std::string& authors) {
    std::vector<std::string> names;
    std::size_t from = 0;
    while (names.size() < kMaxAuthors) {
        const std::size_t comma = authors.find(',', from);
        names.push_back(PdbAuthorName(authors.substr(from, comma - from)));
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    std::vector<std::string> lines;
    if (authors.size() < 60) {
        std::string line = "JRNL        AUTH   ";
        for (std::size_t k = 0; k < names.size(); ++k)
            line += (k > 0 ? "," : "") + names[k];
        lines.push_back(line);
        return lines;
    }
    std::string line = "JRNL        AUTH 1 ";
    bool first = true;
    for (const std::string& name : names) {
        if (!first && line.size() + 1 + name.size() > 78) {
            lines.push_back(line);
            line = "JRNL        AUTH " + std::to_string(lines.size() + 1) + " " + name;
            continue;
        }
        line += (first ? "" : ",") + name;
        first = false;
    }
    lines.push_back(line);
    return lines;
}

std::vector<std::string> PdbJournalLines(const tCompParam& compound) {
    const std::string& journal = compound.MDC.JnlName;
    std::vector<std::string> lines;
    const std::size_t blocks = journal.size() / 28;
    std::string last;
    if (blocks == 0) {
        last = "JRNL        REF    " + journal;
    } else {
        for (std::size_t k = 0; k < blocks; ++k)
            lines.push_back("JRNL        REF  " + std::to_string(k + 1) + " " +
                            journal.substr(k * 28, 28));
        last = "JRNL        REF  " + std::to_string(blocks + 1) + " " + journal.substr(blocks * 28);
    }
    last = Padded(last, 50);
    if (!compound.DC.vjnl.Empty())
        last += "V." + compound.DC.vjnl.Str();
    last = Padded(last, 57);
    std::string page = compound.DC.pjnl.Str();
    if (const std::size_t dash = page.find('-'); dash != std::string::npos)
        page.resize(dash);
    last = Padded(last + page, 63) + std::to_string(compound.DC.yjnl);
    lines.push_back(last);
    return lines;
}

std::string PdbText(const TLVScene& scene) {
    const tCompParam& compound = scene.CompParamMaler;
    const tDC& dc = compound.DC;
    std::string out = "HEADER    " + HeaderName(compound) + kLineEnd;
    if (!dc.RefCode.Empty())
        out += "TITLE     CODE in " + SourceName(dc.Cfg) + ": " + dc.RefCode.Str() + kLineEnd;
    std::string cryst = "CRYST1";
    for (std::size_t k = 0; k < 3; ++k)
        cryst += FormatFixed(dc.Tr[k], 9, 3);
    for (std::size_t k = 0; k < 3; ++k)
        cryst += FormatFixed(dc.Ug[k], 7, 2);
    out += Padded(cryst + " " + dc.SG.Str(), 66) + ZText(compound.CompZ) + kLineEnd;
    if (!compound.MDC.Authors.empty())
        for (const std::string& line : PdbAuthorLines(compound.MDC.Authors))
            out += line + kLineEnd;
    if (!compound.MDC.JnlName.empty())
        for (const std::string& line : PdbJournalLines(compound))
            out += line + kLineEnd;
    const std::vector<TExportRecord> records = CountedRecords(scene);
    for (const TExportRecord& record : records)
        out += PdbAtomLine(*record.node, record.number) + kLineEnd;
    const auto index = RecordIndex(records);
    for (const TExportRecord& record : records) {
        if (record.node->p == nullptr)
            continue;
        const std::string own = RightAligned(std::to_string(record.number), 5);
        std::string line = "CONECT" + own;
        int onLine = 0;
        ForExportedBonds(*record.node, scene.WLVO, index, [&](std::size_t partner) {
            if (onLine == 4) {
                out += line + kLineEnd;
                line = "CONECT" + own;
                onLine = 0;
            }
            line += RightAligned(std::to_string(records[partner].number), 5);
            ++onLine;
        });
        out += line + kLineEnd;
    }
    out += std::string("END") + kLineEnd;
    return out;
}

std::string HinText(const TLVScene& scene, const std::function<void(int, int)>& progress) {
    const tDC& dc = scene.CompParamMaler.DC;
    std::vector<TExportRecord> records = CountedRecords(scene);
    const int molecules = AssignMolecules(records, scene.WLVO);
    std::string out = std::string("forcefield mm+") + kLineEnd + "sys 0" + kLineEnd +
                      "view 40 1 55 15 1 0 0 0 1 0 0 0 1 0 0 -55" + kLineEnd;
    if (std::fabs(dc.Ug[0] - 90) < 0.1 && std::fabs(dc.Ug[1] - 90) < 0.1 &&
        std::fabs(dc.Ug[2] - 90) < 0.1)
        out += "box " + FormatFixed(dc.Tr[0], 3) + " " + FormatFixed(dc.Tr[1], 3) + " " +
               FormatFixed(dc.Tr[2], 3) + kLineEnd;
    const auto index = RecordIndex(records);
    // Each molecule's atoms in the order of their numbers, so that readers that take atom
    // numbers as positions connect the atoms meant.
    std::vector<std::vector<std::size_t>> members(static_cast<std::size_t>(molecules));
    for (std::size_t k = 0; k < records.size(); ++k)
        members[static_cast<std::size_t>(records[k].molecule - 1)].push_back(k);
    for (int m = 1; m <= molecules; ++m) {
        std::vector<std::size_t>& atoms = members[static_cast<std::size_t>(m - 1)];
        std::stable_sort(atoms.begin(), atoms.end(), [&](std::size_t x, std::size_t y) {
            return records[x].number < records[y].number;
        });
        const std::string number = std::to_string(m).substr(0, 3);
        out += "mol " + number + kLineEnd;
        for (const std::size_t k : atoms) {
            const TExportRecord& record = records[k];
            const tTopAt& node = *record.node;
            out += "atom " + std::to_string(record.number) + " " + Symbol(node) +
                   std::to_string(IndexOf(node)) + " " + Symbol(node) + " ** - 0 " +
                   FormatFixed(node.k[0], 5) + " " + FormatFixed(node.k[1], 5) + " " +
                   FormatFixed(node.k[2], 5) + " " + std::to_string(record.bondCount);
            ForExportedBonds(node, scene.WLVO, index, [&](std::size_t partner) {
                out += " " + std::to_string(records[partner].number) + " s";
            });
            out += kLineEnd;
        }
        out += "endmol " + number + kLineEnd;
        if (progress)
            progress(100 * m, 100 * molecules);
    }
    return out;
}

} // namespace ormaline
