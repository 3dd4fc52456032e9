// The settings store of the maker's GUI library, kept in a UTF-8 text file.
// The file's place and format are described in standin/VrnStandin.h.

#include "VrnRegistry.h"
#include "standin/VrnStandin.h"

#include "TextCodec.h"
#include "standin/FileIo.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

using vrn_detail::fromUtf8;
using vrn_detail::toUtf8Text;

namespace {

// A store file larger than this is not one this library wrote; it is left
// alone (reads give the defaults, writes fail).
constexpr std::uint64_t kMaxStoreBytes = 16 * 1024 * 1024;

std::recursive_mutex g_mutex;  // guards g_fileOverride and every file access
std::string g_fileOverride;    // set by standin::vrn::setRegistryFile

enum class ValueType { Int, Bool, String };

struct Value {
    std::wstring name;
    ValueType type = ValueType::Int;
    long long number = 0;  // Int and Bool
    std::wstring text;     // String
};

// Letter case does not matter in key paths and value names (ASCII letters
// fold; other characters compare as they are).
wchar_t fold(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring folded(const std::wstring& s)
{
    std::wstring out(s);
    for (wchar_t& c : out)
        c = fold(c);
    return out;
}

struct Key {
    std::wstring path;
    std::vector<Value> values;                       // in the order first written
    std::unordered_map<std::wstring, size_t> index;  // folded name -> place in values
};

struct Store {
    std::vector<Key> keys;
    std::unordered_map<std::wstring, size_t> index;  // folded path -> place in keys
    bool damaged = false;                            // some line could not be understood
};

enum class LoadResult { Missing, Loaded, Unreadable };

// "\A\\B\" -> "A\B": no empty components, no leading or trailing separator.
std::wstring normaliseKey(const std::wstring& key)
{
    std::wstring out;
    out.reserve(key.size());
    for (wchar_t c : key) {
        if (c == L'\\' && (out.empty() || out.back() == L'\\'))
            continue;
        out += c;
    }
    while (!out.empty() && out.back() == L'\\')
        out.pop_back();
    return out;
}

Key* findKey(Store& store, const std::wstring& path)
{
    auto it = store.index.find(folded(path));
    return it == store.index.end() ? nullptr : &store.keys[it->second];
}

const Key* findKey(const Store& store, const std::wstring& path)
{
    auto it = store.index.find(folded(path));
    return it == store.index.end() ? nullptr : &store.keys[it->second];
}

const Value* findValue(const Key& key, const std::wstring& name)
{
    auto it = key.index.find(folded(name));
    return it == key.index.end() ? nullptr : &key.values[it->second];
}

Key& addKey(Store& store, const std::wstring& path)
{
    store.index.emplace(folded(path), store.keys.size());
    store.keys.push_back(Key{path, {}, {}});
    return store.keys.back();
}

Value* findValue(Key& key, const std::wstring& name)
{
    auto it = key.index.find(folded(name));
    return it == key.index.end() ? nullptr : &key.values[it->second];
}

// Stores value under key: replaces a value of that name (keeping the
// spelling first written) or appends a new one.
void putValue(Key& key, Value value)
{
    if (Value* old = findValue(key, value.name)) {
        value.name = old->name;
        *old = std::move(value);
        return;
    }
    key.index.emplace(folded(value.name), key.values.size());
    key.values.push_back(std::move(value));
}

// ---- parsing -------------------------------------------------------------

// Reads a double-quoted text with escapes starting at line[pos] == '"'.
bool parseQuoted(const std::wstring& line, size_t& pos, std::wstring& out)
{
    if (pos >= line.size() || line[pos] != L'"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        wchar_t c = line[pos];
        if (c == L'"') {
            ++pos;
            return true;
        }
        if (c == L'\\') {
            if (++pos >= line.size())
                return false;
            switch (line[pos]) {
            case L'"': out += L'"'; break;
            case L'\\': out += L'\\'; break;
            case L'n': out += L'\n'; break;
            case L'r': out += L'\r'; break;
            case L't': out += L'\t'; break;
            default: return false;
            }
        } else {
            out += c;
        }
    }
    return false;  // no closing quote
}

bool parseInt(const std::wstring& s, long long& out)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && s[i] == L'-') {
        negative = true;
        ++i;
    }
    if (i >= s.size())
        return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9')
            return false;
        v = v * 10 + (s[i] - L'0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v < -2147483648LL || v > 2147483647LL)
        return false;
    out = v;
    return true;
}

std::wstring trim(const std::wstring& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == L' ' || s[b] == L'\t'))
        ++b;
    while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t' || s[e - 1] == L'\r'))
        --e;
    return s.substr(b, e - b);
}

