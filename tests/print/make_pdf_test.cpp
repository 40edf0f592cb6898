#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

TEST(MakePdf, WritesADocumentWhoseTextReadsBack)
{
    ScratchFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::string text = "Fernleihe (Kopie) 4711 \\ Ende";
    ASSERT_TRUE(WritePdf(folder / "doc.pdf", text));
    EXPECT_NE(PdfText(folder / "doc.pdf").find(text), std::string::npos);
    EXPECT_TRUE(MakePdf("x").starts_with("%PDF-1.4\n"));
}
