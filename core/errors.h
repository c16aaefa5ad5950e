#pragma once

#include <stdexcept>
#include <string>

namespace doxel {

// Every error the logic throws is one of these, with a message a person can
// read; the window's command runner shows it in the general error box.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
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

// "Cannot write /x/y.dxp: Permission denied" from the current errno.
std::string describeErrno(const std::string& action, const std::string& path, int errorNumber);

}  // namespace doxel
