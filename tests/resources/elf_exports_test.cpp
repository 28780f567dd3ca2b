// The Linux module's dynamic symbol table, read from the built file: the module defines exactly one symbol
// that others can bind to, EntryPointFunc (the Windows module's one export, at ordinal 1, is checked in
// pe_module_test).
#include <gtest/gtest.h>

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> moduleBytes() {
    std::ifstream file(ORVANE_MODULE_PATH, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

template <class T> T read(const std::vector<unsigned char>& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The names of the defined symbols in the dynamic symbol table, as `nm -D --defined-only` lists them.
std::vector<std::string> definedDynamicSymbols(const std::vector<unsigned char>& bytes) {
    std::vector<std::string> names;
    const auto header = read<Elf64_Ehdr>(bytes, 0);
    for (unsigned s = 0; s < header.e_shnum; ++s) {
        const auto section = read<Elf64_Shdr>(bytes, header.e_shoff + std::size_t(s) * header.e_shentsize);
        if (section.sh_type != SHT_DYNSYM || section.sh_entsize == 0) continue;
        const auto strings = read<Elf64_Shdr>(bytes, header.e_shoff + std::size_t(section.sh_link) * header.e_shentsize);
        for (std::size_t at = section.sh_offset; at + section.sh_entsize <= section.sh_offset + section.sh_size;
             at += section.sh_entsize) {
            const auto symbol = read<Elf64_Sym>(bytes, at);
            const std::size_t name = strings.sh_offset + symbol.st_name;
            if (symbol.st_shndx == SHN_UNDEF || symbol.st_name == 0 || name >= bytes.size()) continue;
            names.emplace_back(reinterpret_cast<const char*>(bytes.data() + name),
                               strnlen(reinterpret_cast<const char*>(bytes.data() + name), bytes.size() - name));
        }
    }
    return names;
}

TEST(LinuxModule, DefinesOnlyEntryPointFuncForOthersToBind) {
    const std::vector<unsigned char> bytes = moduleBytes();
    ASSERT_GT(bytes.size(), sizeof(Elf64_Ehdr));
    ASSERT_EQ(std::memcmp(bytes.data(), ELFMAG, SELFMAG), 0);
    ASSERT_EQ(bytes[EI_CLASS], ELFCLASS64);
    EXPECT_EQ(definedDynamicSymbols(bytes), std::vector<std::string>{"EntryPointFunc"});
}

} // namespace
