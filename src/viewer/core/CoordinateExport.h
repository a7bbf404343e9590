// The viewer's "Save As": the shown atoms (visible nodes of the atom section, with their
// current Cartesian model coordinates in angstrom) and their closed bonds of the kinds
// in NumDefBond, as a PDB or a HyperChem (.hin) text. Lines end with CR LF.
#pragma once

#include "viewer/core/LVScene.h"

#include <functional>
#include <string>
#include <vector>

namespace ormaline {

// One exported atom: PDB serial (1.. in scene order) or HIN number within its molecule,
// its molecule (HIN; -1 none yet), the node and the count of its exported bonds.
struct TExportRecord {
    int number = 0;
    int molecule = -1;
    tTopAt* node = nullptr;
    int bondCount = 0;
};

// A bond exported with its atom: closed, of a kind in NumDefBond, to a partner that is
// visible and was processed by the last paint.
bool IsExportedBond(const tBoundAt& bond, const TLatvistaOpt& options);

// The records of the visible nodes from WPTAtEnd on, in scene order, numbered 1, 2, ...
std::vector<TExportRecord> MakeExportRecords(const TLVScene& scene);
// HIN molecule numbers: the records visited newest first; each without a molecule starts
// the next one as its atom 1, and the molecule grows over closed bonds of the kinds in
// NumDefBond to partners with a record, scan after scan, numbering atoms as they join.
// Returns the number of molecules.
int AssignMolecules(std::vector<TExportRecord>& records, const TLatvistaOpt& options);

// The file name offered: RefCode when it is set and does not start with a digit, else
// the compound name; characters other than 0-9, A-Z, a-z become "_".
std::string SuggestedExportName(const tCompParam& compound);

// PDB pieces.
std::string PdbAtomLine(const tTopAt& node, int serial);
std::vector<std::string> PdbAuthorLines(const std::string& authors);
std::vector<std::string> PdbJournalLines(const tCompParam& compound);
// One PDB name rewritten from an author text piece ("o'brien j.k." -> "O'Brien J.K.").
std::string PdbAuthorName(std::string piece);

// The whole texts. `progress` (position, maximum) follows the HIN molecules.
std::string PdbText(const TLVScene& scene);
std::string HinText(const TLVScene& scene, const std::function<void(int, int)>& progress = {});

} // namespace ormaline
