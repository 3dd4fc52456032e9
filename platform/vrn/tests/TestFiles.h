// Temporary folders and files for the tests of the maker's libraries.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace vrntest {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object ends.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vrn-test-XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        if (made)
            path_ = made;
    }
    ~TempFolder()
    {
        std::error_code ec;
        if (!path_.empty()) {
            // Restore permissions a test may have taken away, then remove.
            for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
                 !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
            std::filesystem::remove_all(path_, ec);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// The folder of the sample models the project carries.
inline std::string modelsFolder()
{
    const char* data = std::getenv("KV_TEST_DATA");
    return std::string(data && *data ? data : KV_TEST_DATA_DIR) + "/models";
}

// UTF-8 to wide (the tests' own texts are plain or simple UTF-8).
inline std::wstring widen(const std::string& s)
{
    std::wstring out;
    for (size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        unsigned long c = b;
        size_t extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        if (extra)
            c = b & (0x3F >> extra);
        for (size_t k = 1; k <= extra && i + k < s.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out += static_cast<wchar_t>(c);
        i += extra + 1;
    }
    return out;
}

}  // namespace vrntest
