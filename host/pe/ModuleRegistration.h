// What a host learns about an effect module from its file alone: the registration in its "PIPL"
// resource, and the module's export and import tables.
#pragma once

#include "PeExports.h"
#include "PeResources.h"
#include "Pipl.h"

#include <string>
#include <vector>

namespace OrvaneHost::Pe {

constexpr const char* kRegistrationResourceType = "PIPL";

struct ModuleRegistration {
    std::uint16_t machine = 0;
    Resource resource;                // where the property list was found
    std::vector<std::uint8_t> bytes;  // the resource's data
    PropertyList properties;
    Registration registration;
    ExportTable exports;
    std::vector<std::string> imports;
};

// Throws FormatError when the module is malformed or has no registration, std::runtime_error when the
// file cannot be read.
ModuleRegistration readModuleRegistration(const Image& image);
ModuleRegistration readModuleRegistration(const std::string& path);

// The name of the function the module's registration declares as its entry point on x86-64; throws as
// above, and when the registration declares none.
std::string declaredEntryPoint(const std::string& path);

} // namespace OrvaneHost::Pe
