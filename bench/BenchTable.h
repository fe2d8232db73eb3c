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

// A figure measured once for each number of BLs in the store, each time against its floor on the same data. Its
// benchmarks are named benchmark + "/" + number of BLs.
struct GrowthFigure
{
    std::string label;
    std::string benchmark;
    double targetMs;
    std::string floorBenchmark;
    double maxRatio; // 0: the ratio is shown, with no target
};

// Prints the table and counts the figures that miss a target or were not measured.
TableResult printTable(const MedianReporter &reporter, const std::vector<Figure> &figures);
// Prints one table with a column for each number of BLs, then the resident memory with the list open at each, and
// adds the figures that miss a target or were not measured to the result.
void printGrowthTable(const MedianReporter &reporter, const std::vector<GrowthFigure> &figures,
                      const std::map<int, double> &residentMb, double residentTargetMb, TableResult &result);
