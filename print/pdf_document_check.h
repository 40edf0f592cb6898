// Whether a PDF document can be printed whole. pdf_print refuses a damaged document
// before anything reaches CUPS, whose filters could not render it or would print it in
// part.
#pragma once

#include <string>

// Empty when the document opens (a cross-reference table or stream length that needs
// repair is repaired as readers do), has pages, and every page is a page whose content
// can be read. Otherwise one line, in the user's language, that says what is damaged.
std::string PdfDamage(const std::string& path);
