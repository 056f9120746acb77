#include "dialogs/ReportMemo.h"

#include <stdexcept>
#include <utility>

namespace vexamo {

void ReportMemo::add(std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        m_lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    m_lines.emplace_back(text.substr(start));
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
