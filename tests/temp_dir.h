#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace zeilwerk::test {

// A fresh folder under the system's temporary folder, removed with the test.
class TempDir {
public:
    TempDir() {
#ifdef _WIN32
        // No mkdtemp here: a new name is tried until one is free, which creating it proves.
        std::random_device random;
        for (int tries = 0; tries < 100 && m_path.empty(); ++tries) {
            const auto candidate = std::filesystem::temp_directory_path() / ("zeilwerk-test-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec))
                m_path = candidate;
        }
        if (m_path.empty())
            ADD_FAILURE() << "no temporary folder";
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "zeilwerk-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            ADD_FAILURE() << "mkdtemp failed";
        m_path = pattern;
#endif
    }
    ~TempDir() {
        // Whatever a test made read-only must become writable again to be removed.
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (std::error_code one; !it->is_symlink(one))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                             std::filesystem::perm_options::add, one);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zeilwerk::test
