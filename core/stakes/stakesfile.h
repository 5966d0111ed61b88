#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "core/game/types.h"
#include "core/stakes/stakerecord.h"

namespace kv::shell {
class Shell;
}

namespace kv::stakes {

// Where a record index counts from: the first record (0, 1, ...) or the end of the file
// (-1 is the last record, -2 the one before it, ...).
enum class SeekOrigin { Start, End };

// The conditions of "Удаление по условию" on a stake's hit count, in the dialog's order.
enum TDeleteCondition : int {
    DeleteEqual = 0,       // "Равно [ = ]"
    DeleteGreater = 1,     // "Более [ > ]"
    DeleteNotLess = 2,     // "Не менее [ >= ]"
    DeleteLess = 3,        // "Менее [ < ]"
    DeleteNotGreater = 4,  // "Не более [ <= ]"
};
constexpr int DeleteConditionCount = 5;
const char* DeleteConditionCaption(int mode);   // empty for an unknown mode
// Whether a stake with this hit count (-1 while unchecked) is removed; an unknown mode removes
// nothing.
bool DeleteConditionHolds(int mode, int value, int matchedCount);

// The stakes file, held open for reading and writing with an exclusive lock from start-up to
// shutdown. The lock is what keeps a second instance out of the same data directory, so it is
// never let go while the program runs: rewrites lock the new file before it takes the old one's
// place.
//
// Operations come in two forms. The plain ones fail with kv::Error carrying the inner text
// ("Файл ставок не открыт!", "Запись со индексом %d в файле данных не найдена!", the system's
// reason); the ones taking a Shell show the operation's fixed message with that text and
// return a neutral result, as the commands of the program expect.
class TStakesFile {
public:
    static constexpr const char* FileName = "Kvanta_8x20.lsk";
    static constexpr const char* TempFileName = "Kvanta_8x20.~tmp";
    static constexpr int RecordSize = static_cast<int>(TStakeRecord::RecordSize);

    TStakesFile() = default;
    ~TStakesFile();
    TStakesFile(const TStakesFile&) = delete;
    TStakesFile& operator=(const TStakesFile&) = delete;

    // Opens (creating an empty file when missing) and locks the file; empties the read cache.
    // Fails with kv::Error when it cannot be opened or another process holds the lock; the file
    // is then left closed.
    void Open(const std::filesystem::path& path);
    // Writes what a bulk append still holds and closes. Never fails; a write failure loses
    // those records, which is why the Shell form exists for the shutdown.
    void Close();
    // The same, reporting a failed write as "Ошибка записи в файл ставок!".
    bool Close(shell::Shell& shell);
    // Makes the next reads come from the file as it is now (empties the read cache and follows a
    // file that was replaced on disk); the lock stays held. Fails like Open, leaving no open file.
    void Reopen();
    // The same, reporting "Ошибка чтения файла ставок!".
    bool Reopen(shell::Shell& shell);

    bool IsOpen() const { return m_fd >= 0; }
    const std::filesystem::path& Path() const { return m_path; }
    // Bytes of the file, counting records a bulk append still holds.
    int64_t Size() const { return m_fd >= 0 ? m_fileSize + static_cast<int64_t>(m_pending.size()) : 0; }
    bool HasRecords() const { return Size() > 0; }
    // Whole records; the bytes of a trailing partial record are not one.
    int RecordCount() const { return static_cast<int>(Size() / RecordSize); }
    // The file has records but cannot be read as this version's records (see IsOutdatedStakesFile).
    bool IsOutdated();

    // Record at index from the start, or from the end (-1 the last), through the one-record cache.
    TStakeRecord ReadStake(int index, SeekOrigin origin = SeekOrigin::Start);
    // Shows "Ошибка чтения записи из файла ставок!" and gives an all-zero record on a failure.
    TStakeRecord ReadStake(shell::Shell& shell, int index, SeekOrigin origin = SeekOrigin::Start);
    // Overwrites an existing record; positions outside the file fail.
    void WriteStakeAt(const TStakeRecord& record, int index, SeekOrigin origin = SeekOrigin::Start);
    bool WriteStakeAt(shell::Shell& shell, const TStakeRecord& record, int index,
                      SeekOrigin origin = SeekOrigin::Start);

    // Appends one stake, or for drawsCount >= 2 the stake for that many consecutive draws
    // (DrawNo, DrawNo + 1, ...), each behind a separator record unless it would open the file
    // or follow a separator. Checked stakes are refused.
    void AppendStakes(const TStakeRecord& record, int drawsCount);
    // Shows "Ошибка добавления записи в файл ставок!"; records written before a failure stay.
    bool AppendStakes(shell::Shell& shell, const TStakeRecord& record, int drawsCount);

