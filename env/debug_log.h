#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace doxel {

// The diagnostic log "HHDebug.txt": one line per call, the file opened for
// appending, written and closed each time, so nothing is lost when the
// program ends abruptly. A line that cannot be written is dropped quietly.
class DiagnosticLog {
public:
    static constexpr const char* kFileName = "HHDebug.txt";

    // The text of the current time, in the system's long time format.
    using Clock = std::function<std::string()>;

    DiagnosticLog() = default;
    DiagnosticLog(std::string folder, bool enabled, Clock clock = {});

    bool enabled() const { return m_enabled; }
    // Full path of the log file; empty before the log has a folder.
    const std::string& path() const { return m_path; }

    // Writes the line when the log is enabled.
    void write(std::string_view line) const;
    // printf-style; the format is always a literal of the program.
    void writef(const char* format, ...) const __attribute__((format(printf, 2, 3)));

private:
    std::string m_path;
    bool m_enabled = false;
    Clock m_clock;
};

// The line as it goes into the file, line end not included: "-" and "="
// become 80 such characters; a line beginning with "!", "-" or "=" loses
// that character (a separator holds 79) and gets no time; every other line,
// an empty one too, gets three spaces and the time. So "-" gives 79 dashes
// and "Start" gives "Start   10:15:02".
std::string diagnosticLogLine(std::string line, const std::string& time);

// The current time in the C library's long time format ("%X").
std::string currentLongTime();

// The program's one log, set up at start-up; disabled until then.
DiagnosticLog& diagnosticLog();
void setDiagnosticLog(DiagnosticLog log);

// Appends a line to the program's log when the debug flag is on.
void debugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace doxel
