#include "pdf_file_check.h"

#include "fixtures/make_pdf.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

TEST(HasPdfHeader, LooksForTheMarkerInTheFirst1024Bytes)
{
    EXPECT_TRUE(HasPdfHeader("%PDF-1.7\n"));
    EXPECT_TRUE(HasPdfHeader(std::string(1019, ' ') + "%PDF-1.4"));
    EXPECT_FALSE(HasPdfHeader(std::string(1020, ' ') + "%PDF-1.4"));
    EXPECT_FALSE(HasPdfHeader("%PDF"));
    EXPECT_FALSE(HasPdfHeader("%!PS-Adobe-3.0\n"));
    EXPECT_FALSE(HasPdfHeader(""));
}

TEST(CheckPdfFile, TellsPdfNotPdfAndUnreadableApart)
{
    ScratchFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    std::string reason;

    ASSERT_TRUE(WritePdf(folder / "doc.pdf", "Lieferung"));
    EXPECT_EQ(CheckPdfFile(folder / "doc.pdf", reason), PdfFileCheck::Pdf);

    WriteTestFile(folder / "text.pdf", "Dies ist kein PDF.\n");
    EXPECT_EQ(CheckPdfFile(folder / "text.pdf", reason), PdfFileCheck::NotPdf);
    EXPECT_NE(reason.find("text.pdf"), std::string::npos);

    WriteTestFile(folder / "empty.pdf", "");
    EXPECT_EQ(CheckPdfFile(folder / "empty.pdf", reason), PdfFileCheck::NotPdf);

    // A PDF that ends early still starts like one; its head is all that is checked here.
    WriteTestFile(folder / "short.pdf", "%PDF-");
    EXPECT_EQ(CheckPdfFile(folder / "short.pdf", reason), PdfFileCheck::Pdf);

    EXPECT_EQ(CheckPdfFile(folder / "missing.pdf", reason), PdfFileCheck::Unreadable);
    EXPECT_NE(reason.find("missing.pdf"), std::string::npos);

    std::filesystem::create_directory(folder / "folder.pdf");
    EXPECT_EQ(CheckPdfFile(folder / "folder.pdf", reason), PdfFileCheck::Unreadable);
    EXPECT_NE(reason.find("folder.pdf"), std::string::npos);
}
