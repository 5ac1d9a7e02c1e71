#pragma once
// Every way the engine writes, replaces and deletes files in the dictionary
// folder. New content is always written beside its place and flushed, then
// renamed over it in one step, so that a reader sees the old file or the whole
// new one and a kill leaves at most a temporary file.

#include <cstdint>
#include <string>

// Windows-style results of the file operations.
inline constexpr int32_t kResultOk = 0;
inline constexpr int32_t kResultNothingToDo = 1;
inline constexpr int32_t kResultFail = static_cast<int32_t>(0x80004005u);

// Creates an empty file with a unique name in dir ("tmp" prefix); "" on failure.
[[nodiscard]] std::wstring MakeTempFilePath(const std::wstring& dir);

// Deletes the file when there is one; false only when one stays.
bool DeleteFileIfPresent(const std::wstring& path);

// Clears read-only and deletes: kResultOk, kResultNothingToDo when no file is
// there, kResultFail otherwise (the reason in GetLastError).
[[nodiscard]] int32_t DeleteDictFile(const std::wstring& path);

// Whether the file, if there is one, can be deleted or replaced now: a read-only
// one is made writable, and it is opened for deletion as DeleteFileW opens it, so
// that a file another process holds open is refused before anything changes.
// Fails with the reason in GetLastError.
[[nodiscard]] bool CanDeleteFile(const std::wstring& path);

// Writes `bytes` to a new file at path and flushes it to the disk.
[[nodiscard]] bool WriteFileThrough(const std::wstring& path, const void* bytes, uint32_t size);

// Renames a written file over its place in one step, through to the disk.
[[nodiscard]] bool RenameOver(const std::wstring& from, const std::wstring& to);

// Puts a copy of srcPath at destPath through tmpPath: the copy is flushed, the
// old file's ".dat" cache is dropped unless read-only, and the copy is renamed
// over the old file. Logs each failure.
[[nodiscard]] bool InstallDictFile(const std::wstring& srcPath, const std::wstring& destPath,
                                   const std::wstring& tmpPath);

// The temporary file through which stored files are written, "tmp*.tmp" in the
// dictionary folder, on the stored files' volume; removed when its scope ends.
class StagingFile {
public:
    explicit StagingFile(std::wstring dir) : dir_(std::move(dir)), path_(MakeTempFilePath(dir_)) {}
    ~StagingFile() { Remove(); }
    StagingFile(const StagingFile&) = delete;
    StagingFile& operator=(const StagingFile&) = delete;

    const std::wstring& Path() const { return path_; }
    // After the file was renamed to a stored name: takes the same name again, so
    // that a record of it stays true. False when another process took the name
    // first; a new one is made then.
    bool Renew();
    void Remove();

private:
    std::wstring dir_;
    std::wstring path_;
};

// Deletes the source file of a batch entry when its processing ends, if asked to.
class SourceFileGuard {
public:
    SourceFileGuard(bool deleteFile, std::wstring path) : deleteFile_(deleteFile), path_(std::move(path)) {}
    ~SourceFileGuard()
    {
        if (deleteFile_)
            DeleteFileIfPresent(path_);
    }
    SourceFileGuard(const SourceFileGuard&) = delete;
    SourceFileGuard& operator=(const SourceFileGuard&) = delete;

private:
    bool deleteFile_;
    std::wstring path_;
};
