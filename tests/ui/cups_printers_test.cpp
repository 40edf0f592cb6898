// The printers the printer selection offers, from the machine's CUPS scheduler.
#include "ui/cups_printers.h"

#include "fixtures/cups_fixture.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Points libcups at another server for the lifetime of the object.
class CupsServerOverride {
public:
    explicit CupsServerOverride(const char* server)
    {
        setenv("CUPS_SERVER", server, 1);
        cupsSetServer(nullptr);
    }
    ~CupsServerOverride()
    {
        unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
    }
};

}  // namespace

TEST(CupsPrinters, QueueNameMakeAndModelAndDeviceUri)
{
    CupsPdfQueue queue;
    std::string reason;
    ASSERT_TRUE(SetUpCupsPdfQueue(queue, reason)) << reason;

    const SystemPrinters printers = QuerySystemPrinters();
    auto found = std::find_if(printers.printers.begin(), printers.printers.end(),
                              [&](const PrinterChoice& printer) { return printer.name == queue.queue; });
    ASSERT_NE(found, printers.printers.end());
    EXPECT_NE(found->driver.find("CUPS-PDF"), std::string::npos) << found->driver;
    EXPECT_EQ(found->port, "cups-pdf:/");
}

TEST(CupsPrinters, TheUsersDefaultPrinterIsTheDefault)
{
    CupsPdfQueue queue;
    std::string reason;
    ASSERT_TRUE(SetUpCupsPdfQueue(queue, reason)) << reason;
    setenv("LPDEST", queue.queue.c_str(), 1);
    const SystemPrinters printers = QuerySystemPrinters();
    unsetenv("LPDEST");
    ASSERT_GE(printers.defaultIndex, 0);
    EXPECT_EQ(printers.printers.at(printers.defaultIndex).name, queue.queue);
}

TEST(CupsPrinters, NoSchedulerNoPrinters)
{
    CupsServerOverride nowhere("/nonexistent/cups.sock");
    const SystemPrinters printers = QuerySystemPrinters();
    EXPECT_TRUE(printers.printers.empty());
    EXPECT_EQ(printers.defaultIndex, -1);
}
