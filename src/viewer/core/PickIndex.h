// The projected positions of the nodes (ik, jk, hk and rk as GetIntK stored them, model
// units in screen axes) kept in contiguous arrays in list order, so that finding the node
// under the mouse reads a few megabytes in sequence instead of walking the whole node
// list. GetIntK fills it while it projects; it is valid until the next projection or
// the next change of the node list.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace ormaline {

struct tTopAt;

class TPickIndex {
public:
    // A node as it was projected.
    struct TEntry {
        float ik, jk, hk, rk;
        tTopAt* node;
    };

    bool ValidFor(std::uint64_t projection, std::uint64_t nodeList) const {
        return valid_ && projection_ == projection && nodeList_ == nodeList;
    }
    // A new projection of a list of about `nodes` nodes; Add each node in list order.
    void Begin(std::size_t nodes, std::uint64_t projection, std::uint64_t nodeList);
    void Add(tTopAt* node, float ik, float jk, float hk, float rk) {
        ik_.push_back(ik);
        jk_.push_back(jk);
        hk_.push_back(hk);
        rk_.push_back(rk);
        nodes_.push_back(node);
    }
    // The index of the node list from `head` with the values stored in its nodes.
    void Build(tTopAt* head, std::uint64_t projection, std::uint64_t nodeList);
    void Clear();

    // Calls visit(entry) for every node whose square (projected centre +- rk) contains the
    // point (a, b), in list order; the caller applies the rest of the test.
    template <class Visit> void ForSquareHits(double a, double b, Visit&& visit) const {
        const std::size_t count = nodes_.size();
        for (std::size_t k = 0; k < count; ++k) {
            const double r = rk_[k];
            if (std::fabs(ik_[k] - a) < r && std::fabs(jk_[k] - b) < r)
                visit(TEntry{ik_[k], jk_[k], hk_[k], rk_[k], nodes_[k]});
        }
    }

private:
    bool valid_ = false;
    std::uint64_t projection_ = 0, nodeList_ = 0;
    std::vector<float> ik_, jk_, hk_, rk_;
    std::vector<tTopAt*> nodes_;
};

} // namespace ormaline
