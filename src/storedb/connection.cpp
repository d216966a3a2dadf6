#include "storedb/connection.h"

#include <filesystem>
#include <optional>

#include "storedb/driver_errors.h"
#include "storedb/driver_library.h"
#include "text/ascii.h"
#include "text/builtin_account.h"
#include "text/errors.h"
#include "text/profile.h"

namespace qor::storedb {

namespace {

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

// A definition file's key, or empty when the file or the key is missing.
std::string definitionValue(const std::string& path, const std::string& section,
                            const std::string& key) {
    if (!fileExists(path)) return {};
    auto file = text::DefinitionFile::load(path);
    return file ? file->value(section, key) : std::string{};
}

// Keys the connect call takes itself; every other non-empty line goes to the driver.
bool isConnectKey(const std::string& key) {
    return text::equalsNoCase(key, "DriverName") || text::equalsNoCase(key, "Database") ||
           text::equalsNoCase(key, "User_Name") || text::equalsNoCase(key, "Password");
}

// A parameter's value as a number of `base`, blanks around it allowed.
std::optional<int> numberParam(const std::string& value, int base = 10) {
    return text::parseWholeNumber<int>(text::trimmedView(value), base);
}

}  // namespace

ParamList builtinStoreParams(const std::string& database) {
    return ParamList({
        {"DriverName", "Interbase"},
        {"Database", database},
        {"RoleName", "RoleName"},
        {"User_Name", std::string(text::kBuiltinUserName)},
        {"Password", std::string(text::kBuiltinPassword)},
        {"ServerCharSet", ""},
        {"SQLDialect", "3"},
        {"BlobSize", "-1"},
        {"CommitRetain", "False"},
        {"WaitOnLocks", "True"},
        {"ErrorResourceFile", ""},
        {"LocaleCode", "0000"},
        {"Interbase TransIsolation", "ReadCommited"},
        {"Trim Char", "False"},
    });
}

SqlConnection::SqlConnection(std::string name, const DefinitionPaths& paths,
                             std::string builtinDatabase)
    : name_(std::move(name)),
      paths_(paths),
      connectionsPath_(storedb::connectionDefinitionPath(paths)),
      params_(builtinStoreParams(builtinDatabase)) {}

SqlConnection::~SqlConnection() {
    try {
        close();
    } catch (...) {
        // Nothing can be reported at this point.
    }
}

bool SqlConnection::connected() const { return attachment_ && attachment_->connected(); }

void SqlConnection::open() {
    if (!connected()) connect();
}

dbx::Connection& SqlConnection::attachment() {
    open();
    return *attachment_;
}

// The checks run in this order, and the first that fails ends the connect with its text.
void SqlConnection::connect() {
    attachment_.reset();
    driver_.reset();

    if (loadParamsOnConnect_) loadDefinitions();
    else completeDriverNames();
    if (libraryName_.empty() || vendorLib_.empty()) throw Error("DLL/Shared Library Name not Set");
    const std::string database = text::trimBlanks(params_.value("Database"));
    if (database.empty()) throw Error("Missing Database property");

    std::unique_ptr<dbx::Driver> driver = loadDriver();
    std::unique_ptr<dbx::Connection> attachment = attach(*driver, database);
    blobSize_ = numberParam(params_.value("BlobSize")).value_or(-1);
    driver_ = std::move(driver);
    attachment_ = std::move(attachment);
}

// The parameter list from the connection's section (once), the driver's name from that
// section and the library names from the driver's section (at every connect).
void SqlConnection::loadDefinitions() {
    if (!paramsLoaded_) {
        if (!fileExists(connectionsPath_))
            throw Error(format("Driver/Connection Registry File '%s' not found", connectionsPath_));
        auto file = text::DefinitionFile::load(connectionsPath_);
        params_.assign(file ? file->section(connectionName_) : ParamList::Lines{});
        paramsLoaded_ = true;
    }
    driverName_ = definitionValue(connectionsPath_, connectionName_, "DriverName");
    if (driverName_.empty()) throw Error("Missing DriverName property");
    const std::string driversPath = driverDefinitionPath(paths_);
    libraryName_ = definitionValue(driversPath, driverName_, "LibraryName");
    vendorLib_ = text::trimBlanks(definitionValue(driversPath, driverName_, "VendorLib"));
    getDriverFunc_ = definitionValue(driversPath, driverName_, "GetDriverFunc");
}

// Properties set in code stay; names left empty come from the driver-definition file.
void SqlConnection::completeDriverNames() {
    if (driverName_.empty()) throw Error("Missing DriverName property");
    if (!libraryName_.empty() && !vendorLib_.empty() && !getDriverFunc_.empty()) return;
    const std::string driversPath = driverDefinitionPath(paths_);
    if (libraryName_.empty())
        libraryName_ = definitionValue(driversPath, driverName_, "LibraryName");
    if (vendorLib_.empty())
        vendorLib_ = text::trimBlanks(definitionValue(driversPath, driverName_, "VendorLib"));
    if (getDriverFunc_.empty())
        getDriverFunc_ = definitionValue(driversPath, driverName_, "GetDriverFunc");
}

// The shared driver library, its entry function, then a driver over the client library.
std::unique_ptr<dbx::Driver> SqlConnection::loadDriver() {
    void* library = loadDriverLibrary(libraryName_, paths_.executableDir());
    dbx::GetDriverFunc entry = findDriverEntry(library, getDriverFunc_);
    const std::string errorFile = params_.value("ErrorResourceFile");
    std::unique_ptr<dbx::Driver> driver(driverCall([&] {
        std::string error;
        return entry(vendorLib_.c_str(), errorFile.c_str(), &error);
    }));
    if (!driver) throw Error(format("Unable to Load %s", vendorLib_));
    return driver;
}

// A new attachment given every other non-empty parameter as an option, then connected.
std::unique_ptr<dbx::Connection> SqlConnection::attach(dbx::Driver& driver,
                                                       const std::string& database) {
    std::unique_ptr<dbx::Connection> attachment =
        driverCall([&] { return driver.createConnection(); });
    const std::string isolationKey = driverName_ + " TransIsolation";
    driverCall([&] {
        for (auto& [key, value] : params_.lines()) {
            if (value.empty() || isConnectKey(key)) continue;
            // The driver knows the isolation key by its own driver's name.
            if (text::equalsNoCase(key, isolationKey)) attachment->setOption("Interbase TransIsolation", value);
            else attachment->setOption(key, value);
        }
        attachment->connect(database, params_.value("User_Name"), params_.value("Password"));
    });
    return attachment;
}

void SqlConnection::close() {
    if (attachment_) {
        // A transaction still open when the connection closes is rolled back, so the
        // attachment can end.
        if (attachment_->connected() && attachment_->inTransaction()) {
            try {
                attachment_->rollback();
            } catch (const std::exception&) {
            }
        }
        try {
            if (attachment_->connected()) attachment_->disconnect();
        } catch (const std::exception&) {
        }
    }
    attachment_.reset();
    driver_.reset();
    paramsLoaded_ = false;
}

int SqlConnection::rowsetSize() const {
    return numberParam(params_.value("RowsetSize")).value_or(20);
}

int SqlConnection::localeCode() const {
    return numberParam(params_.value("LocaleCode"), 16).value_or(0);
}

// The driver keeps the one record of the transaction, so a commit or rollback that fails and
// ends it anyway leaves nothing here to put right.
bool SqlConnection::inTransaction() const { return connected() && attachment_->inTransaction(); }

void SqlConnection::requireTransaction() const {
    if (!inTransaction()) throw Error("There is no active transaction");
}

void SqlConnection::startTransaction(const TransactionDesc& desc) {
    open();
    if (inTransaction()) throw Error("A transaction is already active");
    const int isolation = desc.isolationLevel <= kDirtyRead ? static_cast<int>(desc.isolationLevel)
                                                            : dbx::kConnectionIsolation;
    runHarmless([&](dbx::Connection& attachment) { attachment.startTransaction(isolation); });
}

void SqlConnection::commit(const TransactionDesc&) {
    requireTransaction();
    driverCall([&] { attachment_->commit(); });
}

void SqlConnection::rollback(const TransactionDesc&) {
    requireTransaction();
    driverCall([&] { attachment_->rollback(); });
}

}  // namespace qor::storedb
