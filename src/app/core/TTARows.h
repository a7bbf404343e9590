// The rows of the atom tab: the per-element row of sgAtoms and of the "TTAQuery" file,
// the per-atom row of sgAtOccurrence and of the "TTAData" file.
//
// Means are shown with their standard deviation in units of the last decimal:
// Rsd (angstrom) 3 decimals, Vvdp (cubic angstrom) 1, G3vdp 4, VarMe (angstrom) 2.
// A group of one atom has no deviation (NULL), which counts as 0.
#pragma once

#include <string>

#include "app/core/ExportLine.h"
#include "app/core/TTLSearchRows.h"
#include "model/NumberFormat.h"

namespace ormaline {

// The per-element statistics of one search row.
struct TTAElementStatistics {
    double avg_rsd = 0, stddev_rsd = 0;
    double avg_v_vdp = 0, stddev_v_vdp = 0;
    double avg_g3_vdp = 0, stddev_g3_vdp = 0;
    double avg_var_me = 0, stddev_var_me = 0;
};

template <class Result> TTAElementStatistics ReadTTAStatistics(const Result& result) {
    return {result.AsFloat("avg_rsd"),    result.AsFloat("stddev_rsd"),
            result.AsFloat("avg_v_vdp"),  result.AsFloat("stddev_v_vdp"),
            result.AsFloat("avg_g3_vdp"), result.AsFloat("stddev_g3_vdp"),
            result.AsFloat("avg_var_me"), result.AsFloat("stddev_var_me")};
}

// A row of sgAtoms: "Atom", "Occurr.", "Rsd", "Vvdp", "G3vdp", "VarMe", "AtNum".
template <class Result> TGridRow TTAGridRow(const Result& result) {
    const TTAElementStatistics s = ReadTTAStatistics(result);
    return {result.AsString("element"),
            result.AsString("count_at"),
            FormatMeanWithDeviation(s.avg_rsd, s.stddev_rsd, 3),
            FormatMeanWithDeviation(s.avg_v_vdp, s.stddev_v_vdp, 1),
            FormatMeanWithDeviation(s.avg_g3_vdp, s.stddev_g3_vdp, 4),
            FormatMeanWithDeviation(s.avg_var_me, s.stddev_var_me, 2),
            result.AsString("at_num")};
}

std::string TTAQueryFileHeader();
// element, count_at, the eight statistics in exponent notation, at_num; tabs; CR LF.
template <class Result> std::string TTAQueryFileLine(const Result& result) {
    const TTAElementStatistics s = ReadTTAStatistics(result);
    std::string line = result.AsString("element") + '\t' + result.AsString("count_at");
    for (double value : {s.avg_rsd, s.stddev_rsd, s.avg_v_vdp, s.stddev_v_vdp, s.avg_g3_vdp,
                         s.stddev_g3_vdp, s.avg_var_me, s.stddev_var_me})
        line += '\t' + FormatExponent(value);
    return line + '\t' + result.AsString("at_num") + std::string(kCrLf);
}

// Row `k` (from 1) of sgAtOccurrence: "N", "RefCode", "Atom", "OxSt", "CN", "Rsd" (3
// decimals), "Vvdp" (1), "Svdp" (1), "G3vdp" (4), "PolyID", "CPclass", "CPfull".
template <class Result> TGridRow TTAOccurrenceRow(const Result& result, int k) {
    return {std::to_string(k),
            result.AsString("refcode"),
            result.AsString("atom"),
            result.AsString("ox_st"),
            result.AsString("CN"),
            FormatFixed(result.AsFloat("rsd"), 3),
            FormatFixed(result.AsFloat("v_vdp"), 1),
            FormatFixed(result.AsFloat("s_vdp"), 1),
            FormatFixed(result.AsFloat("g3_vdp"), 4),
            result.AsString("poly_id"),
            result.AsString("cp_class"),
            result.AsString("cp_full")};
}

std::string TTADataFileHeader();
// The 13 fields of one atom: rsd with 5 decimals, v_vdp 3, g3_vdp 6, var_me 3.
template <class Result> std::string TTADataFileLine(const Result& result) {
    return TabSeparatedLine(
        {result.AsString("refcode"), result.AsString("atom"), result.AsString("at_num"),
         result.AsString("element"), result.AsString("ox_st"), result.AsString("cn"),
         FormatFixed(result.AsFloat("rsd"), 5), FormatFixed(result.AsFloat("v_vdp"), 3),
         FormatFixed(result.AsFloat("g3_vdp"), 6), FormatFixed(result.AsFloat("var_me"), 3),
         result.AsString("cp_class"), result.AsString("cp_full"), result.AsString("cf")});
}

} // namespace ormaline
