#include "Books.h"

#include <sstream>

namespace OrvaneHost {

namespace {
std::string describe(const std::string& kind, const void* object) {
    std::ostringstream out;
    out << kind << " " << object;
    return out.str();
}
} // namespace

void Books::open(const std::string& kind, const void* object) {
    std::lock_guard<std::mutex> lock(mutex);
    liveObjects[kind].insert(object);
    ++openedCounts[kind];
}

bool Books::close(const std::string& kind, const void* object, const std::string& call) {
    std::lock_guard<std::mutex> lock(mutex);
    auto& set = liveObjects[kind];
    if (set.erase(object) == 1) return true;
    hostErrors.push_back(call + ": " + describe(kind, object) + " is not live (disposed twice or never made)");
    return false;
}

bool Books::use(const std::string& kind, const void* object, const std::string& call) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = liveObjects.find(kind);
    if (it != liveObjects.end() && it->second.count(object)) return true;
    hostErrors.push_back(call + ": " + describe(kind, object) + " is not live");
    return false;
}

bool Books::isLive(const std::string& kind, const void* object) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = liveObjects.find(kind);
    return it != liveObjects.end() && it->second.count(object) != 0;
}

std::size_t Books::live(const std::string& kind) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = liveObjects.find(kind);
    return it == liveObjects.end() ? 0 : it->second.size();
}

std::map<std::string, std::size_t> Books::liveCounts() const {
    std::lock_guard<std::mutex> lock(mutex);
    std::map<std::string, std::size_t> counts;
    for (const auto& [kind, set] : liveObjects)
        if (!set.empty()) counts[kind] = set.size();
    return counts;
}

std::size_t Books::opened(const std::string& kind) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = openedCounts.find(kind);
    return it == openedCounts.end() ? 0 : it->second;
}

void Books::hostError(const std::string& message) {
    std::lock_guard<std::mutex> lock(mutex);
    hostErrors.push_back(message);
}

std::vector<std::string> Books::errors() const {
    std::lock_guard<std::mutex> lock(mutex);
    return hostErrors;
}

void Books::clearErrors() {
    std::lock_guard<std::mutex> lock(mutex);
    hostErrors.clear();
}

} // namespace OrvaneHost
