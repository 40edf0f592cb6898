// A printer as the printer selection reports it: name, driver and port.
#pragma once

#include <string>

struct PrinterChoice {
    std::string name;
    std::string driver;
    std::string port;

    bool operator==(const PrinterChoice&) const = default;
};
