#include "gateway/gateway_settings.h"

#include "text/ascii.h"
#include "text/profile.h"

namespace qor::gateway {

std::string GatewaySettings::queryUrl() const {
    return (tls ? "https://" : "http://") + host + ":" + port + "/oVat/" + driver + "/index.php";
}

GatewaySettings readGatewaySettings(const std::string& folder) {
    std::string path = folder.empty() ? std::string("httpset.ini") : folder + "/httpset.ini";
    const auto profile = text::ProfileFile::load(path);
    GatewaySettings settings;
    settings.host = profile.readString("set", "host", settings.host);
    settings.userName = profile.readString("set", "user_name", settings.userName);
    settings.password = profile.readString("set", "password", settings.password);
    const std::string tls = text::trimBlanks(profile.readString("set", "tls", ""));
    settings.tls = tls == "1" || text::isOn(tls);
    settings.port = profile.readString("set", "port", settings.tls ? "443" : settings.port);
    settings.driver = profile.readString("set", "driver", settings.driver);
    settings.caFile = profile.readString("set", "cafile", "");
    return settings;
}

}  // namespace qor::gateway
