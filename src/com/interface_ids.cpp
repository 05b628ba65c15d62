// The definitions of the library, interface and class identifiers that the type
// library's header declares.
#include <initguid.h>

#include "com/tarnwell_registry.h"
