#include "store/StoreError.h"

namespace quenmar::store {

std::string_view saveMessage(const Result<void, StoreError>& saved) {
    return saved ? "保存成功" : "保存失败";
}

std::string_view storeErrorText(StoreError error) {
    switch (error) {
    case StoreError::OpenFailed:
        return "数据库文件无法打开";
    case StoreError::Busy:
        return "数据库文件被另一个程序锁定";
    case StoreError::NotADatabase:
        return "文件不是数据库或已损坏";
    case StoreError::MissingTable:
        return "数据库中没有 wnx_table 表";
    case StoreError::MissingColumn:
        return "wnx_table 表缺少列";
    case StoreError::StatementFailed:
        return "数据库语句执行失败";
    case StoreError::NoSuchRow:
        return "记录已不存在";
    }
    return "数据库语句执行失败";
}

std::string readErrorMessage(StoreError error) {
    return "历史记录无法读取: " + std::string(storeErrorText(error));
}

} // namespace quenmar::store
