#include "HostCalls.h"

#include <algorithm>
#include <utility>

namespace OrvaneHost {

std::optional<Fault> HostCalls::begin(std::string name, std::string detail, std::vector<FaultMode> modes,
                                      std::size_t* index) {
    std::lock_guard<std::mutex> lock(mutex);
    CallRecord record;
    record.seq = log.size() + 1;
    record.name = std::move(name);
    record.detail = std::move(detail);
    record.modes = std::move(modes);
    for (ActiveRule& active : rules) {
        const FaultRule& rule = active.rule;
        if (!rule.name.empty() && rule.name != record.name) continue;
        if (!rule.detail.empty() && rule.detail != record.detail) continue;
        const std::uint64_t n = ++active.matched;
        const bool hit = rule.occurrence == 0 || n == rule.occurrence || (rule.andLater && n > rule.occurrence);
        const bool possible =
            std::find(record.modes.begin(), record.modes.end(), rule.fault.mode) != record.modes.end();
        if (hit && possible && !record.injected) record.injected = rule.fault;
    }
    if (index) *index = log.size();
    log.push_back(std::move(record));
    return log.back().injected;
}

void HostCalls::finish(std::size_t index, long result) {
    std::lock_guard<std::mutex> lock(mutex);
    if (index < log.size()) log[index].result = result;
}

void HostCalls::addRule(FaultRule rule) {
    std::lock_guard<std::mutex> lock(mutex);
    rules.push_back(ActiveRule{std::move(rule), 0});
}

void HostCalls::clearRules() {
    std::lock_guard<std::mutex> lock(mutex);
    rules.clear();
}

void HostCalls::reset() {
    std::lock_guard<std::mutex> lock(mutex);
    log.clear();
    for (ActiveRule& active : rules) active.matched = 0;
}

std::vector<CallRecord> HostCalls::records() const {
    std::lock_guard<std::mutex> lock(mutex);
    return log;
}

std::size_t HostCalls::count() const {
    std::lock_guard<std::mutex> lock(mutex);
    return log.size();
}

std::size_t HostCalls::countOf(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<std::size_t>(
        std::count_if(log.begin(), log.end(), [&](const CallRecord& r) { return r.name == name; }));
}

std::size_t HostCalls::injectedCount() const {
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<std::size_t>(
        std::count_if(log.begin(), log.end(), [](const CallRecord& r) { return r.injected.has_value(); }));
}

} // namespace OrvaneHost
