#pragma once
// The VARIANT arguments of the component's members: the out arrays of the
// enumerations, the text that StrToBin rewrites in place and the optional status
// object of the export. Script clients pass variables by reference (a VARIANT that
// points at the caller's VARIANT); compiled VB clients may pass typed references.
#include "windows_api/windows_api.h"
#include <ole2.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "registry_access/clsRegistryAccess.h"

namespace tarnwell::com {

// A 0-based array of VARIANTs: texts as BSTRs; values as BSTRs (text and binary
// values), longs (numbers) or empty (other types). The caller owns the array.
SAFEARRAY* variant_array(const std::vector<std::string>& texts);
SAFEARRAY* variant_array(const std::vector<RegValue>& values);

// Gives an array to the caller's out argument, replacing what it held. Takes
// ownership of `array` whatever happens; raises vb_type_mismatch for a reference to
// something that cannot hold an array of VARIANTs.
void put_array(VARIANT* target, SAFEARRAY* array);

// The text an in/out argument holds (vb_type_mismatch when it cannot be read as text),
// and the text put back into it.
std::string text_of(VARIANT* argument);
void put_text(VARIANT* target, const std::string& text);

// The object an optional argument holds: null when it was left out or is Nothing,
// Empty or Null; vb_type_mismatch when it holds something that is not an object.
Microsoft::WRL::ComPtr<IDispatch> optional_object(const VARIANT& argument);

}  // namespace tarnwell::com
