#include "viewer/core/PickIndex.h"

#include "viewer/core/SceneRecords.h"

namespace ormaline {

void TPickIndex::Clear() {
    valid_ = false;
    ik_.clear();
    jk_.clear();
    hk_.clear();
    rk_.clear();
    nodes_.clear();
}

void TPickIndex::Begin(std::size_t nodes, std::uint64_t projection, std::uint64_t nodeList) {
    Clear();
    for (std::vector<float>* values : {&ik_, &jk_, &hk_, &rk_})
        values->reserve(nodes);
    nodes_.reserve(nodes);
    projection_ = projection;
    nodeList_ = nodeList;
    valid_ = true;
}

void TPickIndex::Build(tTopAt* head, std::uint64_t projection, std::uint64_t nodeList) {
    std::size_t count = 0;
    for (const tTopAt* node = head; node != nullptr; node = node->li)
        ++count;
    Begin(count, projection, nodeList);
    for (tTopAt* node = head; node != nullptr; node = node->li)
        Add(node, node->ik, node->jk, node->hk, node->rk);
}

} // namespace ormaline
