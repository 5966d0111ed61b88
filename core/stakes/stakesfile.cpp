#include "core/stakes/stakesfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "core/game/numbers.h"
#include "core/shell/shell.h"
#include "core/util/binio.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::stakes {

namespace {

constexpr const char* NotOpenText = "Файл ставок не открыт!";
constexpr const char* NoRecordText = "Запись со индексом %d в файле данных не найдена!";

// Records collected by a bulk append are written once they fill about a megabyte.
constexpr std::size_t BulkBlockBytes = 3360 * TStakeRecord::RecordSize;
// A block appended at once is copied for the reads after it up to this size.
constexpr std::size_t TailBytes = 64 * TStakeRecord::RecordSize;
// Records per read when a pass walks the whole file.
constexpr int ScanChunkRecords = 4096;

[[noreturn]] void failErrno(int err)
{
    throw Error(util::ErrnoText(err));
}

[[noreturn]] void failFile(const char* templ, const std::filesystem::path& path, int err)
{
    throw Error(util::Format(templ, {path.string(), util::ErrnoText(err)}));
}

// Writes everything or reports how far it got; errno tells why it stopped.
bool writeAllAt(int fd, int64_t pos, const uint8_t* data, std::size_t size, std::size_t& written)
{
    written = 0;
    while (written < size) {
        const std::size_t allowed = util::WritableBytes(size - written);
        if (allowed == 0) return false;
        const ssize_t n = ::pwrite(fd, data + written, allowed, static_cast<off_t>(pos + written));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

const char* DeleteConditionCaption(int mode)
{
    switch (mode) {
    case DeleteEqual: return "Равно [ = ]";
    case DeleteGreater: return "Более [ > ]";
    case DeleteNotLess: return "Не менее [ >= ]";
    case DeleteLess: return "Менее [ < ]";
    case DeleteNotGreater: return "Не более [ <= ]";
    }
    return "";
}

bool DeleteConditionHolds(int mode, int value, int matchedCount)
{
    switch (mode) {
    case DeleteEqual: return matchedCount == value;
    case DeleteGreater: return matchedCount > value;
    case DeleteNotLess: return matchedCount >= value;
    case DeleteLess: return matchedCount < value;
    case DeleteNotGreater: return matchedCount <= value;
    }
    return false;
}

// --- opening and closing ---------------------------------------------------------------------

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
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw Error(util::Format("Не удалось открыть файл \"%s\": %s", {path.string(), util::ErrnoText(err)}));
    }
    m_fd = fd;
    m_path = path;
    m_fileSize = st.st_size;
    m_pending.clear();
    dropTail();
    invalidate();
}

void TStakesFile::Close()
{
    if (m_fd < 0) return;
    try {
        Flush();
    } catch (const std::exception&) {
        // Close must not fail (it runs from destructors); Close(Shell&) reports this.
    }
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
    m_fileSize = 0;
    m_pending.clear();
    dropTail();
    invalidate();
}

bool TStakesFile::Close(shell::Shell& shell)
{
    bool ok = true;
    if (m_fd >= 0) {
        try {
            Flush();
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка записи в файл ставок!", e.what());
            ok = false;
        }
    }
    Close();
    return ok;
}

void TStakesFile::Reopen()
{
    try {
        if (m_fd >= 0) {
            Flush();
            // Letting the lock go would let a second instance in; when the file on the disk is
            // still the one held, re-reading its size is all a reopen has to do.
            struct stat held {}, onDisk {};
            if (::fstat(m_fd, &held) == 0 && ::stat(m_path.c_str(), &onDisk) == 0 && held.st_dev == onDisk.st_dev
                && held.st_ino == onDisk.st_ino) {
                m_fileSize = held.st_size;
                dropTail();
                invalidate();
                return;
            }
        }
        const std::filesystem::path path = m_path;
        Close();
        Open(path);
    } catch (...) {
        Close();
        throw;
    }
}

bool TStakesFile::Reopen(shell::Shell& shell)
{
    try {
        Reopen();
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка чтения файла ставок!", e.what());
        return false;
    }
}

bool TStakesFile::IsOutdated()
{
    if (!HasRecords()) return false;
    return IsOutdatedStakesFile(m_fileSize, FirstVersion());
}

// --- low-level access ------------------------------------------------------------------------

void TStakesFile::requireOpen() const
{
    if (m_fd < 0) throw Error(NotOpenText);
}

int64_t TStakesFile::recordPos(int index, SeekOrigin origin) const
{
    const int64_t pos = origin == SeekOrigin::Start ? int64_t{index} * RecordSize
                                                    : m_fileSize + int64_t{index} * RecordSize;
    if (pos < 0 || pos + RecordSize > m_fileSize) throw Error(util::Format(NoRecordText, {index}));
    return pos;
}

void TStakesFile::readAt(int64_t pos, uint8_t* out, std::size_t size) const
{
    if (pos >= m_tailPos && pos + static_cast<int64_t>(size) <= m_tailPos + static_cast<int64_t>(m_tail.size())) {
        std::copy_n(m_tail.data() + (pos - m_tailPos), size, out);
        return;
    }
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(m_fd, out + got, size - got, static_cast<off_t>(pos + got));
        if (n < 0) {
            if (errno == EINTR) continue;
            failErrno(errno);
        }
        if (n == 0) failErrno(EIO);   // the file shrank behind our back
        got += static_cast<std::size_t>(n);
    }
}

