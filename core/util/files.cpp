#include "core/util/files.h"

#include "core/util/error.h"
#include "core/util/format.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cerrno>
#include <cstring>

namespace kv::util {

namespace {

std::atomic<int64_t> g_diskSpace{-1};

} // namespace

void SimulateDiskSpace(int64_t bytes)
{
    g_diskSpace = bytes;
}

std::size_t WritableBytes(std::size_t size)
{
    int64_t left = g_diskSpace.load();
    for (;;) {
        if (left < 0) return size;
        const int64_t take = std::min<int64_t>(left, static_cast<int64_t>(size));
        if (g_diskSpace.compare_exchange_weak(left, left - take)) {
            if (take == 0) errno = ENOSPC;
            return static_cast<std::size_t>(take);
        }
    }
}

namespace {

[[noreturn]] void fail(const char* templ, const std::filesystem::path& path, int err)
{
    throw Error(Format(templ, {path.string(), ErrnoText(err)}));
}

constexpr const char* OpenFailed = "Не удалось открыть файл \"%s\": %s";
constexpr const char* ReadFailed = "Не удалось прочитать файл \"%s\": %s";
constexpr const char* WriteFailed = "Не удалось записать файл \"%s\": %s";
constexpr const char* RenameFailed = "Не удалось переименовать файл \"%s\": %s";

// Closes the descriptor on every path out, keeping errno as the failure left it.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    ~Fd()
    {
        if (m_fd >= 0) {
            const int saved = errno;
            ::close(m_fd);
            errno = saved;
        }
    }
    int get() const { return m_fd; }
    // Closes now, so that a failing close (NFS reports write errors there) can be seen.
    int close()
    {
        const int r = ::close(m_fd);
        m_fd = -1;
        return r;
    }

private:
    int m_fd;
};

int openRetry(const char* name, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(name, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t allowed = WritableBytes(bytes.size());
        if (allowed == 0) return false;
        const ssize_t n = ::write(fd, bytes.data(), allowed);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

namespace {

// Opens a file for reading, refusing directories with the same message as a failed open.
Fd openForReading(const std::filesystem::path& path, struct stat& st)
{
    Fd fd(openRetry(path.c_str(), O_RDONLY));
    if (fd.get() < 0) fail(OpenFailed, path, errno);
    if (::fstat(fd.get(), &st) != 0) fail(ReadFailed, path, errno);
    if (S_ISDIR(st.st_mode)) fail(OpenFailed, path, EISDIR);
    return fd;
}

// Fills buf as far as the file allows; returns the bytes read (less than size only at the end).
std::size_t readFull(int fd, char* buf, std::size_t size, const std::filesystem::path& path)
{
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, buf + got, size - got);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(ReadFailed, path, errno);
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

} // namespace

std::string ReadWholeFile(const std::filesystem::path& path)
{
    struct stat st {};
    Fd fd = openForReading(path, st);
    std::string data;
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        // Read straight into the result; a file that grew meanwhile is read on below.
        data.resize(static_cast<std::size_t>(st.st_size));
        data.resize(readFull(fd.get(), data.data(), data.size(), path));
        if (data.size() < static_cast<std::size_t>(st.st_size)) return data;
    }
    char buf[65536];
    for (;;) {
        const std::size_t n = readFull(fd.get(), buf, sizeof buf, path);
        data.append(buf, n);
        if (n < sizeof buf) break;
    }
    return data;
}

void ReadFileInChunks(const std::filesystem::path& path, std::size_t chunkBytes,
                      const std::function<void(std::string_view)>& consume)
{
    struct stat st {};
    Fd fd = openForReading(path, st);
    std::string buf(chunkBytes > 0 ? chunkBytes : 65536, '\0');
    for (;;) {
        const std::size_t n = readFull(fd.get(), buf.data(), buf.size(), path);
        if (n > 0) consume(std::string_view(buf.data(), n));
        if (n < buf.size()) break;
    }
}

void RewriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    // One fixed name per file: a temporary left by a crash is overwritten by the next rewrite
    // instead of piling up beside the data files.
    std::filesystem::path tmp = path;
    tmp += ".tmp~";
    struct stat old {};
    const bool hadOld = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    Fd fd(openRetry(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666));
    if (fd.get() < 0) fail(OpenFailed, path, errno);
    auto abandon = [&](const char* templ, int err) {
        fd.close();
        ::unlink(tmp.c_str());
        fail(templ, path, err);
    };
    // The new file takes the old one's permissions, as an in-place rewrite would keep them.
    if (hadOld) ::fchmod(fd.get(), old.st_mode & 07777);
    if (!writeAll(fd.get(), bytes)) abandon(WriteFailed, errno);
    if (::fsync(fd.get()) != 0) abandon(WriteFailed, errno);
    if (fd.close() != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail(WriteFailed, path, err);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail(RenameFailed, path, err);
    }
    // Make the rename itself durable; a failure here no longer endangers either version.
    std::filesystem::path dir = path.parent_path();
    if (dir.empty()) dir = ".";
    const int dfd = openRetry(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

bool AppendAfter(const std::filesystem::path& path, std::uint64_t size, std::string_view bytes)
{
    Fd fd(openRetry(path.c_str(), O_WRONLY | O_CREAT, 0666));
    if (fd.get() < 0) fail(OpenFailed, path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) fail(OpenFailed, path, errno);
    if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) != size) return false;
    const auto undo = [&](int err) {
        // Half a record at the end would be read as damage by the next start.
        while (::ftruncate(fd.get(), static_cast<off_t>(size)) != 0 && errno == EINTR) {
        }
        fd.close();
        fail(WriteFailed, path, err);
    };
    if (::lseek(fd.get(), static_cast<off_t>(size), SEEK_SET) < 0) undo(errno);
    if (!writeAll(fd.get(), bytes)) undo(errno);
    if (::fsync(fd.get()) != 0) undo(errno);
    if (fd.close() != 0) fail(WriteFailed, path, errno);
    return true;
}

TBackupCopy KeepBackupCopy(const std::filesystem::path& path)
{
    std::filesystem::path backup = path;
    backup += ".bak";
    try {
        RewriteFile(backup, ReadWholeFile(path));
    } catch (const std::exception& e) {
        return {false, Format("Копия файла не сохранена. %s\n\n%s", {e.what(), ReadOnlyFileText(path)})};
    }
    return {true, Format("Копия файла сохранена как \"%s\".", {backup.filename().string()})};
}

void TReadBeforeWrite::CheckWrite(const std::filesystem::path& path)
{
    // A file that is not there has nothing to lose; from its first save on it holds what
    // memory holds.
    std::error_code ec;
    if (!m_read && !std::filesystem::exists(path, ec) && !ec) m_read = true;
    assert(m_read && "a data file is saved by a run that never read it");
    if (!m_read)
        throw Error(Format("Файл \"%s\" не был прочитан при этом запуске программы; запись в него отменена, "
                           "чтобы не потерять его записи.",
                           {path.filename().string()}));
}

std::string ReadOnlyFileText(const std::filesystem::path& path)
{
    return Format("Файл \"%s\" не будет перезаписан до завершения работы программы, чтобы не потерять "
                  "непрочитанные записи.",
                  {path.filename().string()});
}

std::string ErrnoText(int err)
{
    switch (err) {
    case ENOENT: return "Файл не найден";
    case EACCES:
    case EPERM: return "Отказано в доступе";
    case ENOSPC: return "Нет места на устройстве";
    case EDQUOT: return "Превышена дисковая квота";
    case EROFS: return "Файловая система доступна только для чтения";
    case EISDIR: return "Это каталог";
    case ENOTDIR: return "Это не каталог";
    case EEXIST: return "Файл существует";
    case EIO: return "Ошибка ввода-вывода";
    case EMFILE:
    case ENFILE: return "Слишком много открытых файлов";
    case ENAMETOOLONG: return "Слишком длинное имя файла";
    case EFBIG: return "Файл слишком велик";
    case EBUSY: return "Устройство или ресурс занято";
    case ELOOP: return "Слишком много уровней символических ссылок";
    case ETXTBSY: return "Текстовый файл занят";
    case ENOMEM: return "Недостаточно памяти";
    default: return std::strerror(err);
    }
}

int AppendToFile(const std::filesystem::path& path, std::string_view bytes)
{
    int err = 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        err = errno;
    } else {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                err = n < 0 ? errno : EIO;
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        if (::close(fd) != 0 && err == 0) err = errno;
    }
    return err;
}

} // namespace kv::util
