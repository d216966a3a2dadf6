#pragma once
// An XSQLDA with room for a number of variables, and the data areas of a result row.
#include <ibase.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace qor::fbdriver {

class Sqlda {
public:
    explicit Sqlda(int capacity = 1);

    XSQLDA* get() { return da_.get(); }
    const XSQLDA* get() const { return da_.get(); }
    // Variables the statement has (may exceed capacity() before a second describe).
    int count() const { return da_->sqld; }
    int capacity() const { return da_->sqln; }
    XSQLVAR& var(int i) { return da_->sqlvar[i]; }
    const XSQLVAR& var(int i) const { return da_->sqlvar[i]; }

    // Makes room for `capacity` variables; the description is lost and must be asked again.
    void reserve(int capacity);

    // Gives every described variable a data area of its described size and an indicator, and
    // marks it nullable so that a null always shows in the indicator. For result rows.
    void allocateRowBuffers();

private:
    struct Free {
        void operator()(XSQLDA* da) const { ::operator delete(da); }
    };
    std::unique_ptr<XSQLDA, Free> da_;
    std::vector<std::max_align_t> data_;
    std::vector<short> indicators_;
};

// The base type of a variable, without the nullable flag.
inline int baseType(const XSQLVAR& var) { return var.sqltype & ~1; }

}  // namespace qor::fbdriver
