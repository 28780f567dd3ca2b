#include "ModuleRegistration.h"

namespace OrvaneHost::Pe {

ModuleRegistration readModuleRegistration(const Image& image) {
    ModuleRegistration m;
    m.machine = image.machine();
    const auto resource = findResourceOfType(image, kRegistrationResourceType);
    if (!resource) throw FormatError("module has no \"PIPL\" resource: a host would not list it");
    m.resource = *resource;
    m.bytes = readResourceData(image, m.resource);
    m.properties = parsePropertyList(m.bytes.data(), m.bytes.size());
    m.registration = readRegistration(m.properties);
    m.exports = readExports(image);
    m.imports = readImportedLibraries(image);
    return m;
}

ModuleRegistration readModuleRegistration(const std::string& path) {
    return readModuleRegistration(Image::fromFile(path));
}

std::string declaredEntryPoint(const std::string& path) {
    std::string entry = readModuleRegistration(path).registration.entryPoint;
    if (entry.empty()) throw FormatError(path + " declares no x86-64 entry point in its \"PIPL\" resource");
    return entry;
}

} // namespace OrvaneHost::Pe
