#include "model/MolTextReader.h"

#include "model/AtomInserter.h"
#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "model/Symmetry.h"
#include "model/TextUtil.h"

#include <cmath>
#include <memory>
#include <optional>

namespace ormaline {

std::string ExtractGroup(char open, char close, std::string& line) {
    std::string group;
    std::size_t openAt = line.find(open);
    std::size_t closeAt = line.find(close);
    if (openAt != std::string::npos && closeAt != std::string::npos && closeAt >= openAt + 2) {
        group = line.substr(openAt + 1, closeAt - openAt - 1);
        line.erase(openAt, closeAt - openAt + 1);
    }
    std::size_t end = line.size();
    while (end > 0 && static_cast<unsigned char>(line[end - 1]) <= ' ')
        --end;
    line.erase(end);
    std::size_t begin = 0;
    while (begin < line.size() && static_cast<unsigned char>(line[begin]) <= ' ')
        ++begin;
    line.erase(0, begin);
    return group;
}

namespace {

// Thrown inside the reader for any failure that aborts the whole read.
struct TMolDataError {};

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

// A number field; one that does not convert (or overflows) reads as 0.
double NumberOrZero(std::string_view field) {
    std::optional<double> value = ParseNumber(field);
    return value && std::isfinite(*value) ? *value : 0.0;
}

// Takes the next blank-ended field from text. Without a blank the field is the whole
// rest, which stays in text when `keepLast` is set (the cell line reads it again).
std::string_view NextField(std::string_view& text, bool keepLast) {
    text = SkipBlanks(text);
    std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) {
        std::string_view field = text;
        if (!keepLast)
            text = {};
        return field;
    }
    std::string_view field = text.substr(0, blank);
    text.remove_prefix(blank + 1);
    return field;
}

int ReadVersion(const std::string& header) {
    if (header.compare(0, 3, "VER") != 0)
        return 0;
    if (header.size() < 5 || header[4] < '0' || header[4] > '9')
        throw TMolDataError{};
    return header[4] - '0';
}

void ReadCell(const std::string& line, tCompParam& comp) {
    std::string_view rest = TrimView(line);
    for (int field = 0; field < 6; ++field) {
        auto value = static_cast<float>(NumberOrZero(NextField(rest, true)));
        if (field < 3)
            comp.DC.Tr[static_cast<std::size_t>(field)] = value;
        else
            comp.DC.Ug[static_cast<std::size_t>(field - 3)] = value;
    }
}

std::int32_t IntegerOrFail(std::string_view text) {
    std::optional<std::int32_t> value = ParseInt32(text);
    if (!value)
        throw TMolDataError{};
    return *value;
}

// Frees an atom node that is not (yet) part of the compound's list.
struct TAtomNodeDeleter {
    void operator()(tSteckAt* atom) const { DisposeAtList(atom); }
};
using TPendingAtom = std::unique_ptr<tSteckAt, TAtomNodeDeleter>;

tAtData& ConstraintBlock(tCompParam& comp, tSteckAt& atom) {
    if (atom.Struct == nullptr) {
        atom.Struct = new tAtData{};
        atom.Struct->atset = ElementMembers(atom.A.n);
        comp.SizeStruct = static_cast<std::int32_t>(sizeof(tAtData));
    }
    return *atom.Struct;
}

TByteSet SingleByte(std::int32_t member) {
    if (member < 0 || member > 255)
        throw TMolDataError{};
    TByteSet set;
    set.Include(member);
    return set;
}

void ReadElement(std::string& line, tCompParam& comp, tSteckAt& atom) {
    std::string list = ExtractGroup('{', '}', line);
    if (!list.empty()) {
        ElementCodeSet set;
        if (ParseElSet(list, set)) {
            atom.A.n = 6;
            return;
        }
        atom.Struct = new tAtData{};
        comp.SizeStruct = static_cast<std::int32_t>(sizeof(tAtData));
        atom.Struct->atset = set;
        int smallest = set.Smallest(1, kMaxElementCode);
        atom.A.n = static_cast<std::int16_t>(smallest < 0 ? 0 : smallest);
        return;
    }
    std::size_t length = line.size() >= 2 && IsAsciiLetter(line[1]) ? 2 : 1;
    length = std::min(length, line.size());
    atom.A.n = ElCode(std::string_view(line).substr(0, length));
    line.erase(0, length);
}

void ReadSiteGroup(std::string& line, tCompParam& comp, tSteckAt& atom) {
    std::string group = ExtractGroup('[', ']', line);
    if (group.empty())
        return;
    tAtData& block = ConstraintBlock(comp, atom);
    auto setSite = [&block](std::string_view name) {
        int index = SiteSymIndex(name);
        if (index > 0) {
            block.SiteSymSet.Clear();
            block.SiteSymSet.Include(index);
        }
    };
    std::size_t comma = group.find(',');
    if (comma != std::string::npos) {
        block.MultSet = SingleByte(IntegerOrFail(std::string_view(group).substr(0, comma)));
        setSite(std::string_view(group).substr(comma + 1));
    } else if (group.front() >= 'A' && group.front() <= 'Z') {
        setSite(group);
    } else {
        block.MultSet = SingleByte(IntegerOrFail(group));
    }
}

void ReadColourGroup(std::string& line, tCompParam& comp, tSteckAt& atom) {
    std::string group = ExtractGroup('<', '>', line);
    if (!group.empty())
        ConstraintBlock(comp, atom).Color = group;
}

void ReadBonds(std::string_view rest, tCompParam& comp, tSteckAt& atom) {
    rest = TrimView(rest);
    tAdjMatr* tail = nullptr;
    for (tAdjMatr* entry = atom.PMAd; entry != nullptr; entry = entry->li)
        tail = entry;
    while (!rest.empty()) {
        tAdjMatr* entry = NewAdjMatr();
        (tail == nullptr ? atom.PMAd : tail->li) = entry;
        tail = entry;

        std::size_t blank = rest.find(' ');
        if (blank == std::string_view::npos)
            throw TMolDataError{};
        // A number that no entry can name (outside 0..65535) is kept as read; it never
        // links, so the viewer then draws contacts from distances.
        entry->i = IntegerOrFail(rest.substr(0, blank));
        rest = TrimView(rest.substr(blank + 1));

        switch (rest.front()) {
        case 'h':
            entry->m = bkHydrogen;
            break;
        case 's':
            entry->m = bkSpecific;
            break;
        case 'v':
            entry->m = bkValence;
            break;
        case 'w':
            entry->m = bkVanDerWaals;
            break;
        default:
            entry->m = bkNone;
            break;
        }
        if (entry->m == bkValence) {
            if (atom.CN < 0xFFFF)
                ++atom.CN;
            atom.A.S += 1.0f;
        } else {
            if (atom.CNdop < 0xFFFF)
                ++atom.CNdop;
            comp.ADConfig |= 1;
        }
        rest = TrimView(rest.substr(std::min<std::size_t>(2, rest.size())));
    }
}

// `line` is a buffer reused from line to line, so that reading allocates little
// besides the nodes themselves.
void ReadAtomLine(const std::string& text, int version, tCompParam& comp, TAtomInserter& inserter,
                  std::string& line) {
    TPendingAtom pending(NewSteckAt());
    tSteckAt& atom = *pending;
    line.assign(TrimView(text));
    if (line.empty())
        throw TMolDataError{};

    bool central = false;
    if (line.front() == '*') {
        central = true;
        line.erase(0, 1);
    }
    if (!line.empty() && line.front() == '#') {
        atom.A.kch = 1;
        line.erase(0, 1);
    }
    std::size_t blank = line.find(' ');
    if (blank == std::string::npos)
        throw TMolDataError{};
    atom.i = IntegerOrFail(std::string_view(line).substr(0, blank));
    line.erase(0, blank + 1);

    ReadElement(line, comp, atom);
    ReadSiteGroup(line, comp, atom);
    ReadColourGroup(line, comp, atom);

    ++comp.DC.at_;
    atom.A.i = inserter.NextIndex(atom.A.n);
    if (central)
        atom.A.i = -atom.A.i;

    std::string_view rest = line;
    for (double& coordinate : atom.A.k)
        coordinate = NumberOrZero(NextField(rest, false));
    if (version == 0) {
        if (comp.ParamTTO.NOrth)
            OrthToFract(atom.A.k, comp.ParamTTO);
        for (std::size_t axis = 0; axis < 3; ++axis)
            atom.A.k[axis] = atom.A.k[axis] / static_cast<double>(comp.DC.Tr[axis]) + 0.5;
    }
    SiteSymmetry(comp, atom);
    inserter.Insert(pending.release());
    ReadBonds(rest, comp, atom);
}

} // namespace

bool ReadMolText(const std::vector<std::string>& lines, tCompParam& comp,
                 const TErrorReport& report) {
    if (lines.size() < 3)
        return false;
    InitCompParam(comp, staAtNI);
    try {
        int version = ReadVersion(lines[0]);
        ReadCell(lines[1], comp);
        CalcParamTTO(comp);
        comp.NameSG = "P 1";
        comp.CodeSG = SpaceGroupCode(comp);
        BuildSGTables(comp);

        TAtomInserter inserter(comp);
        std::string line;
        for (std::size_t k = 2; k < lines.size(); ++k)
            ReadAtomLine(lines[k], version, comp, inserter, line);
    } catch (const TMolDataError&) {
        FreeCompParam(comp);
        if (report)
            report(std::string(kMolDataErrorText));
        return false;
    }
    comp.pAtEnd = comp.pAt0;
    return true;
}

bool ReadMolTextFromString(std::string_view text, tCompParam& comp, const TErrorReport& report) {
    return ReadMolText(SplitLines(text), comp, report);
}

} // namespace ormaline