// One value line: "name"=type:value
bool parseValueLine(const std::wstring& line, Value& value)
{
    size_t pos = 0;
    if (!parseQuoted(line, pos, value.name) || value.name.empty())
        return false;
    std::wstring rest = trim(line.substr(pos));
    if (rest.empty() || rest[0] != L'=')
        return false;
    rest = trim(rest.substr(1));
    size_t colon = rest.find(L':');
    if (colon == std::wstring::npos)
        return false;
    std::wstring type = trim(rest.substr(0, colon));
    std::wstring data = trim(rest.substr(colon + 1));
    if (type == L"int") {
        value.type = ValueType::Int;
        return parseInt(data, value.number);
    }
    if (type == L"bool") {
        value.type = ValueType::Bool;
        if (data == L"0")
            value.number = 0;
        else if (data == L"1")
            value.number = 1;
        else
            return false;
        return true;
    }
    if (type == L"string") {
        value.type = ValueType::String;
        size_t p = 0;
        if (!parseQuoted(data, p, value.text))
            return false;
        return p == data.size();
    }
    return false;
}

void parseStore(const std::string& bytes, Store& store)
{
    size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;  // byte-order mark
    Key* current = nullptr;
    std::wstring line;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        const char* p = bytes.data() + start;
        size_t n = end - start;
        start = end + 1;
        if (!fromUtf8(p, n, line) || line.find(L'\0') != std::wstring::npos) {
            store.damaged = true;
            continue;
        }
        line = trim(line);
        if (line.empty() || line[0] == L';' || line[0] == L'#')
            continue;
        if (line[0] == L'[') {
            if (line.back() != L']') {
                store.damaged = true;
                current = nullptr;
                continue;
            }
            std::wstring path = normaliseKey(trim(line.substr(1, line.size() - 2)));
            if (path.empty()) {
                store.damaged = true;
                current = nullptr;
                continue;
            }
            current = findKey(store, path);
            if (!current)
                current = &addKey(store, path);
            continue;
        }
        Value value;
        if (!current || !parseValueLine(line, value)) {
            store.damaged = true;
            continue;
        }
        // A later line of the same name wins, as when it was written last.
        if (Value* old = findValue(*current, value.name))
            *old = std::move(value);
        else
            putValue(*current, std::move(value));
    }
}

// What a store file was when it was read: a file replaced or changed since
// differs in one of these (every write here makes a new file by rename).
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    long long modified = 0;  // nanoseconds
    long long changed = 0;
    bool operator==(const FileIdentity& o) const
    {
        return device == o.device && inode == o.inode && size == o.size && modified == o.modified &&
            changed == o.changed;
    }
};

FileIdentity identityOf(const struct stat& st)
{
    FileIdentity id;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modified = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    id.changed = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
    return id;
}

LoadResult readStoreFile(const std::string& file, Store& store, FileIdentity& identity)
{
    store = Store{};
    std::string bytes;
    struct stat st {};
    if (const standin::files::FileError e = standin::files::readWholeFile(file, kMaxStoreBytes, bytes, &st))
        return e.kind == standin::files::FileError::kSystem && e.error == ENOENT ? LoadResult::Missing
                                                                                 : LoadResult::Unreadable;
    // A file that grows while it is read is read to the size it had; its
    // identity then differs from the file's and it is read again next time.
    identity = identityOf(st);
    parseStore(bytes, store);
    return LoadResult::Loaded;
}

