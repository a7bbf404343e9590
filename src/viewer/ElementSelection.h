// The texts of the element table in selection mode: the included symbols (StrDownEl)
// and the excluded ones (StrUpEl), each symbol followed by a blank, as the element
// buttons are pressed and released. Qt-free.
#pragma once

#include <string>
#include <string_view>

namespace ormaline {

struct TElementSelection {
    std::string StrDownEl; // included symbols
    std::string StrUpEl;   // excluded symbols

    // A button pressed down: removed from the excluded list, otherwise included.
    void Press(std::string_view symbol);
    // A button released: removed from the included list, otherwise excluded.
    void Release(std::string_view symbol);
    // StrDownEl, followed by "- " and StrUpEl when that is not empty.
    std::string Text() const;
    // The lists of a typed text: trimmed, a trailing blank added when not empty; the part
    // before "-" is included, the part after "-" and one more character excluded.
    void InitFromText(std::string_view text);
    // "PS": every element but X, XX and the pseudo-elements.
    void PS();
    void AllDown();
    void AllUp();
};

// True when `list` holds `symbol` followed by a blank as a whole word.
bool ListHasSymbol(const std::string& list, std::string_view symbol);
// Removes the first whole-word occurrence of `symbol` and its blank.
bool RemoveSymbol(std::string& list, std::string_view symbol);

} // namespace ormaline
