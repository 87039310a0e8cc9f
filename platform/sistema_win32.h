// What the Windows parts of the platform layer share. Inside the program every path and every
// message is UTF-8; at the system's edge it becomes UTF-16 and goes to the wide calls, so no
// letter passes through the 8-bit code page.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace piattaforma {

// UTF-8 to UTF-16 and back, exactly: text that is not valid in its encoding throws
// std::runtime_error rather than turning into other letters.
std::wstring in_utf16(std::string_view utf8);
std::string in_utf8(std::wstring_view utf16);

// UTF-8 to UTF-16 for text to show: what is not valid UTF-8 shows as the replacement sign.
std::wstring da_mostrare(std::string_view utf8);

// The path in the form that the wide file calls take at any length: made absolute, then with
// the extended-length prefix (\\?\C:\..., \\?\UNC\server\share\...), which lifts the limit of
// 260 characters. A path that already has the prefix is left as it is.
std::wstring percorso_esteso(const std::string& percorso);

// The system's description of error `codice`, in UTF-8, without the trailing full stop and
// line end.
std::string descrizione_errore(DWORD codice);

}  // namespace piattaforma
