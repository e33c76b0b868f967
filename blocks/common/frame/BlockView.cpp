#include "BlockView.h"

#include "vireo_tools.h"

namespace vireo::block {

BlockView::BlockView(const BlockIdentity& identity, const BlockArrays& arrays)
    : id_(identity), a_(arrays), inputs_(0) {
    // The engine allocates one IN element per connected input and says how many in
    // inputCount; the identity's maximum bounds it in case a caller says more.
    const int n = a_.IP[kInputCount];
    inputs_ = a_.IN == nullptr || n < 0 ? 0 : (n > id_.maxInputs ? id_.maxInputs : n);
}

std::string_view BlockView::trimmedText(int row) const {
    std::string_view t = text(row);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\0')) t.remove_suffix(1);
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    return t;
}

void BlockView::report(int code) {
    a_.IP[kStatus] = code;
    msg(a_.IP, a_.RP, a_.SP != nullptr ? a_.SP[0] : nullptr, kRow);
}

void BlockView::show(int code) {
    report(code);
    a_.IP[kStatus] = 0;
}

}  // namespace vireo::block
