#include "sqlda.h"

#include <cstring>

namespace qor::fbdriver {

Sqlda::Sqlda(int capacity) { reserve(capacity); }

void Sqlda::reserve(int capacity) {
    if (capacity < 1) capacity = 1;
    const size_t bytes = XSQLDA_LENGTH(capacity);
    auto* da = static_cast<XSQLDA*>(::operator new(bytes));
    std::memset(da, 0, bytes);
    da->version = SQLDA_VERSION1;
    da->sqln = static_cast<ISC_SHORT>(capacity);
    da_.reset(da);
    data_.clear();
    indicators_.clear();
}

void Sqlda::allocateRowBuffers() {
    const int n = count();
    constexpr size_t align = sizeof(std::max_align_t);
    std::vector<size_t> offsets(n);
    size_t total = 0;
    for (int i = 0; i < n; ++i) {
        XSQLVAR& v = var(i);
        size_t size = static_cast<unsigned short>(v.sqllen);
        if (baseType(v) == SQL_VARYING) size += sizeof(short);
        if (size == 0) size = 1;
        offsets[i] = total;
        total += (size + align - 1) / align * align;
    }
    data_.assign(total / align + 1, std::max_align_t{});
    indicators_.assign(n, 0);
    char* base = reinterpret_cast<char*>(data_.data());
    for (int i = 0; i < n; ++i) {
        XSQLVAR& v = var(i);
        v.sqldata = base + offsets[i];
        v.sqlind = &indicators_[i];
        v.sqltype = static_cast<ISC_SHORT>(v.sqltype | 1);
    }
}

}  // namespace qor::fbdriver
