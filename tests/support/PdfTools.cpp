#include "support/PdfTools.h"

#include <sstream>

#include "support/Files.h"

namespace vexamo::test {

namespace {

std::string quoted(const std::filesystem::path& p) {
    std::string q = "'";
    for (char c : p.string()) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

std::string missingPdfTool() {
    for (const char* tool : {"pdftotext", "pdffonts", "pdftoppm"})
        if (runCommand(std::string("command -v ") + tool + " >/dev/null").status != 0) return tool;
    return {};
}

std::string pdfText(const std::filesystem::path& pdf) {
    const Outcome o = runCommand("pdftotext -layout -enc UTF-8 " + quoted(pdf) + " - 2>/dev/null");
    return o.status == 0 ? o.text : std::string();
}

std::vector<PdfFont> pdfFonts(const std::filesystem::path& pdf) {
    const Outcome o = runCommand("pdffonts " + quoted(pdf) + " 2>/dev/null");
    std::vector<PdfFont> fonts;
    if (o.status != 0) return fonts;
    std::istringstream lines(o.text);
    std::string line;
    int row = 0;
    while (std::getline(lines, line)) {
        if (++row <= 2 || line.empty()) continue;  // the heading and its rule
        // name type... encoding emb sub uni object ID: emb is the fifth field
        // from the end.
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string w; fields >> w;) words.push_back(w);
        if (words.size() < 6) continue;
        fonts.push_back({words.front(), words[words.size() - 5] == "yes"});
    }
    return fonts;
}

std::filesystem::path pdfFirstPagePng(const std::filesystem::path& pdf,
                                      const std::filesystem::path& stem) {
    const Outcome o = runCommand("pdftoppm -png -r 50 -f 1 -l 1 -singlefile " + quoted(pdf) + " " +
                                 quoted(stem) + " 2>&1");
    std::filesystem::path png = stem;
    png += ".png";
    return o.status == 0 && std::filesystem::exists(png) ? png : std::filesystem::path();
}

}  // namespace vexamo::test
