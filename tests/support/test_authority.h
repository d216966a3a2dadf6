#pragma once
// TestAuthority: a certificate authority made for a test with the openssl command, and the
// gateway certificates it issues; all of it in the folder given, as PEM files.
//
//     qor::test::TempFolder folder("qor-tls-");
//     qor::test::TestAuthority authority(folder.path().string(), "head-office");
//     auto issued = authority.issue("gateway", {"127.0.0.1", "localhost"});
//     GatewayProcess gateway(rows, {}, {"--tls-cert", issued.certificate,
//                                       "--tls-key", issued.key});
//     // the store's httpset.ini: tls=1, cafile=<authority.certificate()>
//
// Keys are EC P-256: made in milliseconds. A step that fails throws std::runtime_error with
// the openssl command's output.
#include <string>
#include <vector>

namespace qor::test {

class TestAuthority {
public:
    // <folder>/<name>-ca.pem and its key, a self-signed authority valid for 30 days.
    TestAuthority(std::string folder, const std::string& name);

    // The authority's certificate: what a store's "cafile" names.
    const std::string& certificate() const { return certificate_; }

    struct Issued {
        std::string certificate;  // <folder>/<name>.pem
        std::string key;          // <folder>/<name>.key
    };
    // A certificate for `names` (IP addresses or DNS names, its subject alternative names),
    // signed by this authority, valid from now for `days`; a negative `days` gives one that
    // expired that many days ago.
    Issued issue(const std::string& name, const std::vector<std::string>& names,
                 int days = 30) const;

private:
    std::string folder_;
    std::string certificate_, key_;
};

}  // namespace qor::test
