// The model reader: model files through Assimp into openNURBS meshes.

#include "VrnRavlib.h"

#include "MeshBuilder.h"
#include "ReaderMessages.h"
#include "SceneConversion.h"
#include "TextCodec.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_errorMutex;
std::wstring g_error;

void setError(std::wstring text)
{
    std::lock_guard<std::mutex> lock(g_errorMutex);
    g_error = std::move(text);
}

using vrn_detail::kDamaged;
using vrn_detail::kTooLarge;
using vrn_detail::say;

const wchar_t kNoPath[] = L"No model file was given.";
const wchar_t kMissing[] = L"The file \"%s\" does not exist.";
const wchar_t kFolder[] = L"\"%s\" is a folder, not a model file.";
const wchar_t kNotFile[] = L"\"%s\" is not an ordinary file, so it cannot be read as a model.";
const wchar_t kNoPermission[] = L"The file \"%s\" cannot be read: you do not have permission to read it.";
const wchar_t kCannotRead[] = L"The file \"%s\" cannot be read: %s.";
const wchar_t kEmpty[] = L"The file \"%s\" is empty.";
const wchar_t kSketchUp[] =
    L"The file \"%s\" is a SketchUp model. SketchUp files need Varnett's SketchUp reader, which "
    L"this build does not include. Export the model from SketchUp in another format (for example "
    L"OBJ, DAE or STL) and import that file.";
const wchar_t kUnknownFormat[] =
    L"The file \"%s\" is not in a model format that can be read. Model files in the formats of "
    L"the Assimp library can be read, among them OBJ, STL, PLY, OFF, 3DS, DAE, glTF, FBX and X3D.";

std::wstring systemText(int error)
{
    std::wstring text = vrn_detail::fromUtf8Lossy(std::strerror(error));
    if (!text.empty())
        text[0] = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[0])));
    return text;
}

// Assimp's own account of a failure, tidied up to sit in a sentence.
std::wstring assimpDetail(const char* message)
{
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.size() > 300)
        text = text.substr(0, 300) + "...";
    if (text.empty())
        text = "no details are known";
    return vrn_detail::fromUtf8Lossy(text);
}

// A SketchUp file starts with a byte-order mark, 0xFF, the length of the
// signature and the signature "SketchUp Model", in UTF-16LE.
bool isSketchUpFile(const unsigned char* head, size_t size)
{
    static const char kSignature[] = "SketchUp Model";
    const size_t length = sizeof kSignature - 1;
    if (size < 4 + 2 * length)
        return false;
    if (head[0] != 0xFF || head[1] != 0xFE || head[2] != 0xFF || head[3] != length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (head[4 + 2 * i] != static_cast<unsigned char>(kSignature[i]) || head[5 + 2 * i] != 0)
            return false;
    return true;
}

std::wstring wide(const CString& s)
{
    return std::wstring(s.GetString(), static_cast<size_t>(s.GetLength()));
}

// Checks the file itself; empty result: it may be handed to Assimp.
std::wstring checkFile(const std::wstring& name, const std::string& path)
{
    if (name.empty())
        return kNoPath;
    if (path.find('\0') != std::string::npos)
        return say(kMissing, name);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        int e = errno;
        if (e == ENOENT || e == ENOTDIR)
            return say(kMissing, name);
        if (e == EACCES)
            return say(kNoPermission, name);
        return say(kCannotRead, name, systemText(e));
    }
    if (S_ISDIR(st.st_mode))
        return say(kFolder, name);
    if (!S_ISREG(st.st_mode))
        return say(kNotFile, name);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        int e = errno;
        if (e == EACCES || e == EPERM)
            return say(kNoPermission, name);
        return say(kCannotRead, name, systemText(e));
    }
    unsigned char head[64];
    ssize_t got;
    do {
        got = ::read(fd, head, sizeof head);
    } while (got < 0 && errno == EINTR);
    int e = errno;
    ::close(fd);
    if (got < 0)
        return say(kCannotRead, name, systemText(e));
    if (got == 0)
        return say(kEmpty, name);
    if (isSketchUpFile(head, static_cast<size_t>(got)))
        return say(kSketchUp, name);
    return std::wstring();
}

// Reads the model in this process.
int readModelHere(const std::wstring& name, const std::string& path, ON_ClassArray<ON_Mesh>& meshes)
{
    Assimp::Importer importer;
    // Bones are no geometry of the model.
    importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
    // Assimp's own check of the scene is not run: it refuses a model whose
    // meshes hold points or lines only ("no faces"), which is a model without
    // mesh data, not a damaged file. The conversion checks every count,
    // pointer and index it uses itself.
    const aiScene* scene = importer.ReadFile(path, 0);
    if (!scene) {
        const char* message = importer.GetErrorString();
        if (message && std::strstr(message, "No suitable reader found")) {
            setError(say(kUnknownFormat, name));
        } else {
            setError(say(kDamaged, name, assimpDetail(message)));
        }
        return 0;
    }
    std::wstring error;
    const int ok = vrn_detail::ConvertScene(scene, name, meshes, error);
    if (!ok)
        setError(error);
    return ok;
}

