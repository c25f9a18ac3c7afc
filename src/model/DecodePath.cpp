#include "model/DecodePath.h"

namespace olvane {

std::string DecodePath::text() const {
    if (parent_ == nullptr) {
        return {};
    }
    auto path = parent_->text();
    if (key_.empty()) {
        return path + "[" + std::to_string(index_) + "]";
    }
    return path.empty() ? std::string(key_) : path + "." + std::string(key_);
}

}  // namespace olvane
