// The comparisons of the benchmark driver; each returns its row of the table.
#pragma once

#include "bench/bench_table.h"

#include <string>
#include <vector>

// The fetch stage against lftp, the large download against curl.
std::vector<BenchRow> FetchRows(const std::string& scratch);
BenchRow PrintPassRow(const std::string& scratch);
BenchRow IdleRow(const std::string& scratch);
