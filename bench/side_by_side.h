// The comparisons of the benchmark driver; each returns its row of the table.
#pragma once

#include "bench/bench_table.h"

#include <string>

BenchRow PrintPassRow(const std::string& scratch);
