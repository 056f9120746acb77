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

// The pieces of a text between its line ends, where CR LF, a lone LF and a
// lone CR each end a line. A text that ends with a line end has an empty
// last piece, and an empty text is one empty piece (as a memo adds them).
std::vector<std::string> splitLines(std::string_view text);

// The report text file: Windows-1251, every line followed by CR LF (an empty
// report gives an empty file). Throws EncodingError for a character
// Windows-1251 cannot hold.
std::string reportFileBytes(const std::vector<std::string>& lines);

// The lines of a report text file's bytes: decoded from Windows-1251 and
// split at CR LF, LF or CR; a line end at the very end does not start another
// line. Throws EncodingError for a byte that is no Windows-1251 character.
std::vector<std::string> reportFileLines(std::string_view bytes);

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
