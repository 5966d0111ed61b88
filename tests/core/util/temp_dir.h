#pragma once
#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include <unistd.h>

namespace kv::test {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        static std::atomic<int> counter{0};
        std::random_device rd;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            m_path = base / ("kvutil-" + std::to_string(::getpid()) + "-" +
                             std::to_string(counter++) + "-" + std::to_string(rd()));
            if (std::filesystem::create_directory(m_path)) break;
        }
    }
    ~TempDir()
    {
        std::error_code ec;
        // A test may have taken the write permission away.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        for (const auto& e : std::filesystem::recursive_directory_iterator(m_path, ec))
            if (e.is_directory(ec))
                std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace kv::test