void TStakesFile::writeAt(int64_t pos, const uint8_t* in, std::size_t size)
{
    requireWritable();
    invalidate();
    std::size_t written = 0;
    const bool ok = writeAllAt(m_fd, pos, in, size, written);
    m_fileSize = std::max<int64_t>(m_fileSize, pos + static_cast<int64_t>(written));
    const int64_t end = pos + static_cast<int64_t>(size);
    const int64_t tailEnd = m_tailPos + static_cast<int64_t>(m_tail.size());
    if (ok && pos >= m_tailPos && end <= tailEnd)
        std::copy_n(in, size, m_tail.data() + (pos - m_tailPos));
    else if (pos < tailEnd && end > m_tailPos)
        dropTail();
    if (!ok) failErrno(errno);
}

void TStakesFile::Flush()
{
    if (m_pending.empty()) return;
    requireOpen();
    std::size_t written = 0;
    if (writeAllAt(m_fd, m_fileSize, reinterpret_cast<const uint8_t*>(m_pending.data()), m_pending.size(),
                   written)) {
        if (m_pending.size() <= TailBytes) {
            m_tail.swap(m_pending);
            m_tailPos = m_fileSize;
        } else {
            dropTail();
        }
        m_fileSize += static_cast<int64_t>(written);
        m_pending.clear();
        return;
    }
    dropTail();
    // Keep the whole records that made it and cut a torn one off, so the file stays readable.
    const int err = errno;
    written -= written % TStakeRecord::RecordSize;
    m_fileSize += static_cast<int64_t>(written);
    (void)::ftruncate(m_fd, static_cast<off_t>(m_fileSize));
    m_pending.clear();
    invalidate();
    failErrno(err);
}

void TStakesFile::ReadRecords(int first, int count, uint8_t* out)
{
    requireOpen();
    Flush();
    if (count <= 0) return;
    if (first < 0 || int64_t{first} + count > RecordCount()) throw Error(util::Format(NoRecordText, {first}));
    readAt(int64_t{first} * RecordSize, out, static_cast<std::size_t>(count) * RecordSize);
}

void TStakesFile::WriteRecords(int first, int count, const uint8_t* in)
{
    requireOpen();
    Flush();
    if (count <= 0) return;
    if (first < 0 || int64_t{first} + count > RecordCount()) throw Error(util::Format(NoRecordText, {first}));
    writeAt(int64_t{first} * RecordSize, in, static_cast<std::size_t>(count) * RecordSize);
}

// --- records ---------------------------------------------------------------------------------

TStakeRecord TStakesFile::ReadStake(int index, SeekOrigin origin)
{
    requireOpen();
    Flush();
    if (m_cache.Valid && m_cache.Index == index && m_cache.Origin == origin) return m_cache.Record;
    uint8_t buf[TStakeRecord::RecordSize];
    readAt(recordPos(index, origin), buf, sizeof buf);
    TStakeRecord r;
    r.Read(buf);
    m_cache.Index = index;
    m_cache.Origin = origin;
    m_cache.Record = r;
    m_cache.Valid = true;
    return r;
}

TStakeRecord TStakesFile::ReadStake(shell::Shell& shell, int index, SeekOrigin origin)
{
    try {
        return ReadStake(index, origin);
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка чтения записи из файла ставок!", e.what());
        return TStakeRecord{};
    }
}

void TStakesFile::WriteStakeAt(const TStakeRecord& record, int index, SeekOrigin origin)
{
    requireOpen();
    Flush();
    uint8_t buf[TStakeRecord::RecordSize];
    record.Write(buf);
    writeAt(recordPos(index, origin), buf, sizeof buf);
}

bool TStakesFile::WriteStakeAt(shell::Shell& shell, const TStakeRecord& record, int index, SeekOrigin origin)
{
    try {
        WriteStakeAt(record, index, origin);
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка записи в файл ставок!", e.what());
        return false;
    }
}

