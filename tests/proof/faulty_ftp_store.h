// The pyftpdlib server that injects faults (tests/fixtures/faulty_ftp_server.py) with the
// tree /kv/4711/SPOOL/<category> of a Korvid station, and a station on it.
#pragma once

#include "fixtures/child_process.h"
#include "support/scratch_folder.h"
#include "spool/store_station.h"

#include <cstdlib>
#include <fstream>
#include <map>

class FaultyFtpStore {
public:
    // Faults as "kind=chance" arguments of the script.
    bool Start(int seed, const std::vector<std::string>& faults)
    {
        for (const char* category : {"DELV", "RL", "FRONTSH"})
            std::filesystem::create_directories(Category(category));
        std::vector<std::string> arguments = {std::string(STATION_SOURCE_DIR) + "/tests/fixtures/faulty_ftp_server.py",
                                              root_.Path(), "kv", "geheim", record_, std::to_string(seed)};
        arguments.insert(arguments.end(), faults.begin(), faults.end());
        std::string line;
        return process_.Start("/usr/bin/python3", arguments) && process_.ReadLine(line, 20000) &&
               (port_ = std::atoi(line.c_str())) > 0;
    }
    std::string Category(const std::string& name) const { return root_ / ("kv/4711/SPOOL/" + name); }
    Station& MakeStation(StoreStation& station) const
    {
        StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "kv", "geheim");
        settings.KV_Ftp_Passive = 1;
        settings.OnErrorLogOnly = 1;
        station.access.ftpPort = port_;
        return station.Make(settings);
    }
    // How often each kind of fault struck.
    std::map<std::string, int> Injected() const
    {
        std::map<std::string, int> counts;
        std::ifstream in(record_);
        for (std::string kind; std::getline(in, kind);)
            ++counts[kind];
        return counts;
    }
    std::string Tree() const { return root_ / "kv"; }
    int Port() const { return port_; }

private:
    ScratchFolder root_;
    ChildProcess process_;
    std::string record_ = root_ / "faults.record";
    int port_ = 0;
};
