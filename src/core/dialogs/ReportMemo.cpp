#include "dialogs/ReportMemo.h"

#include <stdexcept>
#include <utility>

#include "common/Str20.h"

namespace vexamo {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

std::string reportFileBytes(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return utf8ToCp1251(text);
}

std::vector<std::string> reportFileLines(std::string_view bytes) {
    std::vector<std::string> lines = splitLines(cp1251ToUtf8(bytes));
    // The line end after the last line closes it; it opens no further line.
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

void ReportMemo::add(std::string_view text) {
    for (std::string& line : splitLines(text)) m_lines.push_back(std::move(line));
    changed();
}

void ReportMemo::insert(std::size_t index, std::string_view line) {
    if (index > m_lines.size()) throw std::out_of_range("report line index out of range");
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index), std::string(line));
    changed();
}

void ReportMemo::remove(std::size_t index) {
    if (index >= m_lines.size()) throw std::out_of_range("report line index out of range");
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(index));
    changed();
}

void ReportMemo::setLine(std::size_t index, std::string_view line) {
    m_lines.at(index) = std::string(line);
    changed();
}

void ReportMemo::setLines(std::vector<std::string> lines) {
    m_lines = std::move(lines);
    changed();
}

void ReportMemo::clear() {
    m_lines.clear();
    changed();
}

std::string ReportMemo::text(std::string_view lineEnd) const {
    std::string out;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (i) out += lineEnd;
        out += m_lines[i];
    }
    return out;
}

void ReportMemo::changed() {
    if (m_listener) m_listener();
}

}  // namespace vexamo