// --- appending -------------------------------------------------------------------------------

int32_t TStakesFile::lastDrawNo()
{
    // The file's actual last record decides, never the read cache.
    if (!m_pending.empty())
        return util::GetI32(reinterpret_cast<const uint8_t*>(m_pending.data()) + m_pending.size()
                            - TStakeRecord::RecordSize + TStakeRecord::OffDrawNo);
    uint8_t buf[4];
    readAt(recordPos(-1, SeekOrigin::End) + TStakeRecord::OffDrawNo, buf, sizeof buf);
    return util::GetI32(buf);
}

void TStakesFile::appendBytes(const std::string& bytes)
{
    requireWritable();
    invalidate();
    m_pending += bytes;
    if (m_bulk == 0 || m_pending.size() >= BulkBlockBytes) Flush();
}

void TStakesFile::AppendStakes(const TStakeRecord& record, int drawsCount)
{
    requireOpen();
    if (record.Checked != 0) throw Error("Добавление в конец файла уже проверенной ставки!");
    constexpr std::size_t size = TStakeRecord::RecordSize;
    uint8_t stake[size];
    record.Write(stake);
    if (drawsCount < 2) {
        appendBytes(std::string(reinterpret_cast<const char*>(stake), size));
        return;
    }
    uint8_t separator[size];
    NewSeparator().Write(separator);
    std::string block;
    block.reserve(static_cast<std::size_t>(drawsCount) * 2 * size);
    bool afterStake = HasRecords() && lastDrawNo() > 0;
    for (int i = 0; i < drawsCount; ++i) {
        if (afterStake) block.append(reinterpret_cast<const char*>(separator), size);
        // Draw numbers wrap like the 32-bit field they are stored in.
        const auto drawNo = static_cast<int32_t>(static_cast<uint32_t>(record.DrawNo) + static_cast<uint32_t>(i));
        util::PutI32(stake + TStakeRecord::OffDrawNo, drawNo);
        block.append(reinterpret_cast<const char*>(stake), size);
        afterStake = drawNo > 0;
    }
    appendBytes(block);
}

bool TStakesFile::AppendStakes(shell::Shell& shell, const TStakeRecord& record, int drawsCount)
{
    try {
        AppendStakes(record, drawsCount);
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка добавления записи в файл ставок!", e.what());
        return false;
    }
}

TStakesFile::TBulkAppend::~TBulkAppend()
{
    --m_file.m_bulk;
    if (m_file.m_bulk > 0 || !m_file.IsOpen()) return;
    try {
        m_file.Flush();
    } catch (const std::exception&) {
        // Finish has reported this already, or the caller is leaving on a failure of its own.
    }
}

bool TStakesFile::TBulkAppend::Finish(shell::Shell& shell)
{
    try {
        m_file.Flush();
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка добавления записи в файл ставок!", e.what());
        return false;
    }
}

// --- search ----------------------------------------------------------------------------------

bool TStakesFile::FindStake(int32_t drawNo, const game::TNumSet& numbers)
{
    requireOpen();
    Flush();
    const int total = RecordCount();
    std::vector<uint8_t> buf(static_cast<std::size_t>(std::min(total, ScanChunkRecords)) * RecordSize);
    for (int first = 0; first < total; first += ScanChunkRecords) {
        const int n = std::min(ScanChunkRecords, total - first);
        ReadRecords(first, n, buf.data());
        for (int i = 0; i < n; ++i) {
            const uint8_t* p = buf.data() + static_cast<std::size_t>(i) * RecordSize;
            if (util::GetI32(p + TStakeRecord::OffDrawNo) != drawNo) continue;
            game::TNumSet stake;
            stake.Read(p + TStakeRecord::OffStake);
            if (game::SameNumSet(stake, numbers)) return true;
        }
    }
    return false;
}

bool TStakesFile::FindStake(shell::Shell& shell, int32_t drawNo, const game::TNumSet& numbers)
{
    try {
        return FindStake(drawNo, numbers);
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка поиска записи в файле ставок!", e.what());
        return false;
    }
}

// --- rewrites --------------------------------------------------------------------------------

