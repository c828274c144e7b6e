#pragma once
#include <windows.h>

#include <utility>

namespace vexal {

// One RAII owner for the platform's closable things: kernel handles, registry
// keys, loaded modules. Traits give the invalid value and the close call.
template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;
    UniqueResource() = default;
    explicit UniqueResource(Value v) : value_(v) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Value get() const { return value_; }
    Value* out() {
        reset();
        return &value_;
    }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    Value release() { return std::exchange(value_, Traits::invalid()); }
    void reset(Value v = Traits::invalid()) {
        if (value_ != Traits::invalid()) Traits::close(value_);
        value_ = v;
    }

private:
    Value value_ = Traits::invalid();
};

struct FileHandleTraits {
    using Value = HANDLE;
    static Value invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Value v) { CloseHandle(v); }
};
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value invalid() { return nullptr; }
    static void close(Value v) { CloseHandle(v); }
};
struct RegistryKeyTraits {
    using Value = HKEY;
    static Value invalid() { return nullptr; }
    static void close(Value v) { RegCloseKey(v); }
};
struct ModuleTraits {
    using Value = HMODULE;
    static Value invalid() { return nullptr; }
    static void close(Value v) { FreeLibrary(v); }
};

using FileHandle = UniqueResource<FileHandleTraits>;      // CreateFile results
using KernelHandle = UniqueResource<KernelHandleTraits>;  // processes, threads, semaphores
using RegistryKey = UniqueResource<RegistryKeyTraits>;
using Module = UniqueResource<ModuleTraits>;

}  // namespace vexal
