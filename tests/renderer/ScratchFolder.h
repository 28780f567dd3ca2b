// A scratch folder per test, removed with everything in it afterwards.
#pragma once

#include <string>
#include <vector>

namespace OrvaneToolsTest {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(const std::string& name) const { return root + "/" + name; }
    // The names of the files in the folder, sorted.
    std::vector<std::string> files() const;
    void write(const std::string& name, const std::string& content) const;

private:
    std::string root;
};

} // namespace OrvaneToolsTest
