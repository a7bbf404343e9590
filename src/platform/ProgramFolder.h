// The program's folder: where the program keeps "TTCollection.log" and where save
// dialogs start. It is the folder of the executable when that is writable, otherwise
// the user's application data folder (created on demand).
#pragma once

#include <string>

namespace ormaline {

std::string ProgramFolder();

} // namespace ormaline
