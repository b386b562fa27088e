#pragma once

#ifdef _WIN32
#include <random>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace verbanta::test {

/// A UTF-8 path as the standard library's path: on Windows a narrow string would be taken as
/// the ANSI code page, which cannot hold every name.
inline std::filesystem::path fsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

/// A path of the standard library as UTF-8.
inline std::string utf8Path(const std::filesystem::path& path)
{
    const std::u8string u8 = path.generic_u8string();
    return std::string(u8.begin(), u8.end());
}

/// A fresh folder under the system's temporary folder, removed with all its content at the end.
class TempFolder {
public:
    TempFolder()
    {
#ifdef _WIN32
        // No mkdtemp here: a random name, created only if it is not there yet.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_root.empty(); ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path() /
                                   ("verbanta_" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate))
                m_root = utf8Path(candidate);
        }
        if (m_root.empty())
            throw std::runtime_error("cannot make a temporary folder");
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "verbanta_XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_root = pattern;
#endif
    }
    ~TempFolder()
    {
        std::error_code ignored;
        // Folders a test made read-only must be writable again to be emptied.
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(fsPath(m_root), ignored))
            if (entry.is_directory(ignored))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(fsPath(m_root), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& root() const { return m_root; }
    std::string path(const std::string& name) const { return m_root + "/" + name; }

    /// The names in the folder, sorted.
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(fsPath(m_root)))
            out.push_back(utf8Path(entry.path().filename()));
        std::sort(out.begin(), out.end());
        return out;
    }

    static void write(const std::string& path, std::string_view bytes)
    {
        std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + path);
    }
    static std::string read(const std::string& path)
    {
        std::ifstream in(fsPath(path), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static bool exists(const std::string& path) { return std::filesystem::exists(fsPath(path)); }

private:
    std::string m_root;
};

/// Permission checks do not apply to root, so tests that rely on them skip there.
inline bool runningAsRoot()
{
#ifdef _WIN32
    // Wine checks a file's permissions as the Unix user it runs as, whose status a Windows
    // program reads through drive Z:; on Windows itself there is no such file.
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Uid:", 0) == 0)
            return line.find_first_not_of(" \t", 4) == line.find('0', 4);
    return false;
#else
    return ::geteuid() == 0;
#endif
}

}  // namespace verbanta::test
