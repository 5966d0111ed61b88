#include "core/stakes/stakesfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::stakes {

TStakesFile::~TStakesFile()
{
    Close();
}

void TStakesFile::Open(const std::filesystem::path& path)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        throw Error(util::Format("Не удалось открыть файл \"%s\": %s", {path.string(), util::ErrnoText(err)}));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            throw Error(util::Format("Файл \"%s\" занят другим процессом", {path.string()}));
        throw Error(util::Format("Не удалось заблокировать файл \"%s\": %s", {path.string(), util::ErrnoText(err)}));
    }
    m_fd = fd;
    m_path = path;
}

void TStakesFile::Close()
{
    if (m_fd < 0) return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

int64_t TStakesFile::Size() const
{
    if (m_fd < 0) return 0;
    struct stat st{};
    if (::fstat(m_fd, &st) != 0) return 0;
    return st.st_size;
}

} // namespace kv::stakes
