#pragma once
// Owned: one operating-system resource and the call that gives it back, in one small
// move-only type, so that no path out of a function can leak it or free it twice. Every
// handle, module, font, menu, device context, BSTR, VARIANT, safe array, block of COM
// task memory, window or local or global memory the program holds is one of these; a
// type library's descriptions are OwnedDescriptions, COM interfaces are ComPtrs, an open
// clipboard is an OpenedClipboard and an attached console an AttachedConsole. Nothing
// else frees them.
#include "windows_api/windows_api.h"
// After windows.h, whose types they use.
#include <oleauto.h>
#include <wrl/client.h>

#include <type_traits>
#include <utility>

namespace tarnwell {

// What a freeing call's result says of how it went: a BOOL or count that is non-zero,
// an HRESULT that succeeded, or (LocalFree, GlobalFree) no handle given back.
inline bool freed(int result) { return result != 0; }
inline bool freed(long result) { return SUCCEEDED(result); }
inline bool freed(void* result) { return result == nullptr; }

// The resource of type T that the call `free_call` gives back; none is nullptr, or
// INVALID_HANDLE_VALUE for the handles that use it.
template <class T, auto free_call, bool invalid_handle_is_none = false>
class Owned {
public:
    Owned() = default;
    explicit Owned(T value) : value_(value) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : value_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    T get() const { return value_; }
    bool valid() const { return value_ != none(); }
    explicit operator bool() const { return valid(); }
    // The place for a call that hands out a new resource; frees the one held first.
    T* put() {
        reset();
        return &value_;
    }
    // Gives the resource up without freeing it (to an owner outside the program, such as
    // the clipboard).
    T release() { return std::exchange(value_, none()); }
    // Frees the resource held, if any, and takes `value`; true when the freeing went well.
    bool reset(T value = none()) {
        const T old = std::exchange(value_, value);
        if (old == none()) return true;
        if constexpr (std::is_void_v<decltype(free_call(old))>) {
            free_call(old);
            return true;
        } else {
            return freed(free_call(old));
        }
    }

private:
    static T none() {
        if constexpr (invalid_handle_is_none) return INVALID_HANDLE_VALUE;
        else return nullptr;
    }
    T value_ = none();
};

// A device context of the whole screen, from GetDC(nullptr).
inline int release_screen_dc(HDC dc) { return ReleaseDC(nullptr, dc); }

using OwnedHandle = Owned<HANDLE, CloseHandle, true>;  // files and other kernel objects
using OwnedFindHandle = Owned<HANDLE, FindClose, true>;
using OwnedKey = Owned<HKEY, RegCloseKey>;  // a registry key opened or created, not a root
using OwnedModule = Owned<HMODULE, FreeLibrary>;
using OwnedFont = Owned<HFONT, DeleteObject>;
using OwnedMenu = Owned<HMENU, DestroyMenu>;
using OwnedBstr = Owned<BSTR, SysFreeString>;
using OwnedTaskMemory = Owned<void*, CoTaskMemFree>;
using OwnedLocalMemory = Owned<HLOCAL, LocalFree>;
using OwnedGlobalMemory = Owned<HGLOBAL, GlobalFree>;
using OwnedSafeArray = Owned<SAFEARRAY*, SafeArrayDestroy>;
using OwnedScreenDc = Owned<HDC, release_screen_dc>;
using OwnedWindow = Owned<HWND, DestroyWindow>;  // a top-level window this program made

// A description that a type library or a type's information hands out (a function's,
// the type's or the library's attributes) and takes back through its own method
// `give_back`; the owner keeps the giver alive until then.
template <class Giver, class T, auto give_back>
class OwnedDescription {
public:
    explicit OwnedDescription(Giver& giver) : giver_(&giver) {}
    ~OwnedDescription() { reset(); }
    OwnedDescription(OwnedDescription&& other) noexcept
        : giver_(std::move(other.giver_)), value_(std::exchange(other.value_, nullptr)) {}
    OwnedDescription& operator=(OwnedDescription&& other) noexcept {
        if (this != &other) {
            reset();
            giver_ = std::move(other.giver_);
            value_ = std::exchange(other.value_, nullptr);
        }
        return *this;
    }
    OwnedDescription(const OwnedDescription&) = delete;
    OwnedDescription& operator=(const OwnedDescription&) = delete;

    const T* get() const { return value_; }
    const T* operator->() const { return value_; }
    explicit operator bool() const { return value_ != nullptr; }
    // The place for the call that hands out a description; gives back the one held first.
    T** put() {
        reset();
        return &value_;
    }
    void reset() {
        if (value_ != nullptr) (giver_.Get()->*give_back)(std::exchange(value_, nullptr));
    }

private:
    Microsoft::WRL::ComPtr<Giver> giver_;
    T* value_ = nullptr;
};

using OwnedFuncDesc = OwnedDescription<ITypeInfo, FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;
using OwnedTypeAttr = OwnedDescription<ITypeInfo, TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using OwnedLibAttr = OwnedDescription<ITypeLib, TLIBATTR, &ITypeLib::ReleaseTLibAttr>;

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

// The clipboard while this program has it open; no other program can use it meanwhile.
class OpenedClipboard {
public:
    OpenedClipboard() = default;
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    // Opens the clipboard for the window `owner` (none: for this program); false while
    // another program has it open.
    bool open(HWND owner) { return open_ = OpenClipboard(owner) != FALSE; }

private:
    bool open_ = false;
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

}  // namespace tarnwell
