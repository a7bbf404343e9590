#include "app/core/TTARows.h"

namespace ormaline {

std::string TTAQueryFileHeader() {
    return "Element\tOccur.\tavg_Rsd\tstddev_Rsd\tavg_Vvdp\tstddev_Vvdp\tavg_G3vdp\tstddev_G3vdp"
           "\tavg_VarMe\tstddev_VarMe\tAtNum" +
           std::string(kCrLf);
}

std::string TTADataFileHeader() {
    return "RefCode\tAtom\tAtNum\tElement\tOxSt\tCN\tRsd\tVvdp\tG3vdp\tVar_"
           "Me\tCPclass\tCPfull\tCF" +
           std::string(kCrLf);
}

} // namespace ormaline
