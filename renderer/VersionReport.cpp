#include "VersionReport.h"

#include "EffectLifecycle.h"
#include "ShownText.h"
#include "StandardOutput.h"
#include "VerboseReport.h"

#include "host/ModuleFile.h"
#include "host/RegularFile.h"
#include "host/pe/PeImage.h"
#include "host/pe/VersionInfo.h"

#include <cstdint>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

namespace OrvaneTools {

namespace {

// What Windows shows in the file's properties; nothing for a module that is not a Windows module.
std::string windowsVersionText(const std::string& modulePath) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = OrvaneHost::RegularFile(modulePath, OrvaneHost::kMaxModuleBytes).readAll();
    } catch (const OrvaneHost::FileRefused&) {
        return std::string(); // gone since it was loaded
    }
    if (bytes.size() < 2 || bytes[0] != 'M' || bytes[1] != 'Z') return std::string();
    const std::string title = "  Windows version resource: ";
    try {
        const std::optional<OrvaneHost::Pe::ModuleVersion> version =
            OrvaneHost::Pe::readModuleVersion(OrvaneHost::Pe::Image(std::move(bytes)));
        if (!version) return title + "none\n";
        return title + "file version " + OrvaneHost::Pe::dottedVersion(version->info.fileVersion) +
               ", product version " + OrvaneHost::Pe::dottedVersion(version->info.productVersion) + "\n";
    } catch (const OrvaneHost::Pe::FormatError& e) {
        return title + "malformed: " + shownText(e.what()) + "\n";
    }
}

} // namespace

const char* rendererVersion() { return ORVANE_PROJECT_VERSION; }

void printVersions(const std::optional<std::string>& given, std::ostream& out) {
    printReport(out, std::string("orvane-render ") + rendererVersion() + "\n");
    const std::string modulePath = modulePathOf(given);
    std::unique_ptr<OrvaneHost::Host> host = loadHost(modulePath);
    const std::string about = aboutText(*host);
    if (PF_Err err = host->globalSetup()) effectFailed(*host, "global setup", err);
    GlobalSetdown setdown(*host);
    const A_u_long version = host->outData().my_version;
    setdown.finish();

    std::ostringstream text;
    text << "effect module " << shownText(modulePath) << ":\n";
    printAboutAndVersion(text, about, version);
    text << windowsVersionText(modulePath);
    printReport(out, text.str());
}

} // namespace OrvaneTools
