// Reading a whole file and replacing a file, with one set of rules for every
// part of the stand-in that does either.
//
// Names are file-system bytes (standin::narrow of a wide name). An empty name
// and a name holding a NUL are refused before the file system sees them.
//
// Reading (readWholeFile): a symbolic link is followed; a folder, a device,
// a pipe or a socket is refused before it is opened, so nothing blocks and no
// device is touched; a file larger than the caller's limit is refused before
// it is read. A file that grows while it is read is read to the size it had.
//
// Replacing (Replacement, replaceFile):
// - A name that is a symbolic link is written where the chain of links leads,
//   also when the file it names does not exist yet; the links stay. A chain
//   that loops (or is longer than 40 links) is refused.
// - The new content goes to a temporary file beside the target, is flushed to
//   the disk and renamed over the target only when it is whole: a write or
//   flush that fails (a full disk) leaves the old file as it was and no
//   temporary file behind.
// - A replaced file keeps its permissions and its owner. Where the owner
//   cannot be kept (another user's file that this user may write), the old
//   file is rewritten in place once the whole content is written, after room
//   for it has been reserved.
// - A file without write permission, or one this user may not write, is left
//   as it is: the open fails with EACCES.
// - A folder is refused; a character device or a pipe is written directly
//   (a pipe without a reader fails with ENXIO rather than block); any other
//   kind of file is refused.
// - Folders are not made: a missing folder fails with ENOENT.
//
// Also here: where the running program itself lies (programPath,
// programFolder), for whatever looks for files beside it.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace standin {
namespace files {

// Why a file could not be read or replaced. Tests true when there is a fault.
struct FileError {
    enum Kind { kNone, kNoName, kNulInName, kFolder, kNotAFile, kTooLarge, kSystem };
    Kind kind = kNone;
    int error = 0;            // kSystem: the errno
    std::uint64_t limit = 0;  // kTooLarge: the caller's limit in bytes

    explicit operator bool() const { return kind != kNone; }
    // A full disk, a quota or a file size limit.
    bool diskFull() const;
    // In a few words: "it is a folder", "No space left on device", ...
    std::wstring reason() const;

    static FileError system(int error);
};

// Reads the file whole into data. info, when given, receives the open file's
// status (size, times, identity).
FileError readWholeFile(const std::string& name, std::uint64_t maxBytes, std::string& data,
                        struct stat* info = nullptr);

// Where a chain of symbolic links starting at name ends, whether or not that
// file exists; name itself when it is no link. ELOOP for a loop.
FileError linkTarget(const std::string& name, std::string& target);

// write(2) until all of data is written; 0, or the errno of the failure.
int writeAll(int fd, std::string_view data);

// A file being replaced: open, write any number of times, commit. A
// replacement that is not committed (or whose commit fails) leaves the old
// file as it was and removes its temporary file.
class Replacement {
public:
    Replacement() = default;
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    FileError open(const std::string& name);
    // The first failure is kept and reported by commit; later writes are
    // dropped.
    void write(std::string_view data);
    // Makes the commit fail with error (say ENOMEM when the content could
    // not be made).
    void fail(int error);
    FileError commit();
    void abandon();

private:
    FileError finishInPlace();

    int fd_ = -1;
    int error_ = 0;
    bool direct_ = false;   // a device or a pipe, written as it is
    bool inPlace_ = false;  // the owner cannot be kept: rewrite the old file
    std::uint64_t written_ = 0;
    std::string target_;
    std::string temporary_;
};

// Replaces the file with data (see Replacement).
FileError replaceFile(const std::string& name, std::string_view data);

// The running program's file (/proc/self/exe); empty when it cannot be told.
std::string programPath();

// The folder the running program lies in; "." when it cannot be told.
std::string programFolder();

}  // namespace files
}  // namespace standin
