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

TableResult printTable(const MedianReporter &reporter, const std::vector<Figure> &figures, double residentMb,
                       double residentTargetMb)
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
    if (residentMb <= 0) {
        ++result.unmeasured;
    } else {
        const bool ok = residentMb <= residentTargetMb;
        result.misses += ok ? 0 : 1;
        std::printf("%-52s %9.1f MB %7.0f MB %12s %8s %8s  %s\n", "resident memory, search list of 100,000 BLs open",
                    residentMb, residentTargetMb, "-", "-", "-", ok ? "ok" : "MISSED");
    }
    return result;
}
