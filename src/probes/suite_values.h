#pragma once
// The suite's stored values and keys as the environment report looks them up, each
// lookup answering with what it found or the Status of the registry call that failed
// rather than found nothing.
#include <string>

#include "common/status.h"
#include "platform/platform.h"
#include "platform/registry_api.h"

namespace tarnwell {

// Whether the key exists, as the report tests it: opened with full access. False when
// it is not there; the registry's failure otherwise (a key the caller may only read is
// refused with access denied, and its line reads as that of a missing key).
Result<bool> key_found(RegistryApi& registry, reg_key root, const std::string& sub_key);

// Where a stored suite value was found: HKEY_LOCAL_MACHINE\SOFTWARE in its 32-bit or
// 64-bit view (on a 32-bit Windows, whose one registry both views show, machine_32),
// HKEY_CURRENT_USER\SOFTWARE, the program settings tree.
enum class SuiteValuePlace { machine_32, machine_64, user, program_settings, nowhere };

struct SuiteValue {
    std::string text;  // "" when it is stored nowhere
    SuiteValuePlace place = SuiteValuePlace::nowhere;
};

// A stored value of the application and section, looked for in this order:
// HKEY_LOCAL_MACHINE\SOFTWARE\app\section in the 32-bit view, then in the 64-bit view,
// and HKEY_CURRENT_USER\SOFTWARE\app\section, each read whole, as text whatever its
// type (value_as_text), and trimmed (a text that is empty once trimmed is no value);
// then the program settings tree, untrimmed, where a setting stored as the text
// "<no value>" is no value. When no place holds a value and a lookup failed rather than
// found nothing, the first such failure.
Result<SuiteValue> stored_suite_value(Platform& platform, const std::string& app,
                                      const std::string& section, const std::string& name);

}  // namespace tarnwell
