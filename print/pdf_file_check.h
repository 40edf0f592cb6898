// The checks pdf_print makes on its file before it talks to CUPS.
#pragma once

#include <string>
#include <string_view>

enum class PdfFileCheck { Pdf, Unreadable, NotPdf };

// True when `head`, the first bytes of a file, holds "%PDF-" within its first 1024
// bytes (readers allow some bytes before the header).
bool HasPdfHeader(std::string_view head);

// Opens the file and reads its head. `reason` gets one line when the result is not Pdf.
PdfFileCheck CheckPdfFile(const std::string& path, std::string& reason);
