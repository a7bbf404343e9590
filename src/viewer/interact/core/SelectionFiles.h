// The selection files of a viewer window: the selected atoms, in selection order
// (newest first), as a tint file, a graph file (molecule text format) or a text table,
// and the choice of file type and folder in the save dialog.
#pragma once

#include "viewer/core/LVScene.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ormaline {

// File types by the save dialog's filter index.
enum TSelectionFileType : int { sftTint = 1, sftGraph = 2, sftText = 3 };

inline constexpr const char* kSelectionFileFilter =
    "Tint files (*.tnt)|*.tnt|Graph files (*.gph)|*.gph|Text files (*.txt)|*.txt";

// The lines of a selection file (without line ends). `fileName` is the file's full name,
// which the tint and text headers carry.
std::vector<std::string> TintFileLines(const TLVScene& scene, const std::string& fileName);
std::vector<std::string> GraphFileLines(const TLVScene& scene);
std::vector<std::string> TextTableLines(const TLVScene& scene, const std::string& fileName);
std::vector<std::string> SelectionFileLines(const TLVScene& scene, int type,
                                            const std::string& fileName);

// Writes the lines, each ended with CR LF, replacing the file. Throws EInOutError with
// the reason when the file cannot be created or written.
void WriteSelectionFile(const std::string& path, const std::vector<std::string>& lines);

// The folder of the last graph file saved; the graph type opens there. Process-wide.
std::string& GraphDirectory();

// Where the save dialog starts for a file type and its default extension; tint and text
// files start where the dialog starts by itself (an empty folder).
struct TSaveStart {
    std::string folder;
    std::string extension;
    bool operator==(const TSaveStart&) const = default;
};
TSaveStart SaveStartFor(int type);

// One run of the save dialog: the chosen file, or the type the user switched to (the
// dialog closes then), or a cancel.
struct TSaveRun {
    std::optional<std::string> fileName;
    int filterIndex = sftTint;
    bool typeChanged = false;
};

// The dialog loop of "Save Selection": the dialog opens for the type of `filterIndex`
// (updated to the type last shown); a type change closes it and opens it again in the
// new type's folder. Returns the chosen file (GraphDirectory then becomes its folder)
// or nothing when cancelled.
std::optional<std::string>
ChooseSelectionFile(int& filterIndex,
                    const std::function<TSaveRun(int filterIndex, const TSaveStart&)>& run);

// The folder part of a path ("" when it has none).
std::string FolderOf(const std::string& path);

} // namespace ormaline
