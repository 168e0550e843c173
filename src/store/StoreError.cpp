#include "store/StoreError.h"

namespace quenmar::store {

std::string_view saveMessage(const Result<void, StoreError>& saved) {
    return saved ? "保存成功" : "保存失败";
}

} // namespace quenmar::store
