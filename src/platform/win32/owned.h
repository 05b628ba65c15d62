#pragma once
// Owned: one operating-system resource and the call that gives it back, in one small
// move-only type, so that no path out of a function can leak it or free it twice. Every
// handle, module, font, menu, device context, BSTR, VARIANT, safe array, block of COM
// task memory or local or global memory the program holds is one of these, and an
// attached console is an AttachedConsole; nothing else frees them.
#include <windows.h>
// After windows.h, whose types it uses.
#include <oleauto.h>

#include <utility>

namespace tarnwell {

template <class Traits>
class Owned {
public:
    using Value = typename Traits::Value;

    Owned() = default;
    explicit Owned(Value value) : value_(value) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : value_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Value get() const { return value_; }
    bool valid() const { return value_ != Traits::none(); }
    explicit operator bool() const { return valid(); }
    // The place for a call that hands out a new resource; frees the one held first.
    Value* put() {
        reset();
        return &value_;
    }
    // Gives the resource up without freeing it (to an owner outside the program, such as
    // the clipboard).
    Value release() { return std::exchange(value_, Traits::none()); }
    // Frees the resource held, if any, and takes `value`; true when the freeing went well.
    bool reset(Value value = Traits::none()) {
        const Value old = std::exchange(value_, value);
        return old == Traits::none() || Traits::free(old);
    }

private:
    Value value_ = Traits::none();
};

namespace owned_traits {
struct Handle {  // files and other kernel objects; INVALID_HANDLE_VALUE when none
    using Value = HANDLE;
    static Value none() { return INVALID_HANDLE_VALUE; }
    static bool free(Value v) { return CloseHandle(v) != FALSE; }
};
struct FindHandle {
    using Value = HANDLE;
    static Value none() { return INVALID_HANDLE_VALUE; }
    static bool free(Value v) { return FindClose(v) != FALSE; }
};
struct Module {
    using Value = HMODULE;
    static Value none() { return nullptr; }
    static bool free(Value v) { return FreeLibrary(v) != FALSE; }
};
struct Font {
    using Value = HFONT;
    static Value none() { return nullptr; }
    static bool free(Value v) { return DeleteObject(v) != FALSE; }
};
struct Menu {
    using Value = HMENU;
    static Value none() { return nullptr; }
    static bool free(Value v) { return DestroyMenu(v) != FALSE; }
};
struct Bstr {
    using Value = BSTR;
    static Value none() { return nullptr; }
    static bool free(Value v) {
        SysFreeString(v);
        return true;
    }
};
struct TaskMemory {
    using Value = void*;
    static Value none() { return nullptr; }
    static bool free(Value v) {
        CoTaskMemFree(v);
        return true;
    }
};
struct LocalMemory {
    using Value = HLOCAL;
    static Value none() { return nullptr; }
    static bool free(Value v) { return LocalFree(v) == nullptr; }
};
struct GlobalMemory {
    using Value = HGLOBAL;
    static Value none() { return nullptr; }
    static bool free(Value v) { return GlobalFree(v) == nullptr; }
};
struct SafeArray {
    using Value = SAFEARRAY*;
    static Value none() { return nullptr; }
    static bool free(Value v) { return SUCCEEDED(SafeArrayDestroy(v)); }
};
struct ScreenDc {  // a device context of the whole screen, from GetDC(nullptr)
    using Value = HDC;
    static Value none() { return nullptr; }
    static bool free(Value v) { return ReleaseDC(nullptr, v) != 0; }
};
}  // namespace owned_traits

// A VARIANT of this program's, cleared when it goes.
class OwnedVariant {
public:
    OwnedVariant() { VariantInit(&value_); }
    ~OwnedVariant() { VariantClear(&value_); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
    VARIANT* get() { return &value_; }

    // Clears a VARIANT the caller holds (an [in, out] argument) before a new value goes in;
    // false when its array is locked and stays.
    static bool clear(VARIANT& held) { return SUCCEEDED(VariantClear(&held)); }

private:
    VARIANT value_;
};

// The console of the program that started this one, while it is attached.
class AttachedConsole {
public:
    AttachedConsole() = default;
    ~AttachedConsole() {
        if (attached_) FreeConsole();
    }
    AttachedConsole(const AttachedConsole&) = delete;
    AttachedConsole& operator=(const AttachedConsole&) = delete;
    bool attach_to_parent() { return attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE; }

private:
    bool attached_ = false;
};

using OwnedHandle = Owned<owned_traits::Handle>;
using OwnedFindHandle = Owned<owned_traits::FindHandle>;
using OwnedModule = Owned<owned_traits::Module>;
using OwnedFont = Owned<owned_traits::Font>;
using OwnedMenu = Owned<owned_traits::Menu>;
using OwnedBstr = Owned<owned_traits::Bstr>;
using OwnedTaskMemory = Owned<owned_traits::TaskMemory>;
using OwnedLocalMemory = Owned<owned_traits::LocalMemory>;
using OwnedGlobalMemory = Owned<owned_traits::GlobalMemory>;
using OwnedSafeArray = Owned<owned_traits::SafeArray>;
using OwnedScreenDc = Owned<owned_traits::ScreenDc>;

}  // namespace tarnwell
