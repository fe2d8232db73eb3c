#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// One figure of the closing table: the median of a benchmark against its target, and against the median of a
// floor measured in the same run on the same data.
struct Figure
{
    std::string label;
    std::string benchmark;
    double targetMs;
    std::string floorBenchmark; // empty: no floor
    double maxRatio;            // 0: no ratio target
};

// Keeps the medians of the repeated runs while the console shows every run.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    double medianMs(const std::string &benchmark) const;

private:
    std::map<std::string, double> m_medians;
};

struct TableResult
{
    int misses = 0;     // figures measured and over a target
    int unmeasured = 0; // figures whose benchmark (or floor) gave no median
};

// Prints the table and counts the figures that miss a target or were not measured.
TableResult printTable(const MedianReporter &reporter, const std::vector<Figure> &figures, double residentMb,
                       double residentTargetMb);
