#include "RectUnion.h"

#include <algorithm>

namespace Orvane {

namespace {
bool isEmpty(const PF_LRect& r) { return r.left >= r.right || r.top >= r.bottom; }
} // namespace

void RectUnion(const PF_LRect& src, PF_LRect& dst) {
    if (isEmpty(dst)) {
        dst = src;
        return;
    }
    if (isEmpty(src)) return;
    dst = PF_LRect{std::min(src.left, dst.left), std::min(src.top, dst.top), std::max(src.right, dst.right),
                   std::max(src.bottom, dst.bottom)};
}

} // namespace Orvane