// The last store read, kept while its file stays as it was, so that reading
// several values in a row parses the file once. Guarded by g_mutex.
struct CachedStore {
    std::string file;
    FileIdentity identity;
    Store store;
    bool valid = false;
};
CachedStore g_cache;
long g_storeReads = 0;

// The store as the file is now: from the cache when the file is unchanged.
// Caller holds g_mutex.
LoadResult loadStore(const std::string& file, const Store*& store)
{
    store = nullptr;
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        g_cache.valid = false;
        return errno == ENOENT ? LoadResult::Missing : LoadResult::Unreadable;
    }
    if (g_cache.valid && g_cache.file == file && g_cache.identity == identityOf(st)) {
        store = &g_cache.store;
        return LoadResult::Loaded;
    }
    g_cache.valid = false;
    ++g_storeReads;
    FileIdentity identity;
    LoadResult result = readStoreFile(file, g_cache.store, identity);
    if (result != LoadResult::Loaded)
        return result;
    g_cache.file = file;
    g_cache.identity = identity;
    g_cache.valid = identity.size >= 0;
    store = &g_cache.store;
    return result;
}

// ---- writing -------------------------------------------------------------

std::string quote(const std::wstring& text)
{
    std::wstring q = L"\"";
    for (wchar_t c : text) {
        switch (c) {
        case L'"': q += L"\\\""; break;
        case L'\\': q += L"\\\\"; break;
        case L'\n': q += L"\\n"; break;
        case L'\r': q += L"\\r"; break;
        case L'\t': q += L"\\t"; break;
        default: q += c;
        }
    }
    q += L'"';
    return toUtf8Text(q);
}

std::string formatStore(const Store& store)
{
    std::string out = "; Settings of the Varnett GUI library (VrnRegistry), UTF-8.\n"
                      "; [key path], then one value a line: \"name\"=int:N, \"name\"=bool:0|1 or "
                      "\"name\"=string:\"text\".\n";
    for (const Key& key : store.keys) {
        if (key.values.empty())
            continue;
        out += "\n[" + toUtf8Text(key.path) + "]\n";
        for (const Value& v : key.values) {
            out += quote(v.name) + "=";
            switch (v.type) {
            case ValueType::Int: out += "int:" + std::to_string(v.number); break;
            case ValueType::Bool: out += v.number ? "bool:1" : "bool:0"; break;
            case ValueType::String: out += "string:" + quote(v.text); break;
            }
            out += "\n";
        }
    }
    return out;
}

std::string parentOf(const std::string& file)
{
    size_t slash = file.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return file.substr(0, slash);
}

bool makeFolders(const std::string& folder)
{
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    std::string parent = parentOf(folder);
    if (parent != folder && !makeFolders(parent))
        return false;
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST;
}

// A copy of a store file as a new file that only this user may read.
bool copyFile(const std::string& from, const std::string& to)
{
    std::string bytes;
    if (standin::files::readWholeFile(from, kMaxStoreBytes, bytes))
        return false;
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0)
        return false;
    bool ok = standin::files::writeAll(out, bytes) == 0;
    ok = (::fsync(out) == 0) && ok;
    ok = (::close(out) == 0) && ok;
    if (!ok)
        ::unlink(to.c_str());
    return ok;
}

// Keeps a damaged store file beside itself before it is replaced.
bool keepAside(const std::string& file)
{
    for (int n = 0; n < 1000; ++n) {
        std::string backup = file + ".corrupt" + (n ? "." + std::to_string(n) : std::string());
        struct stat st {};
        if (::lstat(backup.c_str(), &st) == 0)
            continue;
        if (::link(file.c_str(), backup.c_str()) == 0)
            return true;
        if (errno == EEXIST)
            continue;
        return copyFile(file, backup);
    }
    return false;
}

// Replaces file with bytes as the stand-in replaces every file
// (standin/FileIo.h): a reader sees the old store or the new one, never a
// part; a replaced file keeps its permissions and its owner; a file this user
// may not write is left as it is and the write fails. The store's folders are
// made first.
bool replaceFile(const std::string& file, const std::string& bytes)
{
    if (!makeFolders(parentOf(file)))
        return false;
    return !standin::files::replaceFile(file, bytes);
}

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    struct passwd pw {};
    struct passwd* result = nullptr;
    std::vector<char> buf(16384);
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &result) == 0 && result && result->pw_dir &&
        *result->pw_dir)
        return result->pw_dir;
    return std::string();
}

