// The host's books of live objects it handed to the effect (handles, effect references, streams, stream
// values, checkouts, worlds...): every one must come back exactly once. Using or giving back an object that
// is not live is a host-side error that tests can read.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace OrvaneHost {

class Books {
public:
    void open(const std::string& kind, const void* object);
    // Gives an object back; a second return, or one never handed out, is recorded as a host error.
    bool close(const std::string& kind, const void* object, const std::string& call);
    // Checks that an object the effect passes in is live; records a host error if not.
    bool use(const std::string& kind, const void* object, const std::string& call);
    bool isLive(const std::string& kind, const void* object) const;

    std::size_t live(const std::string& kind) const;
    std::map<std::string, std::size_t> liveCounts() const; // kinds with live objects only
    std::size_t opened(const std::string& kind) const;

    void hostError(const std::string& message);
    std::vector<std::string> errors() const;
    void clearErrors();

private:
    mutable std::mutex mutex;
    std::map<std::string, std::set<const void*>> liveObjects;
    std::map<std::string, std::size_t> openedCounts;
    std::vector<std::string> hostErrors;
};

} // namespace OrvaneHost
