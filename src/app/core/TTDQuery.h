// The topology tab ("TTD"): its condition check, the condition fragment with its
// description, and the statements of the search, the read and the topology data export.
//
// The fragment uses the aliases t (topology.ttd) and t1 (topology.tto).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/CheckOutcome.h"
#include "app/core/SearchConditions.h"
#include "app/core/TTLCheck.h"

namespace ormaline {

// The topology page's control states that the check reads, as the window shows them.
struct TTTDPageState {
    std::string LibraryText;    // text of cbTTDLibrary as shown
    std::string NameText;       // edTTDName
    std::string TSText;         // edTTDTS
    std::string NumNodeText;    // edTTDNumNode
    std::string DimText;        // edTTODimension
    std::string ZText;          // edTTOZ
    std::string RepTypeText;    // text of cmbRepresentation as shown
    std::int32_t RepIndex = -1; // position of that text in the representation list, or -1
    std::string DiversityText;  // edTTDDiversity
    std::vector<std::string> TTDCodeLines; // lines of mSearchTTDCode
    bool UseRefCodeList = false;           // cbTTDUseRCL
};

// The states of the two "use like" boxes.
struct TTTDPatternBoxes {
    bool Name = false; // cbTTDNameUseLike
    bool TS = false;   // cbTTDTSUseLike
};

inline constexpr const char* kTTDWrongNodeCount = "The number of nodes in topology is wrong.";
inline constexpr const char* kTTDWrongZ = "The Z is wrong.";
inline constexpr const char* kTTDWrongDimension = "The dimension of topology is wrong.";
inline constexpr const char* kTTDQueryFileName = "TTDQuery";
inline constexpr const char* kTTDDataFileName = "TTDData";
inline constexpr const char* kLoadTTDData = "Load TTD data.";

// "select ID from topology.ttdlibrary where Name='<name>'", quotes doubled.
std::string TTDLibraryLookupStatement(const std::string& libraryName);

// Fills `search` from the page (TTDCodeList anew) and returns the first failing message:
// a wrong node count, Z or dimension (error boxes), then no criteria at all (information
// box). The library is optional; it is looked up through `lookup`.
TCheckOutcome CheckTTDConditions(const TTTDPageState& page, const TLibraryLookup& lookup,
                                 TTTDSearch& search);

// The condition fragment of `search`; `description` receives its one-line description.
std::string GetQTTDStr(const TTTDSearch& search, const TTTDPatternBoxes& boxes,
                       std::string& description);

// The search: one row per topology with its occurrence count, the most frequent first.
std::string TTDSearchStatement(const TTTDSearch& search, const TTTDPatternBoxes& boxes,
                               bool useRefCodeList, const std::vector<std::string>& refCodeLines);
// The read: the occurrences of the topology whose ID (36 characters) is `topologyId`.
std::string TTDReadStatement(const std::string& topologyId, const TTTDSearch& search,
                             const TTTDPatternBoxes& boxes, bool useRefCodeList,
                             const std::vector<std::string>& refCodeLines);
// The topology data export: every matching occurrence with its topology and
// representation names.
std::string TTDDataStatement(const TTTDSearch& search, const TTTDPatternBoxes& boxes,
                             bool useRefCodeList, const std::vector<std::string>& refCodeLines);

} // namespace ormaline
