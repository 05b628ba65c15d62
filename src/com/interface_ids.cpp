// The definitions of the library, interface and class identifiers that the type
// library's header declares.
#include "windows_api/windows_api.h"
#include <initguid.h>

#include "com/tarnwell_registry.h"
