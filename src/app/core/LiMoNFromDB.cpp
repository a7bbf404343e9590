#include "app/core/LiMoNFromDB.h"

#include "app/core/LigandHandoff.h"
#include "app/core/LigandRead.h"
#include "model/AdjacencyLinking.h"
#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "model/Symmetry.h"

namespace ormaline {

std::string SelectLiMoNAtoms(const TGuid& ligandId) {
    // The closing quote runs straight into "and"; the server accepts it.
    return "select cd.id, cd.specat, cd.numat numat, cd.cn,   cd.fractx, cd.fracty, cd.fractz, "
           "adm.adm_str from topology.limon_cd cd,topology.limon_adm_dn adm where cd.limonid = '" +
           GuidToStatementText(ligandId) + "'" +
           "and cd.limonid=adm.limonid and cd.numat=adm.at_num";
}

void AddLigandAtom(tCompParam& comp, TAtomInserter& inserter, const TLigandAtomValues& values) {
    const std::int16_t element = CheckedElementCode(values.specat);
    tSteckAt* atom = NewSteckAt();
    atom->A.n = element;
    atom->A.kch = values.cn;
    atom->i = values.numat;
    atom->A.k = values.k;
    atom->A.i = inserter.NextIndex(element);
    if (atom->A.i == 1)
        comp.MDC.ME.push_back(static_cast<std::int8_t>(element));
    SiteSymmetry(comp, *atom);
    inserter.Insert(atom);
    ParseAdjacencyText(values.admStr, *atom);
}

void ResolveNeighbours(tCompParam& comp) {
    const TAtomNumberIndex index(comp.pAt0);
    for (tSteckAt* atom = comp.pAt0; atom != nullptr; atom = atom->li)
        for (tAdjMatr* entry = atom->PMAd; entry != nullptr; entry = entry->li)
            entry->p = index.Find(entry->i);
}

void LiMoNFromDB(TDatabase& database, const TGuid& libraryId, const TGuid& ligandId,
                 tCompParam& comp) {
    FreeCompParam(comp);
    InitCompParam(comp, staAtNI);
    {
        auto header = database.Query(SelectLiMoN(libraryId, ligandId));
        if (!header->Eof()) {
            comp.MDC.CmpName = header->AsString("name");
            comp.DC.at_ = static_cast<std::uint32_t>(header->AsInteger("countat"));
            comp.DC.code = header->AsInteger("ttlcode");
            comp.DC.Tr = {static_cast<float>(header->AsFloat("lengtha")),
                          static_cast<float>(header->AsFloat("lengthb")),
                          static_cast<float>(header->AsFloat("lengthc"))};
            comp.DC.Ug = {static_cast<float>(header->AsFloat("angelalpha")),
                          static_cast<float>(header->AsFloat("angelbeta")),
                          static_cast<float>(header->AsFloat("angelgamma"))};
        }
        header->Close();
    }
    CalcParamTTO(comp);
    comp.NameSG = "P 1";
    comp.CodeSG = SpaceGroupCode(comp);
    BuildSGTables(comp);

    TAtomInserter inserter(comp);
    auto atoms = database.Query(SelectLiMoNAtoms(ligandId));
    for (; !atoms->Eof(); atoms->Next())
        AddLigandAtom(comp, inserter, ReadLigandAtomValues(*atoms));
    ResolveNeighbours(comp);
    comp.pAtEnd = comp.pAt0;
    atoms->Close();
}

} // namespace ormaline
