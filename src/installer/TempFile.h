#pragma once
// Scoped removal of the files an install leaves behind.

#include <string>

void DeleteFileIfPresent(const std::wstring& path);

// Removes a temporary file (when one was made) on every way out of its scope.
class TempFileGuard {
public:
    explicit TempFileGuard(std::wstring path) : path_(std::move(path)) {}
    ~TempFileGuard() { Remove(); }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

    void Remove()
    {
        if (!path_.empty())
            DeleteFileIfPresent(path_);
    }
    const std::wstring& Path() const { return path_; }
    // For a file that has been moved away: a lookup of the vanished name costs a
    // scan of the folder on some file systems, and there is nothing left to remove.
    void Dismiss() { path_.clear(); }

private:
    std::wstring path_;
};

// Deletes the source file of a batch entry when its processing ends, if asked to.
class SourceFileGuard {
public:
    SourceFileGuard(bool deleteFile, std::wstring path) : deleteFile_(deleteFile), path_(std::move(path)) {}
    ~SourceFileGuard();
    SourceFileGuard(const SourceFileGuard&) = delete;
    SourceFileGuard& operator=(const SourceFileGuard&) = delete;

private:
    bool deleteFile_;
    std::wstring path_;
};
