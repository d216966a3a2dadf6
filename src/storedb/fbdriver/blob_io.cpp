#include "blob_io.h"

#include <algorithm>
#include <vector>

#include "status.h"

namespace qor::fbdriver {
namespace {

// Closes a blob handle on every way out.
class BlobHandle {
public:
    explicit BlobHandle(const ClientApi& api) : api_(api) {}
    ~BlobHandle() {
        if (handle_) {
            Status ignored;
            api_.close_blob(ignored.get(), &handle_);
        }
    }
    isc_blob_handle* get() { return &handle_; }
    void close() {
        Status status;
        api_.close_blob(status.get(), &handle_);
        check(api_, status);
        handle_ = 0;
    }

private:
    const ClientApi& api_;
    isc_blob_handle handle_ = 0;
};

}  // namespace

std::string readBlob(const ClientApi& api, isc_db_handle* db, isc_tr_handle* tr, ISC_QUAD id,
                     long limit) {
    std::string bytes;
    if (limit == 0) return bytes;
    BlobHandle blob(api);
    Status status;
    api.open_blob2(status.get(), db, tr, blob.get(), &id, 0, nullptr);
    check(api, status);
    std::vector<char> buffer(65535);
    for (;;) {
        unsigned short got = 0;
        ISC_STATUS rc = api.get_segment(status.get(), blob.get(), &got,
                                        static_cast<unsigned short>(buffer.size()), buffer.data());
        // A segment longer than the buffer arrives in pieces, each reported as isc_segment.
        if (rc != 0 && rc != isc_segment) {
            if (rc == isc_segstr_eof) break;
            check(api, status);
        }
        bytes.append(buffer.data(), got);
        if (limit > 0 && bytes.size() >= static_cast<size_t>(limit)) {
            bytes.resize(static_cast<size_t>(limit));
            break;
        }
    }
    blob.close();
    return bytes;
}

ISC_QUAD writeBlob(const ClientApi& api, isc_db_handle* db, isc_tr_handle* tr,
                   const std::string& bytes) {
    BlobHandle blob(api);
    ISC_QUAD id{};
    Status status;
    api.create_blob2(status.get(), db, tr, blob.get(), &id, 0, nullptr);
    check(api, status);
    constexpr size_t segment = 32768;
    for (size_t at = 0; at < bytes.size(); at += segment) {
        size_t n = std::min(segment, bytes.size() - at);
        api.put_segment(status.get(), blob.get(), static_cast<unsigned short>(n), bytes.data() + at);
        check(api, status);
    }
    blob.close();
    return id;
}

}  // namespace qor::fbdriver
