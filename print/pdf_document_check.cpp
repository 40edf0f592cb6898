#include "pdf_document_check.h"

#include "translation.h"

#include <qpdf/Pl_Discard.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

std::string PdfDamage(const std::string& path)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(path.c_str());
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (pages.empty())
            return Tr("it has no pages");
        for (size_t i = 0; i < pages.size(); ++i) {
            // A page the page tree names but the file lacks reads as null.
            if (!pages[i].getObjectHandle().isDictionary())
                return Fill(Tr("page %1 is missing"), {std::to_string(i + 1)});
            Pl_Discard discard;
            pages[i].pipeContents(&discard);
        }
    } catch (const QPDFExc& error) {
        return error.getMessageDetail();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}