    // While a TBulkAppend lives, appended records are collected in memory and written in large
    // blocks; any read, write or rewrite writes them first. A failure of those delayed writes
    // shows up in the operation that makes them.
    class TBulkAppend {
    public:
        explicit TBulkAppend(TStakesFile& file) : m_file(file) { ++m_file.m_bulk; }
        // Writes the rest quietly (when it is the outermost scope); call Finish to learn about
        // a failure.
        ~TBulkAppend();
        TBulkAppend(const TBulkAppend&) = delete;
        TBulkAppend& operator=(const TBulkAppend&) = delete;
        // Writes the rest; shows "Ошибка добавления записи в файл ставок!" on a failure.
        bool Finish(shell::Shell& shell);

    private:
        TStakesFile& m_file;
    };
    // Writes the records a bulk append holds.
    void Flush();

    // A stake for that draw with the same numbers in any order (SameNumSet).
    bool FindStake(int32_t drawNo, const game::TNumSet& numbers);
    // Shows "Ошибка поиска записи в файле ставок!" and gives false on a failure.
    bool FindStake(shell::Shell& shell, int32_t drawNo, const game::TNumSet& numbers);

    // Removes the records of grid rows topRow..bottomRow (record i is row i + 1, row 0 being
    // the header) by a rewrite through Kvanta_8x20.~tmp. Returns the number removed.
    int DeleteSelectedStakes(int topRow, int bottomRow);
    // Shows "Ошибка удаления записи из файла ставок!" and gives false on a failure.
    bool DeleteSelectedStakes(shell::Shell& shell, int topRow, int bottomRow);
    // Removes the stakes (never separators) whose hit count meets the condition; unchecked
    // stakes count -1 hits. Returns the number removed.
    int DeleteStakesByCondition(int mode, int value);
    bool DeleteStakesByCondition(shell::Shell& shell, int mode, int value);

    // Records that are stakes, not separators (read in large chunks).
    int StakeCount();

    // Cuts the file to its first keepRecords records (empties it by default).
    void Truncate(int keepRecords = 0);
    // The Version byte of the first record; 0 for an empty file.
    uint8_t FirstVersion();
    // A damaged file whose copy could not be kept: every write fails from now on, naming the
    // reason, until the program ends.
    void SetReadOnly() { m_readOnly = true; }
    bool IsReadOnly() const { return m_readOnly; }

    // Raw access to whole records for the passes that walk the file: count records from index
    // `first`, into or out of a buffer of count x RecordSize bytes. The read cache is bypassed
    // and emptied by writes.
    void ReadRecords(int first, int count, uint8_t* out);
    void WriteRecords(int first, int count, const uint8_t* in);

private:
    struct Cache {
        int Index = -1;
        SeekOrigin Origin = SeekOrigin::Start;
        bool Valid = false;
        TStakeRecord Record;
    };

    void requireOpen() const;
    void requireWritable() const;
    // Byte position of a record, failing for positions outside the file.
    int64_t recordPos(int index, SeekOrigin origin) const;
    void readAt(int64_t pos, uint8_t* out, std::size_t size) const;
    void writeAt(int64_t pos, const uint8_t* in, std::size_t size);
    void appendBytes(const std::string& bytes);
    int32_t lastDrawNo();
    // The tail copy goes whenever the file may hold other bytes than the ones written here.
    void dropTail()
    {
        m_tail.clear();
        m_tailPos = 0;
    }
    // Writes the records that `keep` accepts to the temporary file and puts it in the stakes
    // file's place; the old file stays open and untouched until the new one is complete.
    int rewrite(const std::function<bool(const uint8_t* record, int index)>& keep);
    void invalidate() { m_cache.Valid = false; }

    int m_fd = -1;
    std::filesystem::path m_path;
    int64_t m_fileSize = 0;    // bytes on the disk
    std::string m_pending;     // records appended in bulk, not yet written
    // A copy of the block appended last, at byte m_tailPos, kept up to date by the writes here:
    // a scenario checks the stakes it has just appended and reads the last record before every
    // pass, which the copy answers without a system call.
    std::string m_tail;
    int64_t m_tailPos = 0;
    int m_bulk = 0;
    bool m_readOnly = false;
    Cache m_cache;
};

} // namespace kv::stakes
