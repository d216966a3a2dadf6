// A shared library that is no driver: it exports no driver entry function.
extern "C" int qorNotADriver() { return 0; }
