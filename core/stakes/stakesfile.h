#pragma once
#include <cstdint>
#include <filesystem>

namespace kv::stakes {

// The stakes file, held open for reading and writing with an exclusive lock from start-up to
// shutdown. The lock is what keeps a second instance out of the same data directory.
class TStakesFile {
public:
    static constexpr const char* FileName = "Kvanta_8x20.lsk";

    TStakesFile() = default;
    ~TStakesFile();
    TStakesFile(const TStakesFile&) = delete;
    TStakesFile& operator=(const TStakesFile&) = delete;

    // Opens (creating an empty file when missing) and locks the file. Fails with kv::Error when
    // it cannot be opened or another process holds the lock; the file is then left closed.
    void Open(const std::filesystem::path& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int64_t Size() const;
    const std::filesystem::path& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::filesystem::path m_path;
};

} // namespace kv::stakes
