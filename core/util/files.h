#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <functional>
#include <string_view>

namespace kv::util {

// Reads a whole file into memory. Fails with kv::Error whose text names the file and the
// reason in Russian ("Не удалось открыть файл "...": Отказано в доступе").
std::string ReadWholeFile(const std::filesystem::path& path);

// Reads a file through a buffer of chunkBytes, handing every full chunk (and the shorter last
// one) to `consume`; no copy of the whole file is made. Fails like ReadWholeFile.
void ReadFileInChunks(const std::filesystem::path& path, std::size_t chunkBytes,
                      const std::function<void(std::string_view)>& consume);

// Replaces a file's contents safely: writes a temporary file beside it ("<name>.tmp~"), flushes
// it to the disk, then renames it over the old one, so a failure at any point leaves the old
// file as it was and removes the temporary. The new file keeps the old one's permissions.
// Fails with kv::Error like ReadWholeFile ("Не удалось записать файл ...", "Не удалось
// переименовать файл ..."), always naming `path`.
void RewriteFile(const std::filesystem::path& path, std::string_view bytes);

// Appends records to a data file that must be exactly `size` bytes long now (the length its
// reader saw; a missing file counts as 0), flushed to the disk; a failure cuts the file back
// to `size` and fails with kv::Error like RewriteFile. False, with nothing written, when the
// file has another length: the caller then rewrites it whole. The cost is that of the new bytes,
// where a rewrite costs the whole file.
bool AppendAfter(const std::filesystem::path& path, std::uint64_t size, std::string_view bytes);

// Appends bytes to a file, creating it when missing (logs that grow line by line and must not be
// rewritten). Returns 0, or the errno of the failure: callers report it and go on.
int AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// Keeps a copy of a data file as "<name>.bak" (through RewriteFile) before a load that could
// not read all of it, so the rewrite that follows loses nothing for good. Saved tells whether
// the copy exists; Note is the sentence for the user: where the copy is, or that it could not be
// made and the file stays read-only until the program ends.
struct TBackupCopy {
    bool Saved = false;
    std::string Note;
};
TBackupCopy KeepBackupCopy(const std::filesystem::path& path);
// Why a save of a file left read-only by a failed copy is refused.
std::string ReadOnlyFileText(const std::filesystem::path& path);

// A data file that a run rewrites whole may be written only after that run read it (or while it
// does not exist): otherwise the save replaces every record the file held with the few the run
// made. Such a save is a fault of the program, so a debug build stops at it; every build
// refuses it with an Error naming the file.
class TReadBeforeWrite {
public:
    void MarkRead() { m_read = true; }
    // The records in memory were dropped: the file must be read again before a save.
    void Forget() { m_read = false; }
    bool WasRead() const { return m_read; }
    void CheckWrite(const std::filesystem::path& path);

private:
    bool m_read = false;
};

// Test support: a disk with only `bytes` left. Every write of RewriteFile and of the stakes
// file fails with ENOSPC once they are used up; a negative value (the default) lifts the limit.
void SimulateDiskSpace(int64_t bytes);
// How many of `size` bytes a writer may write now: size without a limit, otherwise what is left
// (0 with errno set to ENOSPC when nothing is).
std::size_t WritableBytes(std::size_t size);

// The Russian text of an errno value ("Отказано в доступе", "Нет места на устройстве", ...);
// unknown codes give the C library's text.
std::string ErrnoText(int err);

} // namespace kv::util
