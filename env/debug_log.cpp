#include "env/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

namespace doxel {
namespace {

std::string formatted(const char* format, va_list arguments)
{
    va_list copy;
    va_copy(copy, arguments);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (size <= 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    return std::string(buffer.data(), static_cast<std::size_t>(size));
}

DiagnosticLog& theLog()
{
    static DiagnosticLog log;
    return log;
}

}  // namespace

DiagnosticLog::DiagnosticLog(std::string folder, bool enabled, Clock clock)
    : m_enabled(enabled), m_clock(clock ? std::move(clock) : Clock(currentLongTime))
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    m_path = folder + kFileName;
}

void DiagnosticLog::write(std::string_view line) const
{
    if (!m_enabled || m_path.empty())
        return;
    const std::string text = diagnosticLogLine(std::string(line), m_clock ? m_clock() : std::string()) + "\r\n";
    std::FILE* file = std::fopen(m_path.c_str(), "ab");
    if (file == nullptr)
        return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
    std::fclose(file);
}

void DiagnosticLog::writef(const char* format, ...) const
{
    if (!m_enabled)
        return;
    va_list arguments;
    va_start(arguments, format);
    const std::string line = formatted(format, arguments);
    va_end(arguments);
    write(line);
}

std::string diagnosticLogLine(std::string line, const std::string& time)
{
    if (line == "-" || line == "=")
        line = std::string(80, line[0]);
    if (!line.empty() && (line[0] == '!' || line[0] == '-' || line[0] == '='))
        return line.substr(1);
    return line + "   " + time;
}

std::string currentLongTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64];
    const std::size_t size = std::strftime(buffer, sizeof buffer, "%X", &local);
    return std::string(buffer, size);
}

DiagnosticLog& diagnosticLog()
{
    return theLog();
}

void setDiagnosticLog(DiagnosticLog log)
{
    theLog() = std::move(log);
}

void debugLog(const char* format, ...)
{
    const DiagnosticLog& log = theLog();
    if (!log.enabled())
        return;
    va_list arguments;
    va_start(arguments, format);
    const std::string line = formatted(format, arguments);
    va_end(arguments);
    log.write(line);
}

}  // namespace doxel
