#pragma once

// The Windows-1252 code page, used at exactly three file boundaries: reading the export
// files, writing the conversion log, reading and writing the settings file.

#include <string>
#include <string_view>

namespace text {

// Every byte decodes: 0x00-0x7F and 0xA0-0xFF are the Latin-1 characters, 0x80-0x9F the
// Windows-1252 letters and signs (0x80 €, 0x8A Š, 0x9F Ÿ, ...), and the five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081, U+008D,
// U+008F, U+0090, U+009D, so that decoding and encoding again gives the same bytes.
std::string decodeWindows1252(std::string_view bytes);

// The reverse of decodeWindows1252(); a character without a Windows-1252 byte is written as
// "?". Invalid UTF-8 bytes are written as "?" too.
std::string encodeWindows1252(std::string_view utf8);

} // namespace text
