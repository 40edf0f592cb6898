#include "spool/remote_store.h"

#include "spool/store_document_source.h"

std::unique_ptr<StoreSource> RemoteStoreAccess::Create(const StationSettings& settings, StoreContext context)
{
    return std::make_unique<StoreDocumentSource>(settings, context, ftpPort_, sftpPort_, receiveTimeoutMs_);
}
