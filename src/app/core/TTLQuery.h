// The condition fragment, its description and the search statement of the ligand tab.
//
// The fragment refers to the aliases t (topology.limon) and t1 (topology.limon_loc)
// of the statements that embed it: the search below, the query list's subquery and
// the ligand data export.
#pragma once

#include <string>
#include <vector>

#include "app/core/SearchConditions.h"

namespace ormaline {

// The SQL condition fragment of `search`; `description` receives the one-line
// description of the same conditions. `useLike` is the state of "use like"
// (cbUseLike): the name is then an SQL LIKE pattern as typed. The "Use RefCode List"
// condition is not part of either.
std::string GetQTTLStr(const TTTLSearch& search, bool useLike, std::string& description);

// The search statement that fills sgLigands (and the "TTLQuery" file): one row per
// ligand with its occurrence count c_loc, most frequent first, then by name. With
// `useRefCodeList` the codes of `refCodeLines` (the Total tab's result memo) narrow
// the occurrences; without codes there is no such condition.
std::string TTLSearchStatement(const TTTLSearch& search, bool useLike, bool useRefCodeList,
                               const std::vector<std::string>& refCodeLines);

// The IDs of the ligands of that search, each as often as it has occurrences, in no
// particular order: a subquery that hands the server the search's own conditions.
std::string TTLCandidateStatement(const TTTLSearch& search, bool useLike, bool useRefCodeList,
                                  const std::vector<std::string>& refCodeLines);

} // namespace ormaline