// ---- reading in a child process -------------------------------------------
//
// Assimp's importers can crash, loop for ever or ask for all the memory there
// is on a damaged file. So the file is read in a child process with a time and
// memory limit, which sends the finished meshes back through a pipe; the host
// survives whatever the file does to the child.
//
// The stream: "VRN1", u32 result, u32 error length, the error text (UTF-8),
// u32 mesh count, then per mesh u32 vertex count, u32 face count, the vertex
// coordinates (3 floats each) and the faces (4 int32 each); "END!" last.

const wchar_t kStopped[] = L"reading it made the reader fail";
const wchar_t kTimedOut[] =
    L"Reading the file \"%s\" took longer than %s seconds and was stopped; the file is damaged, "
    L"or too large to read.";

// Seconds a reading may take: VRN_READER_TIMEOUT, else a limit that grows
// with the file (15 s, and 2 s more per MB): far above what a sound file of
// that size takes, short enough that a reader stuck on a damaged small file
// does not freeze the host for long.
double readerTimeout(off_t fileSize)
{
    const char* env = std::getenv("VRN_READER_TIMEOUT");
    if (env && *env) {
        char* end = nullptr;
        double v = std::strtod(env, &end);
        if (end && *end == '\0' && v > 0 && v < 1e7)
            return v;
    }
    const double megabytes = fileSize > 0 ? static_cast<double>(fileSize) / (1024.0 * 1024.0) : 0.0;
    return 15.0 + 2.0 * megabytes;
}

#if defined(__SANITIZE_ADDRESS__)
#define VRN_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define VRN_SANITIZED 1
#endif
#endif

// In the child: room for the reading beyond what the process already maps,
// so that a file cannot make it take the machine's memory. (Sanitizers map
// huge shadow areas, so there is no limit under them.)
void limitChildMemory(off_t fileSize)
{
#ifndef VRN_SANITIZED
    long page = ::sysconf(_SC_PAGESIZE);
    unsigned long long mapped = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        unsigned long long pages = 0;
        if (std::fscanf(f, "%llu", &pages) == 1)
            mapped = pages * static_cast<unsigned long long>(page);
        std::fclose(f);
    }
    unsigned long long room = 4ull << 30;
    unsigned long long bySize = 256ull * static_cast<unsigned long long>(fileSize > 0 ? fileSize : 0);
    if (bySize > room)
        room = bySize;
    long physical = ::sysconf(_SC_PHYS_PAGES);
    if (physical > 0 && page > 0) {
        unsigned long long ram = static_cast<unsigned long long>(physical) * static_cast<unsigned long long>(page);
        if (room > ram)
            room = ram > (1ull << 30) ? ram : (1ull << 30);
    }
    struct rlimit limit {};
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(mapped + room);
    ::setrlimit(RLIMIT_AS, &limit);
#else
    (void)fileSize;
#endif
}

bool writeBytes(int fd, const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t w = ::write(fd, p, size);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += w;
        size -= static_cast<size_t>(w);
    }
    return true;
}

bool writeU32(int fd, uint32_t v)
{
    return writeBytes(fd, &v, sizeof v);
}

[[noreturn]] void childMain(int fd, const std::wstring& name, const std::string& path, off_t fileSize)
{
    // Whatever the importer (or a crash report) prints is not the host's
    // output: the host's terminal and command line stay as they are.
    int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        if (devNull > STDERR_FILENO)
            ::close(devNull);
    }
    limitChildMemory(fileSize);
    int status = 1;
    try {
        ON_ClassArray<ON_Mesh> meshes;
        int ok = readModelHere(name, path, meshes);
        std::string error;
        {
            std::lock_guard<std::mutex> lock(g_errorMutex);
            error = vrn_detail::toUtf8(g_error);
        }
        bool sent = writeBytes(fd, "VRN1", 4) && writeU32(fd, static_cast<uint32_t>(ok)) &&
            writeU32(fd, static_cast<uint32_t>(error.size())) && writeBytes(fd, error.data(), error.size()) &&
            writeU32(fd, ok ? static_cast<uint32_t>(meshes.Count()) : 0u);
        for (int i = 0; sent && ok && i < meshes.Count(); ++i) {
            const ON_Mesh& m = meshes[i];
            sent = writeU32(fd, static_cast<uint32_t>(m.m_V.Count())) &&
                writeU32(fd, static_cast<uint32_t>(m.m_F.Count())) &&
                writeBytes(fd, m.m_V.Array(), sizeof(float) * 3 * static_cast<size_t>(m.m_V.Count())) &&
                writeBytes(fd, m.m_F.Array(), sizeof(int32_t) * 4 * static_cast<size_t>(m.m_F.Count()));
        }
        sent = sent && writeBytes(fd, "END!", 4);
        status = sent ? 0 : 1;
    } catch (...) {
        status = 1;
    }
    ::close(fd);
    ::_exit(status);  // nothing of the host's (atexit, static destructors) runs here
}

