// The four search-condition records. The main window owns one of each for the whole
// process; each is filled from its tab's controls by the tab's check and read by the
// tab's fragment builder, its reader and its file writers. String fields hold trimmed
// control texts unless said otherwise; an empty string means no condition.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Guid.h"

namespace ormaline {

// Ligands, molecules and nets of one library (tab "TTL&TTM&TTN").
struct TTTLSearch {
    std::string NameText;
    std::string AtNumText;
    std::string CoordType;
    TGuid LibraryID;         // all zero when no library was found
    std::string LibraryName; // the library list's text as shown, not trimmed
    std::string Diversity;
    std::vector<std::string> TTLCodeList; // the valid integer lines of the TTLCode memo
};

// Atoms with their coordination (tab "TTA").
struct TTTASearch {
    std::string AtNum;
    std::string CPClass;
    std::string CPvdp;
    std::string CoordNum;
    std::string OxSt;
    std::string ChemEl;
    std::string CoordFig;
    std::string poly_id;
    std::string Diversity;
    std::string Rsds;
};

// Underlying net topologies (tab "TTD").
struct TTTDSearch {
    std::string NameText;
    std::string NumNodeText;
    std::string DimText;
    std::string ZText;
    std::string TS;
    std::string RepType;
    std::int32_t RepCode = -1; // -1: no representation chosen
    TGuid LibraryID;
    std::string LibraryName;
    std::string Diversity;
    std::vector<std::string> TTDCodeList;
};

// Crystal structures (tab "TTC").
struct TTTCSearch {
    std::string RefCode;
    std::string FStructural;
    std::string FTotal;
    std::string ChemName;
    std::string DataBase;
    std::string DB_id;
};

} // namespace ormaline
