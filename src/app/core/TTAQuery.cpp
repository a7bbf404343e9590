#include "app/core/TTAQuery.h"

#include "app/core/RefCodeList.h"
#include "app/core/SearchTexts.h"
#include "app/core/SqlLiteral.h"
#include "app/core/StatementText.h"
#include "model/ElementCodes.h"
#include "model/NumberFormat.h"
#include "model/TextUtil.h"

#include <cmath>

namespace ormaline {

namespace {

const std::string kCrLfText(kCrLf);

// A comma-separated list of atomic numbers as typed into the statement; anything else
// becomes a quoted literal, which the server refuses.
std::string AtomNumberList(const std::string& list) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        if (!IsValidInteger(list.substr(start, comma - start)))
            return QuotedLiteral(list);
        if (comma == std::string::npos)
            return list;
        start = comma + 1;
    }
}

// " and t.<column>='<text>'" or, with the pattern box, " and t.<column> like'<text>'".
std::string TextCondition(const char* column, const std::string& text, bool pattern) {
    return std::string("  and t.") + column + (pattern ? " like'" : "='") + EscapeQuotes(text) +
           "'" + kCrLfText;
}

} // namespace

std::string AtNumFromElementText(const std::string& chemElText) {
    if (chemElText.empty())
        return {};
    ElementCodeSet set;
    ParseElSet(chemElText, set); // a fault is not reported: the codes before it count
    std::string list;
    for (int code = 1; code <= 120; ++code) {
        if (!set.Contains(code))
            continue;
        if (!list.empty())
            list += ',';
        list += std::to_string(code);
    }
    return list;
}

std::string PolyhedronLookupStatement(const std::string& name) {
    return "select id from atoms.ref_polyhedra where name='" + EscapeQuotes(name) + "'";
}

TCheckReport CheckTTAConditions(const TTTAPageState& page, const TTextLookup& lookup,
                                TTTASearch& search) {
    search.ChemEl = Trim(page.ChemElText);
    search.AtNum = Trim(page.AtNumText);
    search.CPClass = Trim(page.CPClassText);
    search.CPvdp = Trim(page.CPvdpText);
    search.CoordNum = Trim(page.CoordNumText);
    search.OxSt = Trim(page.OxStText);
    search.CoordFig = page.CoordFigText;
    search.Diversity = page.DiversityText;
    search.Rsds = Trim(page.RsdsText);
    search.poly_id.clear();

    TCheckReport report;
    if (!search.CoordFig.empty())
        search.poly_id = LookUpOrReport(lookup, PolyhedronLookupStatement(search.CoordFig),
                                        kTTAWrongPolyhedron, report);
    const bool anyCondition =
        page.UseRefCodeList || !search.AtNum.empty() || !search.CPClass.empty() ||
        !search.CPvdp.empty() || !search.CoordNum.empty() || !search.OxSt.empty() ||
        !search.Diversity.empty() || !search.Rsds.empty() || !search.poly_id.empty();
    return report.Finish(anyCondition ? TCheckOutcome::Pass()
                                      : TCheckOutcome::Information(kNoSearchCriteria));
}

std::optional<std::pair<std::string, std::string>> RsdRange(const std::string& rsds) {
    std::pair<std::string, std::string> bounds;
    const std::size_t colon = rsds.find(':');
    if (colon != std::string::npos) {
        bounds = {Trim(rsds.substr(0, colon)), Trim(rsds.substr(colon + 1))};
    } else {
        const std::optional<double> value = ParseNumber(rsds);
        if (!value)
            return std::nullopt;
        const std::size_t point = rsds.find('.');
        const int decimals =
            point == std::string::npos ? 0 : static_cast<int>(rsds.size() - point - 1);
        const double delta = std::pow(10.0, -decimals);
        bounds = {FormatFixed(*value - delta, decimals), FormatFixed(*value + delta, decimals)};
    }
    if (bounds.first.empty() || bounds.second.empty())
        return std::nullopt;
    return bounds;
}

