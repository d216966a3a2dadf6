// qor-query: the IT person's check that the store database and the gateway answer.
//   qor-query store "<statement>"     runs it on the store database (dbxconnections.ini, "Tendro")
//   qor-query gateway "<statement>"   sends it through the gateway (httpset.ini)
#include <cstring>
#include <iostream>

int runStoreQuery(const char* statement);
int runGatewayQuery(const char* statement);

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "store") == 0) return runStoreQuery(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "gateway") == 0) return runGatewayQuery(argv[2]);
    std::cerr << "usage: qor-query store \"<statement>\"\n"
                 "       qor-query gateway \"<statement>\"\n";
    return 2;
}
