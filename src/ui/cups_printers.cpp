#include "ui/cups_printers.h"

#include <cups/cups.h>

namespace {

std::string Option(const cups_dest_t& dest, const char* name)
{
    const char* value = cupsGetOption(name, dest.num_options, dest.options);
    return value ? value : "";
}

}  // namespace

SystemPrinters QuerySystemPrinters()
{
    SystemPrinters result;
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < count; ++i) {
        // A user's instance of a queue prints on the queue itself, which comes before it.
        if (!dests[i].instance)
            result.printers.push_back(
                {dests[i].name, Option(dests[i], "printer-make-and-model"), Option(dests[i], "device-uri")});
        if (dests[i].is_default)
            for (std::size_t k = 0; k < result.printers.size(); ++k)
                if (result.printers[k].name == dests[i].name)
                    result.defaultIndex = static_cast<int>(k);
    }
    cupsFreeDests(count, dests);
    return result;
}
