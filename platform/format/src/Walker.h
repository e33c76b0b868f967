// Format control: hands out the descriptors of a parsed format one at a time, with
// repeat counts and groups unrolled; the reader and the writer decide what the final
// parenthesis means (stop, or a new record and reversion).
#ifndef VIREO_FORMAT_WALKER_H
#define VIREO_FORMAT_WALKER_H

#include "vireo/format/Format.h"

#include <utility>
#include <vector>

namespace vireo::format::detail {

class Walker {
public:
    explicit Walker(const Format& format) : nodes_(format.nodes()), reversion_(format.reversionPoint()) {}

    // The next descriptor to act on, or nullptr at the final parenthesis (the walker
    // stays there until revert()).
    const Node* next() {
        if (pending_ > 0) {
            --pending_;
            return &nodes_[current_];
        }
        while (pc_ + 1 < nodes_.size()) {
            const Node& n = nodes_[pc_];
            if (n.kind == Kind::groupOpen) {
                groups_.emplace_back(pc_, n.repeat);
                ++pc_;
                continue;
            }
            if (n.kind == Kind::groupClose) {
                auto& [open, left] = groups_.back();
                if (--left > 0) {
                    pc_ = open + 1;
                } else {
                    groups_.pop_back();
                    ++pc_;
                }
                continue;
            }
            current_ = pc_++;
            pending_ = n.repeat - 1;
            return &n;
        }
        return nullptr;
    }

    void revert() {
        pc_ = reversion_;
        pending_ = 0;
        groups_.clear();
    }

private:
    const std::vector<Node>& nodes_;
    std::size_t reversion_;
    std::size_t pc_ = 1;
    std::size_t current_ = 0;
    int pending_ = 0;
    std::vector<std::pair<std::size_t, int>> groups_;
};

}  // namespace vireo::format::detail

#endif
