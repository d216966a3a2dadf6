// The store database file read-only when the program first opens it: each store action gives
// Firebird's message and leaves the file as it was; once the file may be written again, the
// same window lists, imports and transfers without a restart.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "shared_gateway.h"
#include "store_fixture.h"

namespace qor::faults {
namespace {

namespace fs = std::filesystem;

constexpr int kItems = 5;

// A file nobody may write while the object lives: no write permission, and for a process
// that may write anyway (root) the file system's immutable flag.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string path) : path_(std::move(path)) {
        fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read);
        if (::geteuid() == 0) immutable_ = setImmutable(true);
    }
    ~ReadOnlyFile() { restore(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool inForce() const { return ::geteuid() != 0 || immutable_; }
    void restore() {
        if (immutable_) immutable_ = !setImmutable(false);
        fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write |
                                   fs::perms::group_read | fs::perms::group_write);
    }

private:
    bool setImmutable(bool on) const {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    std::string path_;
    bool immutable_ = false;
};

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class ReadOnlyStore : public qor::test::SharedGateway<ReadOnlyStore, StoreFixture> {
protected:
    static void SetUpTestSuite() { startGateway(headOfficeRows(kItems)); }
    void SetUp() override {
        openWorkflows(store.folder().string(), {store.path(), {}, {}}, gateway.get());
    }

    qor::test::TempDatabase store{storeRows(kItems)};
};


TEST_F(ReadOnlyStore, EachActionGivesTheDatabasesMessageAndTheNextAfterTheFileIsWritableWorks) {
    const std::string before = bytesOf(store.path());
    ReadOnlyFile readOnly(store.path());
    if (!readOnly.inForce()) GTEST_SKIP() << "this file system cannot keep root from writing";

    downloadFreshGoods();
    downloadPromotions();
    ASSERT_EQ(w->dialogs.boxes.size(), 2u) << boxTexts();
    for (const Box& box : w->dialogs.boxes) {
        EXPECT_EQ(box.kind, Box::Error);
        EXPECT_EQ(box.text, "no permission for read-write access to database " + store.path());
    }
    EXPECT_FALSE(products().active());
    EXPECT_FALSE(w->objects.CDS_PsaleMaster.active());
    EXPECT_FALSE(w->objects.SQLConnection1.connected());

    readOnly.restore();
    EXPECT_EQ(bytesOf(store.path()), before);
    w->dialogs.boxes.clear();
    downloadFreshGoods();
    ASSERT_EQ(products().recordCount(), kFreshGoods) << boxTexts();
    importAll();
    downloadPromotions();
    checkAndTransfer();
    EXPECT_TRUE(w->dialogs.boxes.empty()) << boxTexts();
    EXPECT_EQ(importedFreshGoods(), std::size_t(kFreshGoods));
    EXPECT_EQ(transferredMasters(), 1u);
    EXPECT_EQ(transferredItems(), std::size_t(kItems));
}

}  // namespace
}  // namespace qor::faults
