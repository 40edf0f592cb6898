#include "app/store_not_available.h"

#include "net/result_codes.h"
#include "spool/station.h"

const char* const kStoreNotAvailableText = "Zugriff auf das FTP-Lager ist in dieser Version nicht enthalten";

namespace {

class SessionNotAvailable : public StoreSession {
public:
    explicit SessionNotAvailable(bool sftp) : sftp_(sftp) {}

    int Open() override { return UTE_CONNECT_FAILED; }
    int EnterBaseFolder(const std::string&) override { return UTE_NOCONNECTION; }
    bool FetchRemoteFolder(const std::string&, const std::string&, const std::string&) override { return false; }
    void Close() override {}
    std::string LastResponse() override { return kStoreNotAvailableText; }
    bool IsSftp() const override { return sftp_; }

private:
    bool sftp_;
};

}  // namespace

std::unique_ptr<StoreSession> StoreNotAvailable::CreateSession(Station& station)
{
    return std::make_unique<SessionNotAvailable>(station.Settings().KV_Sftp_Mode == 1);
}
