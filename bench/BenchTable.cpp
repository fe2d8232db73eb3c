#include "BenchTable.h"

#include <cstdio>

void MedianReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        // A benchmark run once has no aggregates: its only run is its median.
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (run.aggregate_name == "median" || single) {
            const double factor = run.time_unit == benchmark::kMillisecond   ? 1.0
                                  : run.time_unit == benchmark::kMicrosecond ? 1e-3
                                  : run.time_unit == benchmark::kNanosecond  ? 1e-6
                                                                             : 1e3;
            m_medians[run.run_name.function_name] = run.GetAdjustedRealTime() * factor;
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double MedianReporter::medianMs(const std::string &benchmark) const
{
    const auto it = m_medians.find(benchmark);
    return it == m_medians.end() ? -1 : it->second;
}

TableResult printTable(const MedianReporter &reporter, const std::vector<Figure> &figures)
{
    TableResult result;
    std::printf("\n%-52s %12s %10s %12s %8s %8s  %s\n", "figure", "median ms", "target ms", "floor ms", "ratio", "max",
                "verdict");
    for (const Figure &f : figures) {
        const double median = reporter.medianMs(f.benchmark);
        const double floor = f.floorBenchmark.empty() ? -1 : reporter.medianMs(f.floorBenchmark);
        if (median < 0 || (!f.floorBenchmark.empty() && floor < 0)) {
            ++result.unmeasured;
            std::printf("%-52s %12s\n", f.label.c_str(), "not measured");
            continue;
        }
        const double ratio = floor > 0 ? median / floor : 0;
        const bool ok = median <= f.targetMs && (f.maxRatio <= 0 || floor <= 0 || ratio <= f.maxRatio);
        result.misses += ok ? 0 : 1;
        char floorText[32] = "-", ratioText[32] = "-", maxText[32] = "-";
        if (floor > 0) {
            std::snprintf(floorText, sizeof floorText, "%.2f", floor);
            std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
        }
        if (f.maxRatio > 0)
            std::snprintf(maxText, sizeof maxText, "%.1f", f.maxRatio);
        std::printf("%-52s %12.2f %10.0f %12s %8s %8s  %s\n", f.label.c_str(), median, f.targetMs, floorText, ratioText,
                    maxText, ok ? "ok" : "MISSED");
    }
    return result;
}

void printGrowthTable(const MedianReporter &reporter, const std::vector<GrowthFigure> &figures,
                      const std::map<int, double> &residentMb, double residentTargetMb, TableResult &result)
{
    std::printf("\n%-36s %7s %6s", "figure, by number of BLs", "target", "max");
    for (const auto &[bls, mb] : residentMb)
        std::printf(" | %9d: ms  floor  ratio", bls);
    std::printf("  verdict\n");
    for (const GrowthFigure &f : figures) {
        if (f.maxRatio > 0)
            std::printf("%-36s %7.0f %6.1f", f.label.c_str(), f.targetMs, f.maxRatio);
        else
            std::printf("%-36s %7.0f %6s", f.label.c_str(), f.targetMs, "-");
        bool measured = true, within = true;
        for (const auto &[bls, mb] : residentMb) {
            const std::string size = "/" + std::to_string(bls);
            const double median = reporter.medianMs(f.benchmark + size);
            const double floor = reporter.medianMs(f.floorBenchmark + size);
            if (median < 0 || floor <= 0) {
                measured = false;
                std::printf(" | %26s", "not measured");
                continue;
            }
            const double ratio = median / floor;
            within = within && median <= f.targetMs && (f.maxRatio <= 0 || ratio <= f.maxRatio);
            std::printf(" | %12.2f %6.2f %6.2f", median, floor, ratio);
        }
        result.unmeasured += measured ? 0 : 1;
        result.misses += measured && !within ? 1 : 0;
        std::printf("  %s\n", !measured ? "-" : within ? "ok" : "MISSED");
    }
    std::printf("%-36s %4.0f MB %6s", "resident memory, list open", residentTargetMb, "-");
    bool measured = true, within = true;
    for (const auto &[bls, mb] : residentMb) {
        measured = measured && mb > 0;
        within = within && mb <= residentTargetMb;
        std::printf(" | %9.1f MB %14s", mb, "");
    }
    result.unmeasured += measured ? 0 : 1;
    result.misses += measured && !within ? 1 : 0;
    std::printf("  %s\n", !measured ? "-" : within ? "ok" : "MISSED");
}
