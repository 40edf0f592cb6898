#include "job_options.h"

std::vector<std::pair<std::string, std::string>> JobOptions(const PrintOptions& options)
{
    std::vector<std::pair<std::string, std::string>> job;
    if (options.fitToPage)
        job.emplace_back("fit-to-page", "true");
    if (options.color == ColorMode::Color)
        job.emplace_back("print-color-mode", "color");
    else if (options.color == ColorMode::Monochrome)
        job.emplace_back("print-color-mode", "monochrome");
    if (options.copies != 1)
        job.emplace_back("copies", std::to_string(options.copies));
    return job;
}
