#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/sami_model.h"
#include "support/cp949.h"

namespace verbanta::test {

/// Every entry of one list slot, in order.
inline std::vector<SyncEntry> entriesOf(const SamiModel& model, int slot)
{
    std::vector<SyncEntry> out;
    model.slotList(slot).forEach([&](const SyncEntry& e) { out.push_back(e); });
    return out;
}

/// The texts of one slot's entries, in order.
inline std::vector<std::string> textsOf(const SamiModel& model, int slot)
{
    std::vector<std::string> out;
    model.slotList(slot).forEach([&](const SyncEntry& e) { out.push_back(e.text); });
    return out;
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(),
                                                 static_cast<std::streamsize>(bytes.size()));
}

/// A golden file of tests/data/sami.
inline std::string goldenFile(const std::string& name)
{
    return readFile(std::filesystem::path(VERBANTA_TEST_DATA_DIR) / "sami" / name);
}

/// A SAMI text with a minimal head and the given body (CP949 bytes, written as UTF-8 here).
inline std::string samiWithBody(std::string_view bodyUtf8, std::string_view styleUtf8 =
                                    ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }")
{
    return cp949("<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n" +
                 std::string(styleUtf8) + "\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n" +
                 std::string(bodyUtf8) + "\r\n</BODY>\r\n</SAMI>");
}

/// A fresh directory under the system's temporary folder, removed with the object.
class TempDir {
public:
    explicit TempDir(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() /
                 ("verbanta_" + name + "_" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace verbanta::test
