// Writes the registration resource's bytes to the file named on the command line. Runs on the build
// machine, also in a cross build, so the Windows resource compiler embeds exactly the bytes the
// compiler derived from the effect's identity.
#include "PiplResource.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argc > 0 ? argv[0] : "generate-pipl");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const auto& bytes = Orvane::Pipl::kResource;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "%s: cannot write the resource\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
