#pragma once

#include <string>
#include <string_view>

// The one place where text changes code page. Inside the core every text is
// Windows-1251 bytes exactly as the files hold them; UTF-8 exists only at the
// terminal and at the Qt boundary.
namespace nkp::codec {

// Windows-1251 bytes to UTF-8. Byte 0x98, which the code page leaves
// undefined, becomes U+FFFD.
std::string cp1251ToUtf8(std::string_view cp1251);

// UTF-8 to Windows-1251. U+FFFD becomes 0x98 again; any other character the
// code page cannot hold, and every malformed UTF-8 sequence, becomes '?'.
std::string utf8ToCp1251(std::string_view utf8);

// DOS code page 866 to Windows-1251, as a DOS text is shown on Windows:
// letters and common signs map to their Windows-1251 twins, box-drawing and
// other characters without one become the nearest plain sign.
std::string cp866ToCp1251(std::string_view cp866);

}  // namespace nkp::codec
