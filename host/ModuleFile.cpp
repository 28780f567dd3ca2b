#include "ModuleFile.h"

#include "RegularFile.h"

#if defined(_WIN32)
#include "pe/PeImage.h"
#else
#include <elf.h>
#include <link.h>
#endif

#include <cstring>
#include <exception>
#include <vector>

namespace OrvaneHost {

#if defined(_WIN32)

void checkModuleFile(const std::string& path) {
    const RegularFile file(path, kMaxModuleBytes);
    try {
        // The reader refuses headers and section data that do not lie within the file.
        const Pe::Image image(file.readAll());
        if (image.machine() != Pe::kMachineAmd64)
            throw FileRefused("is built for another processor (machine " + Pe::hex(image.machine()) +
                              "); this host loads x86-64 modules");
    } catch (const Pe::FormatError& e) {
        throw FileRefused(std::string("is not a whole Windows module: ") + e.what());
    }
}

#else

namespace {

using Header = ElfW(Ehdr);
using Segment = ElfW(Phdr);
using Section = ElfW(Shdr);

#if defined(__x86_64__)
constexpr unsigned kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr unsigned kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr unsigned kMachine = EM_386;
#elif defined(__arm__)
constexpr unsigned kMachine = EM_ARM;
#else
#error "the machine type of modules for this processor is not known"
#endif
constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kByteOrder = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;

[[noreturn]] void damaged(const std::string& what) { throw FileRefused("is truncated or damaged: " + what); }

// [offset, offset + count * entrySize) must lie within the file; safe for any values.
void requireWithin(const RegularFile& file, std::uint64_t offset, std::uint64_t count, std::uint64_t entrySize,
                   const std::string& what) {
    const std::uint64_t size = file.size();
    if (count > size / entrySize || offset > size || count * entrySize > size - offset)
        damaged(what + " reaches past the end of the file (" + std::to_string(size) + " bytes)");
}

template <class Entry> std::vector<Entry> readTable(const RegularFile& file, std::uint64_t offset, std::uint64_t count,
                                                    const std::string& what) {
    requireWithin(file, offset, count, sizeof(Entry), what);
    std::vector<Entry> entries(static_cast<std::size_t>(count));
    if (count) file.readAt(offset, entries.data(), entries.size() * sizeof(Entry));
    return entries;
}

void checkIdentity(const Header& h) {
    if (std::memcmp(h.e_ident, ELFMAG, SELFMAG) != 0) {
        if (h.e_ident[0] == 'M' && h.e_ident[1] == 'Z') throw FileRefused("is a Windows module, not one for this system");
        throw FileRefused("is not a module for this system (it does not start as a shared library does)");
    }
    if (h.e_ident[EI_CLASS] != kClass)
        throw FileRefused(std::string("is a ") + (h.e_ident[EI_CLASS] == ELFCLASS32 ? "32" : "64") +
                          "-bit module; this host loads " + (kClass == ELFCLASS64 ? "64" : "32") + "-bit modules");
    if (h.e_ident[EI_DATA] != kByteOrder) throw FileRefused("is built for a processor of the other byte order");
    if (h.e_type != ET_DYN) throw FileRefused("is not a shared library (an executable or object file?)");
    if (h.e_machine != kMachine)
        throw FileRefused("is built for another processor (machine " + std::to_string(h.e_machine) + ")");
    if (h.e_version != EV_CURRENT || h.e_ident[EI_VERSION] != EV_CURRENT) damaged("unknown format version");
}

void checkSegments(const RegularFile& file, const Header& h) {
    if (h.e_phentsize != sizeof(Segment) || h.e_phnum == 0 || h.e_phnum == PN_XNUM)
        damaged("its program header table is malformed");
    const auto segments = readTable<Segment>(file, h.e_phoff, h.e_phnum, "the program header table");
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        if (s.p_type != PT_LOAD && s.p_type != PT_DYNAMIC) continue;
        const std::string what = "segment " + std::to_string(i);
        if (s.p_type == PT_LOAD && s.p_filesz > s.p_memsz) damaged(what + " holds more bytes than it maps");
        requireWithin(file, s.p_offset, s.p_filesz, 1, what);
    }
}

void checkSections(const RegularFile& file, const Header& h) {
    if (h.e_shoff == 0) return;
    if (h.e_shentsize != sizeof(Section)) damaged("its section header table is malformed");
    std::uint64_t count = h.e_shnum;
    if (count == 0) count = readTable<Section>(file, h.e_shoff, 1, "the section header table").front().sh_size;
    const auto sections = readTable<Section>(file, h.e_shoff, count, "the section header table");
    for (std::size_t i = 0; i < sections.size(); ++i)
        if (sections[i].sh_type != SHT_NOBITS && sections[i].sh_type != SHT_NULL)
            requireWithin(file, sections[i].sh_offset, sections[i].sh_size, 1, "section " + std::to_string(i));
}

} // namespace

void checkModuleFile(const std::string& path) {
    const RegularFile file(path, kMaxModuleBytes);
    if (file.size() < sizeof(Header))
        throw FileRefused("is " + std::to_string(file.size()) + " bytes, too short for a module");
    Header header;
    file.readAt(0, &header, sizeof(header));
    checkIdentity(header);
    if (header.e_ehsize < sizeof(Header)) damaged("its header is malformed");
    checkSegments(file, header);
    checkSections(file, header);
}

#endif

} // namespace OrvaneHost