// The file a chain of symbolic links ends at, whether or not that file
// exists yet, so that a store reached through a link is written through it.
// A chain that loops ends where it was given (and is neither read nor
// written).
std::string followLinks(const std::string& file)
{
    std::string target;
    return standin::files::linkTarget(file, target) ? file : target;
}

// The store file; empty when there is none. Caller holds g_mutex.
std::string storeFileLocked()
{
    std::string file = g_fileOverride;
    if (file.empty()) {
        const char* env = std::getenv("VRN_REGISTRY_FILE");
        if (env && *env)
            file = env;
    }
    if (file.empty()) {
        const char* xdg = std::getenv("XDG_CONFIG_HOME");
        if (xdg && xdg[0] == '/') {
            file = std::string(xdg) + "/kolvane/registry.txt";
        } else {
            std::string home = homeFolder();
            if (!home.empty())
                file = home + "/.config/kolvane/registry.txt";
        }
    }
    // A name holding a NUL names no file.
    if (file.find('\0') != std::string::npos)
        return std::string();
    return file.empty() ? file : followLinks(file);
}

// ---- the lock between processes --------------------------------------------
//
// A write reads the store, changes one value and writes it back; two
// processes doing so at once would lose one change. Writers therefore hold
// an advisory lock (flock) on the folder that holds the store, which leaves
// no file of its own behind. A VrnRegistry object
// takes it at its first write and keeps it until it is destroyed or selects
// another key, so that the values one object writes in a row (a dialog's
// settings) are never mixed with another process's. Within this process the
// lock is shared by every object. Readers take no lock: every write
// replaces the store by rename, so a reader sees a whole store. A writer
// waits at most kLockWait for another process's lock, then its write fails.

constexpr int kLockWaitMs = 10000;

struct ProcessLock {
    std::string file;  // the store the lock is for
    int fd = -1;
    int holders = 0;
};
ProcessLock g_lock;  // guarded by g_mutex

// Caller holds g_mutex.
bool acquireLock(const std::string& store)
{
    if (g_lock.holders > 0) {
        if (g_lock.file != store)
            return false;  // objects of this process on two stores at once
        ++g_lock.holders;
        return true;
    }
    std::string folder = parentOf(store);
    if (!makeFolders(folder))
        return false;
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    for (int waited = 0;; waited += 10) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= kLockWaitMs) {
            ::close(fd);
            return false;
        }
        ::usleep(10000);
    }
    g_lock.file = store;
    g_lock.fd = fd;
    g_lock.holders = 1;
    return true;
}

// Caller holds g_mutex.
void releaseLock()
{
    if (g_lock.holders <= 0 || --g_lock.holders > 0)
        return;
    ::flock(g_lock.fd, LOCK_UN);
    ::close(g_lock.fd);
    g_lock.fd = -1;
    g_lock.file.clear();
}

std::wstring wide(const CString& s)
{
    return std::wstring(s.GetString(), static_cast<size_t>(s.GetLength()));
}

// Looks up name under key in the store as the file is now.
bool readValue(const std::wstring& key, const CString& name, Value& out)
{
    if (key.empty())
        return false;
    std::wstring valueName = wide(name);
    if (valueName.empty())
        return false;
    std::lock_guard<std::recursive_mutex> lock(g_mutex);
    std::string file = storeFileLocked();
    if (file.empty())
        return false;
    const Store* store = nullptr;
    if (loadStore(file, store) != LoadResult::Loaded)
        return false;
    const Key* k = findKey(*store, key);
    if (!k)
        return false;
    const Value* v = findValue(*k, valueName);
    if (!v)
        return false;
    out = *v;
    return true;
}

}  // namespace

// The lock a VrnRegistry object holds once it has written (see above).
struct VrnRegistry::WriteLock {
    std::string file;
    WriteLock() = default;
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    ~WriteLock()
    {
        std::lock_guard<std::recursive_mutex> lock(g_mutex);
        if (!file.empty())
            releaseLock();
    }
};

