#include "Inspect.h"

#include "ToolError.h"

#include "host/ModuleFile.h"
#include "host/RegularFile.h"
#include "host/pe/ModuleRegistration.h"
#include "host/pe/VersionInfo.h"
#include "sdk/host_effect.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace OrvaneTools {

namespace {

using namespace OrvaneHost::Pe;

struct FlagName {
    std::uint32_t bit;
    const char* name;
};

const FlagName kOutFlagNames[] = {
    {PF_OutFlag_DISPLAY_ERROR_MESSAGE, "PF_OutFlag_DISPLAY_ERROR_MESSAGE"},
    {PF_OutFlag_REFRESH_UI, "PF_OutFlag_REFRESH_UI"},
    {PF_OutFlag_FORCE_RERENDER, "PF_OutFlag_FORCE_RERENDER"},
    {PF_OutFlag_DEEP_COLOR_AWARE, "PF_OutFlag_DEEP_COLOR_AWARE"},
    {PF_OutFlag_SEND_UPDATE_PARAMS_UI, "PF_OutFlag_SEND_UPDATE_PARAMS_UI"},
};
const FlagName kOutFlag2Names[] = {
    {PF_OutFlag2_SUPPORTS_SMART_RENDER, "PF_OutFlag2_SUPPORTS_SMART_RENDER"},
    {PF_OutFlag2_FLOAT_COLOR_AWARE, "PF_OutFlag2_FLOAT_COLOR_AWARE"},
};
const FlagName kFileFlagNames[] = {
    {0x01, "debug"}, {0x02, "prerelease"}, {0x04, "patched"}, {0x08, "private build"}, {0x10, "info inferred"},
    {0x20, "special build"},
};

std::string hex8(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof(text), "0x%04X", static_cast<unsigned>(value));
    return text;
}

// Text from the file is shown as is only where it is printable, so a hostile module cannot drive the terminal.
std::string printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out;
}

template <std::size_t N> std::string flagNames(std::uint32_t flags, const FlagName (&names)[N]) {
    std::string out;
    for (unsigned bit = 0; bit < 32; ++bit) {
        const std::uint32_t mask = std::uint32_t{1} << bit;
        if ((flags & mask) == 0) continue;
        std::string name = "bit " + std::to_string(bit);
        for (const FlagName& f : names)
            if (f.bit == mask) name = f.name;
        out += (out.empty() ? "" : " | ") + name;
    }
    return out.empty() ? "none" : out;
}

std::string versionText(std::uint32_t packed) {
    const UnpackedVersion v = unpackVersion(packed);
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.bugfix) + " (stage " +
           std::to_string(v.stage) + ", build " + std::to_string(v.build) + ")  [" + hex8(packed) + "]";
}

template <class T, class Show> std::string optionalText(const std::optional<T>& value, Show show) {
    return value ? show(*value) : std::string("(not declared)");
}

std::string pairText(const VersionPair& v) { return std::to_string(v.major) + "." + std::to_string(v.minor); }

void printRegistration(const ModuleRegistration& m, std::ostream& out) {
    const Registration& r = m.registration;
    out << "registration: resource " << printable(m.resource.type.describe()) << " "
        << printable(m.resource.name.describe()) << ", language " << m.resource.language << ", "
        << m.bytes.size() << " bytes, " << m.properties.properties.size() << " properties\n";
    out << "  kind          " << printable(r.kind) << (r.kind == "eFKT" ? " (effect)" : "") << "\n";
    out << "  name          " << printable(r.name) << "\n";
    out << "  category      " << printable(r.category) << "\n";
    out << "  match name    " << printable(r.matchName) << "\n";
    out << "  entry point   " << printable(r.entryPoint) << "\n";
    out << "  version       " << optionalText(r.version, versionText) << "\n";
    out << "  list format   " << optionalText(r.propertyListVersion, pairText) << "\n";
    out << "  interface     " << optionalText(r.interfaceVersion, pairText) << "\n";
    out << "  info flags    "
        << optionalText(r.infoFlags, [](std::uint16_t f) { return hex4(f) + (f == 0 ? "  none" : ""); }) << "\n";
    out << "  out flags     "
        << optionalText(r.outFlags, [](std::uint32_t f) { return hex8(f) + "  " + flagNames(f, kOutFlagNames); })
        << "\n";
    out << "  out flags 2   "
        << optionalText(r.outFlags2, [](std::uint32_t f) { return hex8(f) + "  " + flagNames(f, kOutFlag2Names); })
        << "\n";

    out << "exports" << (m.exports.moduleName.empty() ? "" : " of " + printable(m.exports.moduleName)) << ": "
        << m.exports.exports.size() << "\n";
    for (const Export& e : m.exports.exports) {
        out << "  ordinal " << e.ordinal << "  " << (e.name.empty() ? "(no name)" : printable(e.name));
        if (!e.forwarder.empty())
            out << "  forwarded to " << printable(e.forwarder);
        else
            out << "  at " << hex8(e.rva);
        out << "\n";
    }
    out << "imports:";
    for (const std::string& library : m.imports) out << " " << printable(library);
    out << (m.imports.empty() ? " none\n" : "\n");
}

