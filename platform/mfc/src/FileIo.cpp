// Reading whole files and replacing files (standin/FileIo.h).
#include "standin/FileIo.h"
#include "standin/WideFormat.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

namespace standin {
namespace files {

namespace {

// The most links a chain may have, as the kernel allows when it resolves a
// path.
constexpr int kMaxLinks = 40;

FileError faultOf(FileError::Kind kind)
{
    FileError e;
    e.kind = kind;
    return e;
}

FileError checkName(const std::string& name)
{
    if (name.empty())
        return faultOf(FileError::kNoName);
    if (name.find('\0') != std::string::npos)
        return faultOf(FileError::kNulInName);
    return FileError();
}

std::string folderOf(const std::string& name)
{
    const size_t slash = name.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : name.substr(0, slash);
}

struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

FileError FileError::system(int error)
{
    FileError e;
    e.kind = kSystem;
    e.error = error;
    return e;
}

bool FileError::diskFull() const
{
    return kind == kSystem && (error == ENOSPC || error == EDQUOT || error == EFBIG);
}

std::wstring FileError::reason() const
{
    switch (kind) {
    case kNone: return std::wstring();
    case kNoName: return L"no file name";
    case kNulInName: return L"the name holds a NUL character";
    case kFolder: return L"it is a folder";
    case kNotAFile: return L"it is not a regular file";
    case kTooLarge:
        if (limit >= (std::uint64_t(1) << 20) && limit % (std::uint64_t(1) << 20) == 0)
            return L"the file is larger than " + std::to_wstring(limit >> 20) + L" MB";
        return L"the file is larger than " + std::to_wstring(limit) + L" bytes";
    case kSystem: break;
    }
    return widen(std::strerror(error));
}

FileError readWholeFile(const std::string& name, std::uint64_t maxBytes, std::string& data, struct stat* info)
{
    data.clear();
    if (FileError e = checkName(name))
        return e;
    // What the name is, before opening it: opening a device can have effects
    // of its own, and opening a pipe waits for a writer.
    struct stat st;
    if (::stat(name.c_str(), &st) != 0)
        return FileError::system(errno);
    if (S_ISDIR(st.st_mode))
        return faultOf(FileError::kFolder);
    if (!S_ISREG(st.st_mode))
        return faultOf(FileError::kNotAFile);
    Descriptor file{::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0)
        return FileError::system(errno);
    // The name may have been replaced in between: what counts is what was
    // opened.
    if (::fstat(file.fd, &st) != 0)
        return FileError::system(errno);
    if (S_ISDIR(st.st_mode))
        return faultOf(FileError::kFolder);
    if (!S_ISREG(st.st_mode))
        return faultOf(FileError::kNotAFile);
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        FileError e = faultOf(FileError::kTooLarge);
        e.limit = maxBytes;
        return e;
    }
    data.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(file.fd, &data[got], data.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            data.clear();
            return FileError::system(error);
        }
        if (n == 0)
            break;  // it shrank
        got += static_cast<size_t>(n);
    }
    data.resize(got);
    if (info != nullptr)
        *info = st;
    return FileError();
}

FileError linkTarget(const std::string& name, std::string& target)
{
    target = name;
    if (FileError e = checkName(name))
        return e;
    std::vector<char> link(PATH_MAX + 1);
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0)
            return FileError();  // no link (or nothing there): the chain ends here
        if (static_cast<size_t>(n) >= link.size())
            return FileError::system(ENAMETOOLONG);
        if (hops == kMaxLinks)
            break;
        std::string next(link.data(), static_cast<size_t>(n));
        if (next[0] != '/') {
            const size_t slash = target.rfind('/');
            next = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + next;
        }
        target = next;
    }
    target = name;
    return FileError::system(ELOOP);
}

int writeAll(int fd, std::string_view data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

Replacement::~Replacement()
{
    abandon();
}

void Replacement::abandon()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    fd_ = -1;
    error_ = 0;
    direct_ = false;
    inPlace_ = false;
    written_ = 0;
    target_.clear();
    temporary_.clear();
}

