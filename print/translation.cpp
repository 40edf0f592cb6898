#include "translation.h"

#include <libintl.h>

#include <clocale>
#include <filesystem>
#include <vector>

namespace {

constexpr const char* kDomain = "pdf_print";

}  // namespace

void UseUserLanguage()
{
    std::setlocale(LC_ALL, "");
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        bindtextdomain(kDomain, (program.parent_path() / PDF_PRINT_LOCALE_DIR).lexically_normal().c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    textdomain(kDomain);
}

const char* Tr(const char* message)
{
    return gettext(message);
}

std::string Fill(const char* format, std::initializer_list<std::string> values)
{
    const std::vector<std::string> value(values);
    std::string text;
    for (const char* c = format; *c != '\0'; ++c) {
        const size_t index = c[0] == '%' && c[1] >= '1' && c[1] <= '9' ? static_cast<size_t>(c[1] - '1') : value.size();
        if (index < value.size()) {
            text += value[index];
            ++c;
        } else {
            text += *c;
        }
    }
    return text;
}
