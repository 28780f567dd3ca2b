// Medians of the run by case name, in nanoseconds per pixel, and the summary printed after the run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace OrvaneBench {

constexpr int kWidth = 3840, kHeight = 2160;
constexpr double kPixels = double(kWidth) * kHeight;

// Every case registers the pixels one iteration covers, so the summary can divide.
void registerPixels(const std::string& name, double pixels);

// A console reporter that also keeps each case's median.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // ns per pixel of a case, or a negative number when it did not run.
    double nsPerPixel(const std::string& name) const;
    double nsPerIteration(const std::string& name) const;

private:
    std::map<std::string, double> medianNs;
};

void printSummary(const CollectingReporter& results);

} // namespace OrvaneBench