std::string GetQTTAStr(const TTTASearch& search, const TTTAPatternBoxes& boxes,
                       std::string& description) {
    description = "TTA";
    std::string fragment;
    if (!search.AtNum.empty()) {
        description += "  Atom: " + search.AtNum;
        if (search.AtNum.find(',') != std::string::npos)
            fragment += "  and t.at_num in (" + AtomNumberList(search.AtNum) + ")" + kCrLfText;
        else
            fragment += "  and t.at_num =" + AtomNumberList(search.AtNum) + kCrLfText;
    }
    if (!search.CoordNum.empty()) {
        description += "  CN: " + search.CoordNum;
        fragment += "  and t.cn=" + NumberOrLiteral(search.CoordNum) + kCrLfText;
    }
    if (!search.OxSt.empty()) {
        description += "  OxSt: " + search.OxSt;
        fragment += "  and t.ox_st=" + NumberOrLiteral(search.OxSt) + kCrLfText;
    }
    if (!search.Rsds.empty()) {
        description += "  Rsd: " + search.Rsds;
        if (auto bounds = RsdRange(search.Rsds))
            fragment += "  and t.rsd>=" + NumberOrLiteral(bounds->first) +
                        " and t.rsd<=" + NumberOrLiteral(bounds->second) + kCrLfText;
    }
    if (!search.CPClass.empty()) {
        description += (boxes.CPClass ? "  CP(class) like " : "  CP(class): ") + search.CPClass;
        fragment += TextCondition("cp_class", search.CPClass, boxes.CPClass);
    }
    if (!search.CPvdp.empty()) {
        description += (boxes.CPvdp ? "  CP(vdp) like " : "  CP(vdp): ") + search.CPvdp;
        fragment += TextCondition("cp_full", search.CPvdp, boxes.CPvdp);
    }
    if (!search.Diversity.empty()) {
        // A structure qualifies when exactly that many distinct elements occur in it.
        description += "  Diversity: " + search.Diversity;
        fragment += "  and t.refcode in (    select tt.refcode from atoms.cp_vdp tt group by "
                    "tt.refcode     having count(distinct tt.at_num)=" +
                    NumberOrLiteral(search.Diversity) + ")" + kCrLfText;
    }
    if (!search.poly_id.empty()) {
        description += "  CF: " + search.CoordFig;
        fragment += "  and t.poly_id=" + IntegerOrLiteral(search.poly_id) + kCrLfText;
    }
    return fragment;
}

std::string TTASearchStatement(const TTTASearch& search, const TTTAPatternBoxes& boxes,
                               bool useRefCodeList, const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t.at_num, t1.element, ",
        " avg(t.rsd) avg_rsd, stddev(t.rsd) stddev_rsd, ",
        " avg(t.v_vdp) avg_v_vdp, stddev(t.v_vdp) stddev_v_vdp, ",
        " avg(t.g3_vdp) avg_g3_vdp, stddev(t.g3_vdp) stddev_g3_vdp, ",
        " avg(t.var_me) avg_var_me, stddev(t.var_me) stddev_var_me, ",
        " count(t.id) count_at ",
        "from atoms.cp_vdp t, atoms.ref_elements t1 ",
        "where t.at_num = t1.id ",
    };
    AppendRefCodeLine(lines, useRefCodeList, "t.refcode", refCodeLines, " ");
    lines.push_back(GetQTTAStr(search, boxes, description));
    lines.push_back("group by t.at_num, t1.element ");
    lines.push_back("order by count(t.id) desc");
    return JoinStatementLines(lines);
}

std::string TTAReadStatement(const TTTASearch& search, const TTTAPatternBoxes& boxes,
                             bool useRefCodeList, const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t.refcode, t.atom, t.ox_st, t.cn, t.rsd, t.v_vdp, ",
        "  t.s_vdp, t.g3_vdp, t.poly_id, t.cp_class, t.cp_full ",
        "from atoms.cp_vdp t ",
        "where TRUE ",
    };
    AppendRefCodeLine(lines, useRefCodeList, "t.refcode", refCodeLines, " ");
    lines.push_back(GetQTTAStr(search, boxes, description));
    lines.push_back("order by t.refcode, t.atom");
    return JoinStatementLines(lines);
}

std::string TTADataStatement(const TTTASearch& search, const TTTAPatternBoxes& boxes,
                             bool useRefCodeList, const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t.refcode, t.atom, t.at_num, t1.element,",
        "  t.ox_st, t.cn, t.rsd, t.v_vdp, t.g3_vdp, t.var_me,",
        "  t.cp_class, t.cp_full, t2.name cf",
        "from atoms.cp_vdp t, atoms.ref_elements t1, atoms.ref_polyhedra t2 ",
        "where t.at_num = t1.id and t.poly_id = t2.id ",
    };
    AppendRefCodeLine(lines, useRefCodeList, "t.refcode", refCodeLines, " ");
    lines.push_back(GetQTTAStr(search, boxes, description));
    lines.push_back("order by t.refcode, t.atom");
    return JoinStatementLines(lines);
}

} // namespace ormaline
