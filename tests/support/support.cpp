#include "tests/support/support.h"

#include <unistd.h>

#include <atomic>
#include <random>
#include <fstream>
#include <stdexcept>

namespace kv::test {

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        m_path = base / ("kvtest-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-"
                         + std::to_string(rd()));
        if (std::filesystem::create_directory(m_path)) break;
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    // A test may have taken write permissions away; give them back so everything can go.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    for (const auto& e : std::filesystem::recursive_directory_iterator(m_path, ec))
        if (e.is_directory(ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write " + path.string());
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

} // namespace kv::test
