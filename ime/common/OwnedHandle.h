#pragma once
// Holders that close a handle or registry key when they go out of scope.

#include <windows.h>

namespace ime {

template <typename Kind>
class Owned {
public:
    using Type = typename Kind::Type;

    Owned() = default;
    explicit Owned(Type value) : value_(value) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Type Get() const { return value_; }
    explicit operator bool() const { return value_ != Kind::None(); }

    // Closes what is held, then holds `value`.
    void Reset(Type value = Kind::None())
    {
        if (*this)
            Kind::Close(value_);
        value_ = value;
    }

    // For functions that hand the handle back through an out-parameter.
    Type* Receive()
    {
        Reset();
        return &value_;
    }

private:
    Type value_ = Kind::None();
};

struct KernelObject {  // mutexes and the like: "none" is null
    using Type = HANDLE;
    static Type None() { return nullptr; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};

struct OpenFile {  // CreateFileW reports failure as INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type None() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};

struct RegistryKey {
    using Type = HKEY;
    static Type None() { return nullptr; }
    static void Close(Type key) { ::RegCloseKey(key); }
};

using OwnedHandle = Owned<KernelObject>;
using OwnedFile = Owned<OpenFile>;
using OwnedKey = Owned<RegistryKey>;

}  // namespace ime
