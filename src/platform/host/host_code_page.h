#pragma once
// Code page 1252, the ANSI code page of the host twin: the registry twin compares names
// in it and texts are converted through it.
namespace tarnwell {

// The UTF-16 character of one code page 1252 byte.
char16_t utf16_of_cp1252(unsigned char byte);

}  // namespace tarnwell
