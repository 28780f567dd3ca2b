// Writes the module's resources from the effect's identity: the registration resource's bytes, and the
// version resource as a resource script. Runs on the build machine, also in a cross build, so the Windows
// resource compiler embeds exactly what the compiler derived from the identity.
#include "PiplResource.h"
#include "VersionResource.h"

#include <cstdio>
#include <string>

namespace {

bool writeFile(const char* path, const std::string& content) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::perror(path);
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    std::fprintf(stderr, "%s: cannot write the resource\n", path);
    std::remove(path);
    return false;
}

// A resource-script string: quotes doubled, backslashes escaped. Anything but printable ASCII is refused,
// so a text can never reach Windows differently from how it is written in the identity.
bool quoted(const std::string& text, std::string& out) {
    out = "\"";
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E) return false;
        if (c == '"') out += '"';
        if (c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return true;
}

std::string parts(const Orvane::VersionResource::FourPartVersion& v) {
    return std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) + "," + std::to_string(v[3]);
}

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%X", static_cast<unsigned>(value));
    return text;
}

bool versionScript(std::string& script) {
    namespace V = Orvane::VersionResource;
    char table[16];
    std::snprintf(table, sizeof(table), "%04X%04X", static_cast<unsigned>(V::kLanguage),
                  static_cast<unsigned>(V::kCodePage));
    script = "// Written by the build from the effect's identity.\n" + std::to_string(V::kResourceId) +
             " VERSIONINFO\n"
             "FILEVERSION " + parts(V::kFileVersion) + "\nPRODUCTVERSION " + parts(V::kProductVersion) +
             "\nFILEFLAGSMASK " + hex(V::kFlagsMask) + "\nFILEFLAGS " + hex(V::kFileFlags) + "\nFILEOS " +
             hex(V::kFileOs) + "\nFILETYPE " + hex(V::kFileType) +
             "\nFILESUBTYPE 0x0\n"
             "BEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n    BLOCK \"" + table + "\"\n    BEGIN\n";
    for (const V::Text& text : V::texts()) {
        std::string value;
        if (!quoted(text.value, value)) {
            std::fprintf(stderr, "the version text %s holds characters a resource script cannot carry\n", text.key);
            return false;
        }
        script += std::string("      VALUE \"") + text.key + "\", " + value + "\n";
    }
    script += "    END\n  END\n  BLOCK \"VarFileInfo\"\n  BEGIN\n    VALUE \"Translation\", " + hex(V::kLanguage) +
              ", " + std::to_string(V::kCodePage) + "\n  END\nEND\n";
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PIPL.bin VERSION.rc\n", argc > 0 ? argv[0] : "generate-resources");
        return 2;
    }
    const auto& pipl = Orvane::Pipl::kResource;
    std::string script;
    if (!versionScript(script)) return 1;
    const bool ok = writeFile(argv[1], std::string(pipl.begin(), pipl.end())) && writeFile(argv[2], script);
    return ok ? 0 : 1;
}
