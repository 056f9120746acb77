#pragma once
// Reading a PDF back with the poppler tools: its text, its fonts and a
// picture of a page. Tests skip when a tool is not installed.
#include <filesystem>
#include <string>
#include <vector>

namespace vexamo::test {

// The first of pdftotext, pdffonts and pdftoppm that is not on the path; ""
// when all are there.
std::string missingPdfTool();

// The text of every page (pages end in a form feed); "" when it cannot be read.
std::string pdfText(const std::filesystem::path& pdf);

struct PdfFont {
    std::string name;
    bool embedded = false;
};
// The fonts pdffonts lists.
std::vector<PdfFont> pdfFonts(const std::filesystem::path& pdf);

// Page 1 as PNG at 50 dots per inch, written beside `stem` ("stem.png" is
// not guaranteed: the returned path is the file pdftoppm made); "" when it failed.
std::filesystem::path pdfFirstPagePng(const std::filesystem::path& pdf,
                                      const std::filesystem::path& stem);

}  // namespace vexamo::test
