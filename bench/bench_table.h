// The side-by-side table of the benchmark driver: one row per comparison, the station's
// number beside the reference tool's, their ratio and the target it is held to.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

struct BenchRow {
    std::string what;
    std::string station;
    std::string reference;
    std::string ratio;
    std::string target;
};

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

inline void PrintTable(const std::vector<BenchRow>& rows)
{
    std::printf("| measure | station | reference | ratio | target |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const BenchRow& row : rows)
        std::printf("| %s | %s | %s | %s | %s |\n", row.what.c_str(), row.station.c_str(), row.reference.c_str(),
                    row.ratio.c_str(), row.target.c_str());
    std::fflush(stdout);
}
