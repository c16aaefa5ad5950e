#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace doxel {

// Every error the logic throws is one of these, with a message a person can
// read; the window's command runner shows it in the general error box.
// Its message has its control characters escaped (escapeControls): names
// in it may come from a file someone else made.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message);
    explicit Error(const char* message);
};

// A file could not be created, read, written or replaced.
class IoError : public Error {
public:
    using Error::Error;
};

// The settings store refused a read or a write.
class SettingsError : public Error {
public:
    using Error::Error;
};

// A text could not be turned into the value it should hold.
class ConversionError : public Error {
public:
    using Error::Error;
};

// A file the user brought departs from its layout. The message names the
// file and the line (counted from 1).
class FormatError : public Error {
public:
    FormatError(const std::string& file, int line, const std::string& problem);
    int line() const { return m_line; }
    const std::string& problem() const { return m_problem; }

private:
    int m_line;
    std::string m_problem;
};

// A binary file the user brought (a compiled help file) is damaged or is
// not of its kind; the message names the file and what is wrong.
class DamagedFileError : public Error {
public:
    using Error::Error;
};

// `text` safe to show on a terminal or in a message: control characters
// (C0 but line feed and tab, DEL, C1) and bytes that are not UTF-8 become
// "\xNN" (or "\u0085" for a C1 character), so that a file name cannot move
// the cursor, clear the screen or set the terminal's title.
std::string escapeControls(std::string_view text);

// "Cannot write /x/y.dxp: Permission denied" from the current errno.
std::string describeErrno(const std::string& action, const std::string& path, int errorNumber);

}  // namespace doxel
