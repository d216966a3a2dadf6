#include "test_authority.h"

#include <boost/asio/ip/address.hpp>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

namespace qor::test {
namespace {

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// Runs one openssl command line, its output kept in <folder>/openssl.log.
void openssl(const std::string& folder, const std::string& arguments) {
    const std::string log = folder + "/openssl.log";
    const std::string command = "openssl " + arguments + " >" + quoted(log) + " 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::ifstream in(log);
        std::ostringstream output;
        output << in.rdbuf();
        throw std::runtime_error("failed: " + command + "\n" + output.str());
    }
}

bool isIpAddress(const std::string& name) {
    boost::system::error_code notAnAddress;
    boost::asio::ip::make_address(name, notAnAddress);
    return !notAnAddress;
}

}  // namespace

TestAuthority::TestAuthority(std::string folder, const std::string& name)
    : folder_(std::move(folder)),
      certificate_(folder_ + "/" + name + "-ca.pem"),
      key_(folder_ + "/" + name + "-ca.key") {
    openssl(folder_, "req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30"
                     " -subj " + quoted("/CN=" + name + " test authority") +
                     " -addext basicConstraints=critical,CA:TRUE"
                     " -addext keyUsage=critical,keyCertSign,cRLSign"
                     " -keyout " + quoted(key_) + " -out " + quoted(certificate_));
}

TestAuthority::Issued TestAuthority::issue(const std::string& name,
                                           const std::vector<std::string>& names, int days) const {
    const Issued issued{folder_ + "/" + name + ".pem", folder_ + "/" + name + ".key"};
    const std::string request = folder_ + "/" + name + ".csr";
    const std::string extensions = folder_ + "/" + name + ".ext";
    std::string alternatives;
    for (const std::string& each : names)
        alternatives += (alternatives.empty() ? "" : ",") +
                        std::string(isIpAddress(each) ? "IP:" : "DNS:") + each;
    std::ofstream(extensions) << "basicConstraints=CA:FALSE\n"
                                 "keyUsage=critical,digitalSignature\n"
                                 "extendedKeyUsage=serverAuth\n"
                                 "subjectAltName=" << alternatives << "\n";
    openssl(folder_, "req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
                     " -subj " + quoted("/CN=" + names.front()) +
                     " -keyout " + quoted(issued.key) + " -out " + quoted(request));
    // -days -1: valid until a day before it was made, so expired.
    openssl(folder_, "x509 -req -in " + quoted(request) + " -CA " + quoted(certificate_) +
                     " -CAkey " + quoted(key_) + " -set_serial " +
                     std::to_string(std::hash<std::string>{}(name) % 1000000000) +
                     " -days " + std::to_string(days) + " -extfile " + quoted(extensions) +
                     " -out " + quoted(issued.certificate));
    return issued;
}

}  // namespace qor::test
