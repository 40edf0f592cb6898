// The CUPS job options that carry pdf_print's command-line options.
#pragma once

#include "print_options.h"

#include <string>
#include <utility>
#include <vector>

// Name and value pairs for the job: fit-to-page, print-color-mode and copies; an option
// left at the queue's default is not sent.
std::vector<std::pair<std::string, std::string>> JobOptions(const PrintOptions& options);
