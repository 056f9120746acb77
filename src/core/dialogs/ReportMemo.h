#pragma once
// The report: the lines of the main window's memo. Calculations append to it,
// an iteration's progress line replaces one line; the desktop memo listens to
// the change notification.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vexamo {

class ReportMemo {
public:
    using Listener = std::function<void()>;

    // Appends a text; CR LF (or a lone LF or CR) inside it starts a new line.
    void add(std::string_view text);
    // Inserts one line before `index` (index == lineCount() appends).
    void insert(std::size_t index, std::string_view line);
    void remove(std::size_t index);
    void setLine(std::size_t index, std::string_view line);
    void clear();
    // Replaces every line at once (a cancelled Run gives back the report it
    // found); the listener hears of it as of any change.
    void setLines(std::vector<std::string> lines);

    std::size_t lineCount() const { return m_lines.size(); }
    const std::string& line(std::size_t index) const { return m_lines.at(index); }
    const std::vector<std::string>& lines() const { return m_lines; }
    // All lines joined with CR LF (the report text file's line end).
    std::string text(std::string_view lineEnd = "\r\n") const;

    void setListener(Listener listener) { m_listener = std::move(listener); }

private:
    void changed();

    std::vector<std::string> m_lines;
    Listener m_listener;
};

}  // namespace vexamo
