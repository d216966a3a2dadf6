#include "parameter_blocks.h"

#include <ibase.h>

#include <stdexcept>

namespace qor::fbdriver {
namespace {

void addText(std::string& block, char tag, const std::string& value) {
    if (value.size() > 255) throw std::runtime_error("Connection parameter too long: " + value);
    block += tag;
    block += static_cast<char>(value.size());
    block += value;
}

void addInt(std::string& block, char tag, int value) {
    block += tag;
    block += static_cast<char>(4);
    for (int i = 0; i < 4; ++i) block += static_cast<char>((static_cast<unsigned>(value) >> (8 * i)) & 0xFF);
}

}  // namespace

std::string attachmentBlock(const std::string& user, const std::string& password,
                            const ConnectionOptions& options) {
    std::string block(1, static_cast<char>(isc_dpb_version1));
    if (!user.empty()) addText(block, isc_dpb_user_name, user);
    if (!password.empty()) addText(block, isc_dpb_password, password);
    if (!options.roleName.empty()) addText(block, isc_dpb_sql_role_name, options.roleName);
    if (!options.serverCharSet.empty()) addText(block, isc_dpb_lc_ctype, options.serverCharSet);
    addInt(block, isc_dpb_sql_dialect, options.dialect);
    return block;
}

std::string writeTransactionBlock(Isolation isolation, bool waitOnLocks) {
    std::string block{static_cast<char>(isc_tpb_version3), static_cast<char>(isc_tpb_write)};
    switch (isolation) {
    case Isolation::RepeatableRead:
        block += static_cast<char>(isc_tpb_concurrency);
        break;
    case Isolation::DirtyRead:
        // Firebird never shows uncommitted rows; the nearest is read committed that waits for
        // (or refuses) a row version still being written instead of reading the last committed.
        block += static_cast<char>(isc_tpb_read_committed);
        block += static_cast<char>(isc_tpb_no_rec_version);
        break;
    case Isolation::ReadCommitted:
        block += static_cast<char>(isc_tpb_read_committed);
        block += static_cast<char>(isc_tpb_rec_version);
        break;
    }
    block += static_cast<char>(waitOnLocks ? isc_tpb_wait : isc_tpb_nowait);
    return block;
}

std::string readTransactionBlock() {
    return {static_cast<char>(isc_tpb_version3), static_cast<char>(isc_tpb_read),
            static_cast<char>(isc_tpb_read_committed), static_cast<char>(isc_tpb_rec_version),
            static_cast<char>(isc_tpb_nowait)};
}

}  // namespace qor::fbdriver
