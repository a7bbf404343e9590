// The database loader of the subgraph query: one ligand of the chosen library as a
// compound whose adjacency entries are linked to their partner atoms, ready for the
// subgraph search. Two statements per ligand; the bulk loader of SubgraphCandidates.h
// builds the same atoms for many ligands at once.
#pragma once

#include "db/Database.h"
#include "model/AtomInserter.h"
#include "model/Guid.h"
#include "model/OurData.h"

#include <string>
#include <string_view>

namespace ormaline {

// The ligand's atoms joined to their bond lists; an atom without a bond-list row is
// not loaded.
std::string SelectLiMoNAtoms(const TGuid& ligandId);

// What one atom row gives.
struct TLigandAtomValues {
    std::int32_t specat = 0;
    std::int32_t numat = 0;
    std::int32_t cn = 0;
    DVector k{};
    std::string_view admStr; // neighbour numbers separated by blanks
};

// The columns "specat", "numat", "cn", "fractx", "fracty", "fractz" and "adm_str" of
// the current row (TResult or anything read the same way).
template <class Result> TLigandAtomValues ReadLigandAtomValues(const Result& row) {
    TLigandAtomValues values;
    values.specat = row.AsInteger("specat");
    values.numat = row.AsInteger("numat");
    values.cn = row.AsInteger("cn");
    values.k = {row.AsFloat("fractx"), row.AsFloat("fracty"), row.AsFloat("fractz")};
    values.admStr = row.AsString("adm_str");
    return values;
}

// Adds one atom to a compound being built: element, coordination number, number and
// coordinates; its index among the atoms of its element (the element goes to MDC.ME
// with the first one); its site; its place in element-and-index order; and its
// adjacency list parsed from the bond list. An element code outside -26..120 or a
// bond list that is no list of numbers 0..65535 throws EConvertError.
void AddLigandAtom(tCompParam& comp, TAtomInserter& inserter, const TLigandAtomValues& values);

// Links every adjacency entry to the first atom from pAt0 with its number; an entry
// without such an atom keeps p nil.
void ResolveNeighbours(tCompParam& comp);

// Loads ligand `ligandId` of library `libraryId` into `comp` (released first): name,
// atom count, code and cell from the ligand's row (left as initialised when the
// library has no such ligand), "P 1" with its tables, the atoms with linked
// adjacency. A database error throws EDatabaseError.
void LiMoNFromDB(TDatabase& database, const TGuid& libraryId, const TGuid& ligandId,
                 tCompParam& comp);

} // namespace ormaline