int TStakesFile::rewrite(const std::function<bool(const uint8_t*, int)>& keep)
{
    if (!HasRecords()) throw Error(NotOpenText);
    requireWritable();
    Flush();
    const std::filesystem::path tmp = m_path.parent_path() / TempFileName;
    int tfd = -1;
    int64_t newSize = 0;
    int removed = 0;
    // Until the new file has taken the old one's place, a failure only removes the temporary:
    // the stakes file stays open, locked and untouched.
    try {
        tfd = ::open(tmp.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (tfd < 0) failFile("Не удалось создать файл \"%s\": %s", tmp, errno);
        // Locked before it becomes the stakes file, so no second instance can slip in between.
        if (::flock(tfd, LOCK_EX | LOCK_NB) != 0) failFile("Не удалось заблокировать файл \"%s\": %s", tmp, errno);
        struct stat old {};
        if (::fstat(m_fd, &old) == 0) (void)::fchmod(tfd, old.st_mode & 07777);

        const int total = RecordCount();
        std::vector<uint8_t> in(static_cast<std::size_t>(std::min(total, ScanChunkRecords)) * RecordSize);
        std::vector<uint8_t> out;
        out.reserve(in.size());
        for (int first = 0; first < total; first += ScanChunkRecords) {
            const int n = std::min(ScanChunkRecords, total - first);
            ReadRecords(first, n, in.data());
            out.clear();
            for (int i = 0; i < n; ++i) {
                const uint8_t* p = in.data() + static_cast<std::size_t>(i) * RecordSize;
                if (keep(p, first + i))
                    out.insert(out.end(), p, p + RecordSize);
                else
                    ++removed;
            }
            std::size_t written = 0;
            if (!writeAllAt(tfd, newSize, out.data(), out.size(), written))
                failFile("Не удалось записать файл \"%s\": %s", tmp, errno);
            newSize += static_cast<int64_t>(out.size());
        }
        if (::fsync(tfd) != 0) failFile("Не удалось записать файл \"%s\": %s", tmp, errno);
        if (::rename(tmp.c_str(), m_path.c_str()) != 0)
            failFile("Ошибка переименования / удаления временного файла ставок %s!\n\n%s", tmp, errno);
    } catch (...) {
        if (tfd >= 0) ::close(tfd);
        ::unlink(tmp.c_str());
        throw;
    }

    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = tfd;
    m_fileSize = newSize;
    dropTail();
    invalidate();
    // Make the rename durable; both versions are safe whatever happens here.
    std::filesystem::path dir = m_path.parent_path();
    if (dir.empty()) dir = ".";
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return removed;
}

int TStakesFile::DeleteSelectedStakes(int topRow, int bottomRow)
{
    return rewrite([&](const uint8_t*, int index) {
        const int row = index + 1;
        return row < topRow || row > bottomRow;
    });
}

bool TStakesFile::DeleteSelectedStakes(shell::Shell& shell, int topRow, int bottomRow)
{
    try {
        DeleteSelectedStakes(topRow, bottomRow);
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка удаления записи из файла ставок!", e.what());
        return false;
    }
}

int TStakesFile::DeleteStakesByCondition(int mode, int value)
{
    return rewrite([&](const uint8_t* p, int) {
        if (util::GetU8(p + TStakeRecord::OffOrigin) == OriginSeparator) return true;
        return !DeleteConditionHolds(mode, value, util::GetI32(p + TStakeRecord::OffMatched));
    });
}

bool TStakesFile::DeleteStakesByCondition(shell::Shell& shell, int mode, int value)
{
    try {
        DeleteStakesByCondition(mode, value);
        return true;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка удаления записи из файла ставок!", e.what());
        return false;
    }
}

int TStakesFile::StakeCount()
{
    Flush();
    const int total = RecordCount();
    std::vector<uint8_t> in(static_cast<std::size_t>(std::min(total, ScanChunkRecords)) * RecordSize);
    int stakes = 0;
    for (int first = 0; first < total; first += ScanChunkRecords) {
        const int n = std::min(ScanChunkRecords, total - first);
        ReadRecords(first, n, in.data());
        for (int i = 0; i < n; ++i)
            stakes += util::GetU8(in.data() + static_cast<std::size_t>(i) * RecordSize + TStakeRecord::OffOrigin) != OriginSeparator;
    }
    return stakes;
}

void TStakesFile::Truncate(int keepRecords)
{
    requireOpen();
    requireWritable();
    m_pending.clear();
    dropTail();
    invalidate();
    const int64_t size = std::min<int64_t>(m_fileSize, int64_t{std::max(0, keepRecords)} * RecordSize);
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) failErrno(errno);
    m_fileSize = size;
}

uint8_t TStakesFile::FirstVersion()
{
    if (!HasRecords()) return 0;
    Flush();
    uint8_t version = 0;
    readAt(0, &version, 1);
    return version;
}

void TStakesFile::requireWritable() const
{
    if (m_readOnly) throw Error(util::ReadOnlyFileText(m_path));
}

} // namespace kv::stakes