namespace {

// Caller holds g_mutex. Makes sure the object holds the lock for file.
bool holdLock(std::shared_ptr<VrnRegistry::WriteLock>& held, const std::string& file)
{
    if (held && held->file == file)
        return true;
    held.reset();  // the store moved under the object: its old lock goes first
    if (!acquireLock(file))
        return false;
    held = std::make_shared<VrnRegistry::WriteLock>();
    held->file = file;
    return true;
}

}  // namespace

int VrnRegistry::writeValue(const CString& name, const void* valuePointer)
{
    Value value = *static_cast<const Value*>(valuePointer);
    std::wstring key = wide(m_key);
    if (key.empty())
        return 0;
    value.name = wide(name);
    if (value.name.empty())
        return 0;
    std::lock_guard<std::recursive_mutex> lock(g_mutex);
    std::string file = storeFileLocked();
    if (file.empty())
        return 0;
    if (!holdLock(m_lock, file))
        return 0;
    const Store* current = nullptr;
    LoadResult loaded = loadStore(file, current);
    if (loaded == LoadResult::Unreadable)
        return 0;  // never replace what we cannot read
    Store store;
    if (loaded == LoadResult::Loaded) {
        if (current->damaged && !keepAside(file))
            return 0;
        store = *current;
        store.damaged = false;
    }
    Key* k = findKey(store, key);
    if (!k)
        k = &addKey(store, key);
    putValue(*k, std::move(value));
    if (!replaceFile(file, formatStore(store)))
        return 0;
    g_cache.valid = false;
    return 1;
}

VrnRegistry::VrnRegistry() = default;
VrnRegistry::~VrnRegistry() = default;

int VrnRegistry::SetKey(CString key, int create)
{
    std::wstring path = normaliseKey(wide(key));
    m_key = CString();
    m_lock.reset();
    if (path.empty())
        return 0;
    if (!create) {
        std::lock_guard<std::recursive_mutex> lock(g_mutex);
        std::string file = storeFileLocked();
        const Store* store = nullptr;
        if (file.empty() || loadStore(file, store) != LoadResult::Loaded)
            return 0;
        const Key* k = findKey(*store, path);
        if (!k)
            return 0;
        path = k->path;
    }
    m_key = CString(path.c_str());
    return 1;
}

int VrnRegistry::ReadInt(CString name, int def)
{
    Value v;
    if (!readValue(wide(m_key), name, v) || v.type != ValueType::Int)
        return def;
    return static_cast<int>(v.number);
}

int VrnRegistry::ReadBool(CString name, int def)
{
    Value v;
    if (!readValue(wide(m_key), name, v) || v.type != ValueType::Bool)
        return def;
    return v.number ? 1 : 0;
}

CString VrnRegistry::ReadString(CString name, CString def)
{
    Value v;
    if (!readValue(wide(m_key), name, v) || v.type != ValueType::String)
        return def;
    return CString(v.text.c_str());
}

int VrnRegistry::WriteInt(CString name, int value)
{
    Value v;
    v.type = ValueType::Int;
    v.number = value;
    return writeValue(name, &v);
}

int VrnRegistry::WriteBool(CString name, int value)
{
    Value v;
    v.type = ValueType::Bool;
    v.number = value ? 1 : 0;
    return writeValue(name, &v);
}

int VrnRegistry::WriteString(CString name, CString value)
{
    Value v;
    v.type = ValueType::String;
    v.text = wide(value);
    return writeValue(name, &v);
}

namespace standin {
namespace vrn {

void setRegistryFile(const std::string& path)
{
    std::lock_guard<std::recursive_mutex> lock(g_mutex);
    g_fileOverride = path;
    g_cache.valid = false;
}

std::string registryFile()
{
    std::lock_guard<std::recursive_mutex> lock(g_mutex);
    return storeFileLocked();
}

long storeFileReads()
{
    std::lock_guard<std::recursive_mutex> lock(g_mutex);
    return g_storeReads;
}

}  // namespace vrn
}  // namespace standin
