#include "registry/reg_file_unicode.h"

namespace tarnwell {

const char* const unicode_file_header = "Windows Registry Editor Version 5.00";

bool is_utf16_file(std::string_view bytes) { return bytes.substr(0, 2) == "\xFF\xFE"; }

}  // namespace tarnwell