FileError Replacement::open(const std::string& name)
{
    abandon();
    std::string target;
    if (FileError e = linkTarget(name, target))
        return e;
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return FileError::system(errno);
    if (exists) {
        if (S_ISDIR(old.st_mode))
            return faultOf(FileError::kFolder);
        if (S_ISCHR(old.st_mode) || S_ISFIFO(old.st_mode)) {
            // Written as it is; a pipe nobody reads fails instead of waiting.
            const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
            if (fd < 0)
                return FileError::system(errno);
            const int flags = ::fcntl(fd, F_GETFL);
            if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
                const int error = errno;
                ::close(fd);
                return FileError::system(error);
            }
            fd_ = fd;
            direct_ = true;
            target_ = target;
            return FileError();
        }
        if (!S_ISREG(old.st_mode))
            return faultOf(FileError::kNotAFile);
        // A read-only file stays read-only, whoever asks.
        if ((old.st_mode & 0222) == 0)
            return FileError::system(EACCES);
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return FileError::system(errno);
    }
    // The temporary file: in the target's folder (a rename does not cross
    // file systems), under a short name (the target's own may be as long as a
    // name can be), created by us alone.
    static std::atomic<unsigned> serial{0};
    const std::string folder = folderOf(target);
    int fd = -1;
    std::string temporary;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/.kv-" + std::to_string(::getpid()) + "-" + std::to_string(serial.fetch_add(1)) + ".tmp";
        // A new file gets 0666 less the umask, as any new file does.
        fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST)
            return FileError::system(errno);
    }
    if (fd < 0)
        return FileError::system(EEXIST);
    fd_ = fd;
    target_ = target;
    temporary_ = temporary;
    if (exists) {
        struct stat made;
        if (::fstat(fd, &made) != 0) {
            const int error = errno;
            abandon();
            return FileError::system(error);
        }
        if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
            inPlace_ = true;
        // After the owner: a change of owner clears the set-id bits.
        if (!inPlace_ && ::fchmod(fd, old.st_mode & 07777) != 0) {
            const int error = errno;
            abandon();
            return FileError::system(error);
        }
    }
    return FileError();
}

void Replacement::write(std::string_view data)
{
    if (fd_ < 0 || error_ != 0)
        return;
    error_ = writeAll(fd_, data);
    if (error_ == 0)
        written_ += data.size();
}

void Replacement::fail(int error)
{
    if (error_ == 0)
        error_ = error != 0 ? error : EIO;
}

FileError Replacement::commit()
{
    if (fd_ < 0)
        return FileError::system(EBADF);
    int error = error_;
    if (error == 0 && !direct_ && ::fsync(fd_) != 0)
        error = errno;
    if (error == 0 && inPlace_) {
        if (FileError e = finishInPlace()) {
            abandon();
            return e;
        }
        abandon();  // the temporary file has served
        return FileError();
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && !direct_ && ::rename(temporary_.c_str(), target_.c_str()) != 0)
        error = errno;
    if (error != 0) {
        abandon();
        return FileError::system(error);
    }
    if (!direct_)
        syncFolder(folderOf(target_));
    temporary_.clear();
    abandon();
    return FileError();
}

// The content is whole in the temporary file; it is copied over the old
// file's own bytes, so that the file keeps its owner. Room for it is reserved
// first where the file system can, so that a full disk leaves the old file
// as it was.
FileError Replacement::finishInPlace()
{
    Descriptor out{::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (out.fd < 0)
        return FileError::system(errno);
    struct stat st;
    if (::fstat(out.fd, &st) != 0)
        return FileError::system(errno);
    if (!S_ISREG(st.st_mode))
        return faultOf(FileError::kNotAFile);
    if (written_ > 0 && ::fallocate(out.fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(written_)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return FileError::system(errno);
    std::vector<char> buffer(64 << 10);
    std::uint64_t done = 0;
    while (done < written_) {
        const ssize_t n = ::pread(fd_, buffer.data(), buffer.size(), static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return FileError::system(n < 0 ? errno : EIO);
        size_t put = 0;
        while (put < static_cast<size_t>(n)) {
            const ssize_t m =
                ::pwrite(out.fd, buffer.data() + put, static_cast<size_t>(n) - put, static_cast<off_t>(done + put));
            if (m < 0 && errno == EINTR)
                continue;
            if (m <= 0)
                return FileError::system(m < 0 ? errno : EIO);
            put += static_cast<size_t>(m);
        }
        done += static_cast<std::uint64_t>(n);
    }
    if (::ftruncate(out.fd, static_cast<off_t>(written_)) != 0 || ::fsync(out.fd) != 0)
        return FileError::system(errno);
    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0)
        return FileError::system(errno);
    return FileError();
}

FileError replaceFile(const std::string& name, std::string_view data)
{
    Replacement file;
    if (FileError e = file.open(name))
        return e;
    file.write(data);
    return file.commit();
}

std::string programPath()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::string();
    return std::string(buffer, static_cast<size_t>(n));
}

std::string programFolder()
{
    const std::string path = programPath();
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace files
}  // namespace standin
