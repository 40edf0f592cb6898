#include "pdf_document_check.h"

#include "translation.h"

#include <qpdf/qpdf-c.h>

#include <cstdlib>

namespace {

std::string ErrorDetail(qpdf_data pdf)
{
    const qpdf_error error = qpdf_get_error(pdf);
    return error != nullptr ? qpdf_get_error_message_detail(pdf, error) : "";
}

// Why the open document cannot be printed whole; empty when it can.
std::string DamageOf(qpdf_data pdf)
{
    const int pages = qpdf_get_num_pages(pdf);
    if (pages < 0)
        return ErrorDetail(pdf);
    if (pages == 0)
        return Tr("it has no pages");
    for (int i = 0; i < pages; ++i) {
        const qpdf_oh page = qpdf_get_page_n(pdf, static_cast<size_t>(i));
        // A page the page tree names but the file lacks reads as null.
        if (!qpdf_oh_is_dictionary(pdf, page))
            return Fill(Tr("page %1 is missing"), {std::to_string(i + 1)});
        unsigned char* content = nullptr;
        size_t length = 0;
        const bool unreadable = (qpdf_oh_get_page_content_data(pdf, page, &content, &length) & QPDF_ERRORS) != 0;
        std::free(content);
        if (unreadable)
            return ErrorDetail(pdf);
    }
    return "";
}

}  // namespace

std::string PdfDamage(const std::string& path)
{
    qpdf_data pdf = qpdf_init();
    qpdf_silence_errors(pdf);
    qpdf_set_suppress_warnings(pdf, QPDF_TRUE);
    const std::string damage = (qpdf_read(pdf, path.c_str(), "") & QPDF_ERRORS) != 0 ? ErrorDetail(pdf) : DamageOf(pdf);
    qpdf_cleanup(&pdf);
    return damage;
}
