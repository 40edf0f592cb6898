// The benchmark driver: the station's stages side by side with the tools an
// administrator would otherwise use, in the same run, on the same files and the same
// pyftpdlib server on loopback. Prints one table.
#include "bench/side_by_side.h"

#include "support/scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// With arguments, only the named comparisons run: fetch, transfer, far, print, cups,
// idle.
// "--once PORT TARGET" is one station download, run under strace by transfer;
// "--cycle ftp|sftp PORT STORE_FOLDER ROOT" is one polling cycle, timed by far.
int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--once")
        return TransferOnce(std::atoi(argv[2]), argv[3]);
    if (argc == 6 && std::string(argv[1]) == "--cycle")
        return CycleOnce(argv[2], std::atoi(argv[3]), argv[4], argv[5]);
    auto wanted = [&](const std::string& name) {
        if (argc < 2)
            return true;
        for (int i = 1; i < argc; ++i)
            if (name == argv[i])
                return true;
        return false;
    };
    const ScratchFolder scratch;
    if (scratch.Path().empty()) {
        std::perror("mkdtemp");
        return 1;
    }
    std::vector<BenchRow> rows;
    if (wanted("fetch"))
        for (const BenchRow& row : FetchRows(scratch.Path()))
            rows.push_back(row);
    if (wanted("transfer"))
        for (const BenchRow& row : TransferRows(scratch.Path()))
            rows.push_back(row);
    if (wanted("far"))
        for (const BenchRow& row : FarStoreRows(scratch.Path()))
            rows.push_back(row);
    if (wanted("print"))
        rows.push_back(PrintPassRow(scratch.Path()));
    if (wanted("cups"))
        for (const BenchRow& row : CupsPrintRows(scratch.Path()))
            rows.push_back(row);
    if (wanted("idle"))
        rows.push_back(IdleRow(scratch.Path()));
    PrintTable(rows);
    return 0;
}
