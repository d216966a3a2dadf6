#pragma once
// The driver reports failures as std::runtime_error carrying its own text; the layer passes
// them on as qor::Error with that text, which ends the user's action. A failure the database
// reported keeps its codes on the way.
#include <stdexcept>
#include <utility>

#include "storedb/dbx_driver.h"
#include "text/errors.h"

namespace qor::storedb {

template <typename Fn>
decltype(auto) driverCall(Fn&& fn) {
    try {
        return std::forward<Fn>(fn)();
    } catch (const Error&) {
        throw;
    } catch (const dbx::DatabaseError& e) {
        throw Error(e.what(), e.codes());
    } catch (const std::exception& e) {
        throw Error(e.what());
    }
}

}  // namespace qor::storedb
