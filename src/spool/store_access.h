// The fetch stage's way to the remote store (FTP or SFTP). One session serves one
// fetch stage: it is created, opened, used for the base and category folders, closed
// and destroyed within the stage; nothing of it survives between cycles.
#pragma once

#include <memory>
#include <string>

class Station;

class StoreSession {
public:
    virtual ~StoreSession() = default;

    // Sets the component folder and the SFTP flag and logs in with the store settings;
    // UTE_SUCCESS (0) means logged in. After a failed login only the destructor runs.
    virtual int Open() = 0;
    // Changes into a base folder on the store; a result code.
    virtual int EnterBaseFolder(const std::string& path) = 0;
    // Fetches the PDF files of one category folder on the store into the local
    // destination folder, shows the label and the progress, reports (ReportStoreError)
    // and logs its own failures. True when it fetched a file.
    virtual bool FetchRemoteFolder(const std::string& label, const std::string& source,
                                   const std::string& destination) = 0;
    // Logs out; the result is ignored.
    virtual void Close() = 0;

    // The server's last reply line, or the SFTP component's error text.
    virtual std::string LastResponse() = 0;
    // Why the login failed, in German, where the result code does not tell it (a refused
    // TLS certificate); empty when there is nothing more to say.
    virtual std::string FailureReason() { return ""; }
    virtual bool IsSftp() const = 0;
};

class StoreAccess {
public:
    virtual ~StoreAccess() = default;
    // A new session, not yet opened, for the station's current settings.
    virtual std::unique_ptr<StoreSession> CreateSession(Station& station) = 0;
};
