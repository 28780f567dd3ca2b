// orvane-render: drives the effect module as a host would. For now it shows what the effect registers.
#include "host/Host.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    try {
        OrvaneHost::Host host(argc > 1 ? argv[1] : OrvaneHost::defaultModulePath());
        if (PF_Err err = host.about()) {
            std::fprintf(stderr, "About failed: %d\n", static_cast<int>(err));
            return 1;
        }
        std::printf("%s\n", host.outData().return_msg);
        if (PF_Err err = host.globalSetup()) {
            std::fprintf(stderr, "global setup failed: %d\n", static_cast<int>(err));
            return 1;
        }
        std::printf("version 0x%08X, out flags 0x%08X, out flags 2 0x%08X\n", host.outData().my_version,
                    static_cast<unsigned>(host.outData().out_flags), static_cast<unsigned>(host.outData().out_flags2));
        host.globalSetdown();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane-render: %s\n", e.what());
        return 1;
    }
}
