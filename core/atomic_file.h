#pragma once

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace doxel {

// Replaces the file at `path` with `contents` so that a failure never leaves
// a half-written file in its place: the bytes go to a temporary file in the
// same folder, are flushed to disk, and the temporary file is renamed over
// the target. Nothing is ever written through a symbolic link: a link at
// `path` is itself replaced by the new file, and the file it pointed at
// stays as it was. An existing file's permissions are kept; a read-only one
// is refused, as a program writing into it would be. Throws IoError, and
// then the old file is as it was. Every writer of a file the author can see
// (project, compiler input, help file, pages, backups) goes through here or
// through replacedFileMode.
void writeFileAtomically(const std::string& path, std::string_view contents);

// writeFileAtomically for a text written in pieces, so that a large one
// never has to be held whole: the temporary file is made at once, each
// piece goes into it, and only commit() puts it in place of `path`. A
// writer destroyed before a successful commit() removes its temporary file
// and leaves the old file as it was. Throws IoError.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    void commit();

private:
    [[noreturn]] void fail(int errorNumber);

    std::string m_path;
    std::string m_temporary;
    int m_fd = -1;
    long long m_written = 0;  // bytes
    long long m_flushed = 0;  // bytes handed to the disk ahead of commit()
};

// An AtomicFileWriter on a thread of its own, so that making the next
// piece of a file, or the next file, and writing this one overlap. A piece
// handed over is taken whole, and the caller gets back an empty string that
// keeps a capacity, for the next piece. commit() puts the file in place
// once its pieces are written and returns at once; finish() waits for that.
// A failed write or commit is thrown (IoError) by the next hand() or by
// finish(); after it nothing more is written, and a file not committed is
// removed with its writer, the old file staying as it was. Without a second
// thread everything happens at once.
class WriteBehind {
public:
    // Creates the temporary file (AtomicFileWriter); throws IoError.
    explicit WriteBehind(std::string path);
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    void hand(std::string& piece);
    void commit();
    // Waits for the pieces handed over, and the commit when it was asked.
    void finish();

private:
    void run();
    void waitUntilIdle(std::unique_lock<std::mutex>& lock);

    AtomicFileWriter m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_piece;  // being written, or empty
    bool m_busy = false;
    bool m_commitAsked = false;
    bool m_stopping = false;
    std::exception_ptr m_failure;
    std::thread m_thread;
};

// What replacing `path` by a new file must keep: the permission bits of the
// regular file there, or nothing when there is none (no file, or a symbolic
// link, which the new file replaces). Throws IoError for a folder, a device
// or pipe, and for a read-only file ("Cannot write PATH: Permission
// denied"). Also removes the temporary files an earlier run left in that
// folder (removeStaleTemporaryFiles), once per folder and run.
std::optional<unsigned> replacedFileMode(const std::string& path);

// The hidden name pattern of a temporary file beside `target`, for mkstemp:
// ".NAME.XXXXXX".
std::string temporaryPatternFor(const std::string& target);

// Removes the temporary files a run that was killed or met a full disk left
// in `folder`: hidden ".NAME.XXXXXX" files beside a file NAME and a
// compile's hidden ".STEM-doxel-XXXXXX.hhp" (.hhc, .hhk) files, regular
// files of ours last written before this run began. Returns how many it
// removed.
int removeStaleTemporaryFiles(const std::string& folder);

// What tells one version of a file from another: a save by another program
// or window changes the inode (a rename), the size or the time.
struct FileStamp {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of the file at `path` (a link is followed); nothing when there
// is no file.
std::optional<FileStamp> fileStampOf(const std::string& path);

// The whole file as bytes. Throws IoError when it cannot be read, is not a
// regular file (a pipe would block the reader for ever), or is larger than
// `limit` bytes.
std::string readWholeFile(const std::string& path, std::size_t limit);

// Why a compiled help file must not be written to `target`, or empty when
// it may: `target` is one of `reads` (the files the compile reads, the same
// file by any name or link), or it is an existing file that is not a help
// file (it does not start with "ITSF"), or a folder. A symbolic link at
// `target` may go: the compile replaces the link, never what it names.
std::string helpFileTargetRefusal(const std::string& target, const std::vector<std::string>& reads);

// What a help file may hold: files whose real path, every symbolic link
// resolved, lies inside one folder's real path. A project folder that is
// itself reached through a link is fine; a link inside it to /etc is not:
// with the folder /home/a/help, "/home/a/help/etc/passwd" is refused when
// "etc" links to /etc.
class FolderGate {
public:
    // Throws IoError when the folder cannot be resolved.
    explicit FolderGate(const std::string& folder);

    // The folder's real path, with a final "/".
    const std::string& realFolder() const { return m_realFolder; }
    // Whether `path` names a file or folder inside the folder, or the folder.
    bool holds(const std::string& path) const;
    // The file as readWholeFile reads it, or nothing when it lies outside
    // the folder: checked on the file as opened, where it is read. Throws
    // IoError as readWholeFile does.
    std::optional<std::string> read(const std::string& path, std::size_t limit) const;

    // The warning for a file left out of a help file because it lies
    // outside, `relative` as the project names it.
    static std::string leftOutWarning(const std::string& relative);

private:
    bool holdsRealPath(std::string_view realPath) const;
    std::string m_realFolder;
};

}  // namespace doxel
