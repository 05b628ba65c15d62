#pragma once
// How a member of the component fails: an HRESULT with a description, published through
// the error object, so that a VB client sees Err.Number and Err.Description and a
// script host (through IDispatch) gets them in its EXCEPINFO.
#include "windows_api/windows_api.h"
#include <ole2.h>

#include <new>
#include <stdexcept>
#include <string>

#include "com/com_text.h"

namespace tarnwell::com {

// VB's run-time error n as the HRESULT a VB client maps back to Err.Number n.
constexpr HRESULT vb_error(unsigned n) { return static_cast<HRESULT>(0x800A0000u | n); }
constexpr HRESULT vb_invalid_argument = vb_error(5);
constexpr HRESULT vb_overflow = vb_error(6);
constexpr HRESULT vb_type_mismatch = vb_error(13);

class com_error {
public:
    com_error(HRESULT code, std::wstring description)
        : code_(code), description_(std::move(description)) {}
    HRESULT code() const { return code_; }
    const std::wstring& description() const { return description_; }

private:
    HRESULT code_;
    std::wstring description_;
};

// Publishes the error object for the calling thread and returns the error's code.
HRESULT report(const com_error& error);
// The failure of a body that raised something other than com_error.
HRESULT report_unexpected(const std::exception& error);

// Runs a member's body and turns whatever it raises into its HRESULT; nothing thrown
// ever crosses the COM boundary.
template <class Body>
HRESULT guarded(Body&& body) {
    try {
        body();
        return S_OK;
    } catch (const com_error& error) {
        return report(error);
    } catch (const std::overflow_error& error) {
        // The registry access class raises only its overflow: hex text or a byte value
        // of more than 32,767 characters.
        return report(com_error(vb_overflow, wide(error.what())));
    } catch (const std::bad_alloc&) {
        return report(com_error(E_OUTOFMEMORY, L"Out of memory"));
    } catch (const std::exception& error) {
        return report_unexpected(error);
    } catch (...) {
        return report(com_error(E_UNEXPECTED, L"Unexpected error"));
    }
}

}  // namespace tarnwell::com
