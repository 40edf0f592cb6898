// The log line for a host key the SFTP component has just recorded as new.
#pragma once

#include <string>

inline std::string RecordedHostKeyLine(const std::string& server, const std::string& fingerprint)
{
    return "Neuer Host-Schlüssel von " + server + " gespeichert: " + fingerprint;
}
