#include "core/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/errors.h"

namespace doxel {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

std::string targetOf(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const auto resolved = std::filesystem::canonical(path, error);
        if (!error)
            return resolved.string();
    }
    return path;
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view contents)
{
    const std::string target = targetOf(path);
    const std::filesystem::path targetPath(target);
    const std::filesystem::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : ".";
    std::string pattern = (folder / ("." + targetPath.filename().string() + ".XXXXXX")).string();

    FileDescriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0)
        throw IoError(describeErrno("Cannot write", path, errno));
    const std::string temporary = pattern;
    const auto fail = [&](int errorNumber) {
        ::unlink(temporary.c_str());
        throw IoError(describeErrno("Cannot write", path, errorNumber));
    };

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(fd.get(), old.st_mode & 07777);
    else
        ::fchmod(
            fd.get(), 0666 & ~[] {
                const mode_t mask = ::umask(0);
                ::umask(mask);
                return mask;
            }());

    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(fd.get(), data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fdatasync(fd.get()) != 0 && errno != EINVAL)
        fail(errno);
    if (::close(fd.release()) != 0)
        fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        fail(errno);
}

std::string readWholeFile(const std::string& path, std::size_t limit)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        throw IoError(describeErrno("Cannot read", path, errno));
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw IoError(describeErrno("Cannot read", path, errno));
    if (S_ISDIR(info.st_mode))
        throw IoError("Cannot read " + path + ": it is a folder");
    if (info.st_size > 0 && static_cast<std::size_t>(info.st_size) > limit)
        throw IoError("Cannot read " + path + ": the file is larger than " + std::to_string(limit / (1024 * 1024)) +
                      " MB");

    std::string contents;
    contents.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(describeErrno("Cannot read", path, errno));
        }
        if (got == 0)
            break;
        if (contents.size() + static_cast<std::size_t>(got) > limit)
            throw IoError("Cannot read " + path + ": the file is larger than " + std::to_string(limit / (1024 * 1024)) +
                          " MB");
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    return contents;
}

}  // namespace doxel
