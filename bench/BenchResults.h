// What the run measured, by case: the seconds of every run of a case, and for each pair of cases measured
// in alternation, the ratio of every round. Figures are medians, so a round slowed by other work on the
// machine moves them little; a ratio is taken within a round, so load that comes and goes cancels out.
#pragma once

#include "Cases.h"

#include <map>
#include <string>
#include <vector>

namespace OrvaneBench {

struct Results {
    std::map<std::string, std::vector<double>> seconds; // every run of a case, alone or in a pair
    std::map<std::string, std::vector<double>> ratios;  // pairName(a, b): a's seconds / b's, per round
    std::map<std::string, double> pixels;
};

Results& results();
std::string pairName(const std::string& a, const std::string& b);

// A case run `repetitions` times, each on its own set-up; its runs are interleaved with every other case's.
void registerCase(const Case& c, int repetitions);
// Two cases measured one after the other in each of `rounds` rounds, in alternating order.
void registerPair(const Case& a, const Case& b, int rounds);

// Median of a case's runs in ns per pixel, of a pair's ratios; negative when it did not run.
double nsPerPixel(const std::string& name);
double ratioOf(const std::string& a, const std::string& b);
std::size_t roundsOf(const std::string& a, const std::string& b);

void printSummary();

} // namespace OrvaneBench
