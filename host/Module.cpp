#include "Module.h"

#include "ModuleFile.h"
#include "RegularFile.h"

#include <stdexcept>

#if defined(_WIN32)
#include "pe/ModuleRegistration.h"

#include <windows.h>
#else
#include <dlfcn.h>
#include <climits>
#include <unistd.h>
#endif

namespace OrvaneHost {

namespace {
// The system's loader takes a name without a folder as a library to look up on its search path, which could
// load anything installed on the machine; a module is always the file the name gives, so such a name is
// made relative to the current folder.
std::string asFilePath(const std::string& path) {
#if defined(_WIN32)
    if (path.find_first_of("/\\:") == std::string::npos) return ".\\" + path;
#else
    if (path.find('/') == std::string::npos) return "./" + path;
#endif
    return path;
}

void checkBeforeLoading(const std::string& path) {
    try {
        checkModuleFile(path);
    } catch (const FileRefused& e) {
        throw std::runtime_error("cannot load module " + path + ": it " + e.what());
    }
}
} // namespace

#if defined(_WIN32)

namespace {
std::wstring widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wide.size() - 1);
    return wide;
}
} // namespace

// As a host does on Windows: the registration resource in the file names the function to call, and the
// module must export exactly that name. A module without a readable registration is not loaded at all.
Module::Module(const std::string& path, const std::string&) : file(path) {
    checkBeforeLoading(path);
    std::string entryPointName;
    try {
        entryPointName = Pe::declaredEntryPoint(path);
    } catch (const std::exception& e) {
        throw std::runtime_error("cannot load module " + path + ": " + e.what());
    }
    HMODULE handle = LoadLibraryW(widen(asFilePath(path)).c_str());
    if (!handle)
        throw std::runtime_error("cannot load module " + path + " (error " + std::to_string(GetLastError()) + ")");
    library = handle;
    FARPROC proc = GetProcAddress(handle, entryPointName.c_str());
    if (!proc) {
        FreeLibrary(handle);
        throw std::runtime_error("module " + path + " does not export " + entryPointName);
    }
    entry = reinterpret_cast<PF_EntryPointFunc>(reinterpret_cast<void*>(proc));
}

Module::~Module() {
    if (library) FreeLibrary(static_cast<HMODULE>(library));
}

std::optional<std::string> defaultModulePath() {
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    const std::wstring exe(buffer, n < MAX_PATH ? n : 0); // MAX_PATH: cut short
    const auto slash = exe.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::nullopt;
    const std::wstring full = exe.substr(0, slash) + L"\\OrvaneVelmorathquist.aex";
    const int len = WideCharToMultiByte(CP_UTF8, 0, full.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(len > 0 ? len : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, full.c_str(), -1, &out[0], len, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

#else

Module::Module(const std::string& path, const std::string& entryPointName) : file(path) {
    checkBeforeLoading(path);
    library = dlopen(asFilePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        throw std::runtime_error("cannot load module " + path + ": " + (why ? why : "unknown error"));
    }
    void* symbol = dlsym(library, entryPointName.c_str());
    if (!symbol) {
        dlclose(library);
        throw std::runtime_error("module " + path + " does not export " + entryPointName);
    }
    entry = reinterpret_cast<PF_EntryPointFunc>(symbol);
}

Module::~Module() {
    if (library) dlclose(library);
}

std::optional<std::string> defaultModulePath() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    const std::string exe = n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    const auto slash = exe.find_last_of('/');
    if (slash == std::string::npos) return std::nullopt;
    return exe.substr(0, slash) + "/OrvaneVelmorathquist.so";
}

#endif

} // namespace OrvaneHost
