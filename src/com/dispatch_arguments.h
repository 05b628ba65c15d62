#pragma once
// The arguments of a late-bound call, adapted for the type library's dispatcher.
// JScript passes every argument by value. A value given to an [in, out] VARIANT
// parameter (the enumerations' arrays, StrToBin's text) is handed to the member as a
// reference to a copy of its own, which the member may replace and which is dropped
// after the call, as a by-value argument should be; left as a value, Wine's dispatcher
// tries to convert the member's array back into the caller's value and fails the call.
#include "windows_api/windows_api.h"
#include <ole2.h>

#include <memory>
#include <vector>

#include "platform/win32/owned.h"

namespace tarnwell::com {

class ByValueArguments {
public:
    ByValueArguments(ITypeInfo& info, DISPID member, WORD flags, DISPPARAMS* parameters);
    ByValueArguments(const ByValueArguments&) = delete;
    ByValueArguments& operator=(const ByValueArguments&) = delete;

    // The parameters to dispatch: the caller's, or the adapted copy.
    DISPPARAMS* parameters() { return parameters_; }

private:
    DISPPARAMS* parameters_;
    DISPPARAMS adapted_ = {};
    std::vector<VARIANT> arguments_;
    std::unique_ptr<OwnedVariant[]> copies_;
};

}  // namespace tarnwell::com