// Reads the child's stream into meshes; false when it is not complete.
bool takeStream(const std::string& s, int& ok, std::wstring& error, ON_ClassArray<ON_Mesh>& meshes)
{
    size_t pos = 0;
    auto u32 = [&](uint32_t& v) {
        if (s.size() - pos < 4)
            return false;
        std::memcpy(&v, s.data() + pos, 4);
        pos += 4;
        return true;
    };
    if (s.size() < 8 || s.compare(0, 4, "VRN1") != 0 || s.compare(s.size() - 4, 4, "END!") != 0)
        return false;
    pos = 4;
    uint32_t result, errorLength, count;
    if (!u32(result) || !u32(errorLength) || s.size() - pos < errorLength)
        return false;
    error = vrn_detail::fromUtf8Lossy(s.substr(pos, errorLength));
    pos += errorLength;
    if (!u32(count))
        return false;
    // Check the whole stream before any mesh is appended.
    size_t scan = pos;
    for (uint32_t i = 0; i < count; ++i) {
        if (s.size() - scan < 8)
            return false;
        uint32_t nv = 0, nf = 0;
        std::memcpy(&nv, s.data() + scan, 4);
        std::memcpy(&nf, s.data() + scan + 4, 4);
        scan += 8;
        if (nv > INT32_MAX / 12 || nf > INT32_MAX / 16)
            return false;
        size_t bytes = 12ull * nv + 16ull * nf;
        if (s.size() - scan < bytes)
            return false;
        const char* faces = s.data() + scan + 12ull * nv;
        for (size_t k = 0; k < 4ull * nf; ++k) {
            int32_t vi;
            std::memcpy(&vi, faces + 4 * k, 4);
            if (vi < 0 || static_cast<uint32_t>(vi) >= nv)
                return false;
        }
        scan += bytes;
    }
    if (scan != s.size() - 4)
        return false;
    ok = result ? 1 : 0;
    meshes.Reserve(static_cast<size_t>(meshes.Count()) + count);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t nv = 0, nf = 0;
        u32(nv);
        u32(nf);
        ON_Mesh& m = meshes.AppendNew();
        m.m_V.Reserve(nv);
        m.m_V.SetCount(static_cast<int>(nv));
        if (nv)
            std::memcpy(m.m_V.Array(), s.data() + pos, 12ull * nv);
        pos += 12ull * nv;
        m.m_F.Reserve(nf);
        m.m_F.SetCount(static_cast<int>(nf));
        if (nf)
            std::memcpy(m.m_F.Array(), s.data() + pos, 16ull * nf);
        pos += 16ull * nf;
    }
    return true;
}

// Reads the model in a child process; -1 when no child could be started.
int readModelIsolated(const std::wstring& name, const std::string& path, off_t fileSize, ON_ClassArray<ON_Mesh>& meshes)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    ::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);  // fewer turns for large meshes; a hint only
    pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return -1;
    }
    if (child == 0) {
        ::close(fds[0]);
        childMain(fds[1], name, path, fileSize);
    }
    ::close(fds[1]);

    const double timeout = readerTimeout(fileSize);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    std::string stream;
    bool timedOut = false;
    std::vector<char> buf(1 << 20);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        struct pollfd p {
            fds[0], POLLIN, 0
        };
        int r = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000 * 1000)));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            break;
        if (r == 0)
            continue;
        ssize_t got = ::read(fds[0], buf.data(), buf.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        stream.append(buf.data(), static_cast<size_t>(got));
    }
    ::close(fds[0]);
    if (timedOut)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}

    if (timedOut) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", timeout);
        setError(say(kTimedOut, name, vrn_detail::fromUtf8Lossy(seconds)));
        return 0;
    }
    int ok = 0;
    std::wstring error;
    const int before = meshes.Count();
    try {
        if (!takeStream(stream, ok, error, meshes)) {
            setError(say(kDamaged, name, kStopped));
            return 0;
        }
    } catch (const std::bad_alloc&) {
        while (meshes.Count() > before)
            meshes.Remove();
        setError(say(kTooLarge, name));
        return 0;
    }
    if (!ok)
        setError(error);
    return ok;
}

}  // namespace

int VrnRavlib::SKPToMesh(CString path, ON_ClassArray<ON_Mesh>& meshes)
{
    setError(std::wstring());
    try {
        const std::wstring name = wide(path);
        const std::string file = vrn_detail::toUtf8(name);
        std::wstring problem = checkFile(name, file);
        if (!problem.empty()) {
            setError(problem);
            return 0;
        }
        struct stat st {};
        off_t size = ::stat(file.c_str(), &st) == 0 ? st.st_size : 0;
        int result = readModelIsolated(name, file, size, meshes);
        if (result < 0)
            result = readModelHere(name, file, meshes);  // no child to be had
        return result;
    } catch (const std::bad_alloc&) {
        setError(say(kTooLarge, wide(path)));
    } catch (...) {
        setError(say(kDamaged, wide(path), L"the reader stopped on an unexpected error"));
    }
    return 0;
}

CString VrnRavlib::GetError()
{
    std::lock_guard<std::mutex> lock(g_errorMutex);
    return CString(g_error.c_str());
}
