#pragma once
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

// Appends bytes to a file, creating it when missing (logs that grow line by line and must not be
// rewritten). Returns 0, or the errno of the failure: callers report it and go on.
int AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// The Russian text of an errno value ("Отказано в доступе", "Нет места на устройстве", ...);
// unknown codes give the C library's text.
std::string ErrnoText(int err);

} // namespace kv::util
