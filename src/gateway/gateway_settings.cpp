#include "gateway/gateway_settings.h"

#include "text/profile.h"

namespace qor::gateway {

std::string GatewaySettings::queryUrl() const {
    return "http://" + host + ":" + port + "/oVat/" + driver + "/index.php";
}

GatewaySettings readGatewaySettings(const std::string& folder) {
    std::string path = folder.empty() ? std::string("httpset.ini") : folder + "/httpset.ini";
    const auto profile = text::ProfileFile::load(path);
    GatewaySettings settings;
    settings.host = profile.readString("set", "host", settings.host);
    settings.userName = profile.readString("set", "user_name", settings.userName);
    settings.password = profile.readString("set", "password", settings.password);
    settings.port = profile.readString("set", "port", settings.port);
    settings.driver = profile.readString("set", "driver", settings.driver);
    return settings;
}

}  // namespace qor::gateway
