// The comparisons of the benchmark driver; each returns its row of the table.
#pragma once

#include "bench/bench_table.h"

#include <string>
#include <vector>

// The fetch stage against lftp, the large download against curl.
std::vector<BenchRow> FetchRows(const std::string& scratch);
BenchRow PrintPassRow(const std::string& scratch);
// pdf_print into the cups-pdf queue against lp, and the part of the damaged-PDF check.
std::vector<BenchRow> CupsPrintRows(const std::string& scratch);
BenchRow IdleRow(const std::string& scratch);
// The large FTP download against curl, the same over FTPS against curl --ssl-reqd.
std::vector<BenchRow> TransferRows(const std::string& scratch);
// One station download with deletion, on its own, for counting its system calls.
int TransferOnce(int port, const std::string& target);
// A store 20 ms away: one polling cycle of the station, a whole process, against sftp
// and lftp through the same relay.
std::vector<BenchRow> FarStoreRows(const std::string& scratch);
// One polling cycle against the store on the port ("ftp" or "sftp"), below the folder.
int CycleOnce(const std::string& protocol, int port, const std::string& storeFolder, const std::string& root);