std::string fileTypeText(const VersionInfo& v) {
    const char* type = v.fileType == 1 ? "application" : v.fileType == 2 ? "dynamic library" : "other";
    const char* os = v.os == 0x00040004 ? "Windows NT" : "other system";
    return hex8(v.fileType) + " " + type + ", system " + hex8(v.os) + " " + os;
}

// What Windows shows in the file's properties.
void printVersion(const std::optional<ModuleVersion>& version, std::ostream& out) {
    if (!version) {
        out << "version resource: none\n";
        return;
    }
    const VersionInfo& v = version->info;
    out << "version resource: " << version->resource.type.describe() << " "
        << printable(version->resource.name.describe()) << ", language " << version->resource.language << ", "
        << version->resource.size << " bytes\n";
    out << "  file version     " << dottedVersion(v.fileVersion) << "\n";
    out << "  product version  " << dottedVersion(v.productVersion) << "\n";
    const std::uint32_t flags = v.flags & v.flagsMask;
    out << "  flags            " << hex8(flags) << "  " << flagNames(flags, kFileFlagNames) << "\n";
    out << "  file type        " << fileTypeText(v) << "\n";
    for (const VersionStringTable& table : v.stringTables) {
        out << "  texts " << printable(table.key) << "\n";
        for (const auto& [key, value] : table.strings) {
            const std::string name = printable(key);
            out << "    " << name << std::string(name.size() < 18 ? 18 - name.size() : 1, ' ') << printable(value)
                << "\n";
        }
    }
    out << "  translations    ";
    for (const VersionTranslation& t : v.translations)
        out << " language " << hex4(t.language) << " code page " << t.codePage;
    out << (v.translations.empty() ? " none\n" : "\n");
}

// What would stop a host from listing or loading the effect, although the file itself is well formed.
std::vector<std::string> registrationProblems(const ModuleRegistration& m) {
    std::vector<std::string> problems;
    const Registration& r = m.registration;
    if (m.machine != kMachineAmd64) problems.push_back("the module is not built for x86-64 (machine " + hex8(m.machine) + ")");
    if (r.kind != "eFKT") problems.push_back("the registration does not declare an effect (kind '" + printable(r.kind) + "')");
    if (r.name.empty()) problems.push_back("the registration declares no name");
    if (r.entryPoint.empty()) {
        problems.push_back("the registration declares no x86-64 entry point");
    } else {
        bool exported = false;
        for (const Export& e : m.exports.exports) exported = exported || (e.name == r.entryPoint && e.forwarder.empty());
        if (!exported) problems.push_back("the declared entry point " + printable(r.entryPoint) + " is not exported");
    }
    return problems;
}

} // namespace

int runInspect(const std::string& modulePath, std::ostream& out, std::ostream& err) {
    const int unusable = static_cast<int>(ExitCode::ModuleLoad);
    const std::string shownPath = printable(modulePath);
    std::optional<Image> image;
    ModuleRegistration module;
    try {
        // Only a regular file of bounded size is read: a pipe or a device given instead would never end.
        const OrvaneHost::RegularFile file(modulePath, OrvaneHost::kMaxModuleBytes);
        image.emplace(file.readAll());
        module = readModuleRegistration(*image);
    } catch (const OrvaneHost::FileRefused& e) {
        err << "orvane-render inspect: " << shownPath << " " << e.what() << "\n";
        return unusable;
    } catch (const FormatError& e) {
        err << "orvane-render inspect: " << shownPath << " is malformed: " << e.what() << "\n";
        return unusable;
    }

    out << "module: " << shownPath << "\n";
    printRegistration(module, out);
    auto problems = registrationProblems(module);
    try {
        printVersion(readModuleVersion(*image), out);
    } catch (const FormatError& e) {
        problems.push_back(std::string("the version resource is malformed: ") + e.what());
    }
    for (const std::string& p : problems) err << "orvane-render inspect: " << shownPath << ": " << p << "\n";
    return problems.empty() ? 0 : unusable;
}

} // namespace OrvaneTools
