#include "viewer/ElementSelection.h"

#include "model/TextUtil.h"

namespace ormaline {
namespace {

// Position of "symbol " as a whole word of the list, or npos.
std::size_t FindSymbol(const std::string& list, std::string_view symbol) {
    const std::string word = std::string(symbol) + " ";
    for (std::size_t at = list.find(word); at != std::string::npos; at = list.find(word, at + 1))
        if (at == 0 || list[at - 1] == ' ')
            return at;
    return std::string::npos;
}

} // namespace

bool ListHasSymbol(const std::string& list, std::string_view symbol) {
    return FindSymbol(list, symbol) != std::string::npos;
}

bool RemoveSymbol(std::string& list, std::string_view symbol) {
    const std::size_t at = FindSymbol(list, symbol);
    if (at == std::string::npos)
        return false;
    list.erase(at, symbol.size() + 1);
    return true;
}

void TElementSelection::Press(std::string_view symbol) {
    if (!RemoveSymbol(StrUpEl, symbol))
        StrDownEl += std::string(symbol) + " ";
}

void TElementSelection::Release(std::string_view symbol) {
    if (!RemoveSymbol(StrDownEl, symbol))
        StrUpEl += std::string(symbol) + " ";
}

std::string TElementSelection::Text() const {
    return StrUpEl.empty() ? StrDownEl : StrDownEl + "- " + StrUpEl;
}

void TElementSelection::InitFromText(std::string_view typed) {
    std::string text = Trim(typed);
    if (!text.empty())
        text += ' ';
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos) {
        StrDownEl = text;
        StrUpEl.clear();
        return;
    }
    StrDownEl = text.substr(0, dash);
    StrUpEl = dash + 2 <= text.size() ? text.substr(dash + 2) : std::string();
}

void TElementSelection::PS() {
    StrDownEl = "El ";
    StrUpEl = "X XX ZA ZB ZC ZD ZE ZF ZG ZH ZI ZJ ";
}

void TElementSelection::AllDown() {
    StrDownEl = "El ";
    StrUpEl.clear();
}

void TElementSelection::AllUp() {
    StrDownEl.clear();
    StrUpEl.clear();
}

} // namespace ormaline
