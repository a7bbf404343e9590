#include "ModelTestUtil.h"

#include "model/ElementCodes.h"

namespace ormaline::test {

std::string ListLabels(const tSteckAt* head) {
    std::string labels;
    for (; head != nullptr; head = head->li) {
        if (!labels.empty())
            labels += ' ';
        labels += std::string(ElSymbol(head->A.n)) + std::to_string(head->A.i);
    }
    return labels;
}

} // namespace ormaline::test
