#include "platform/sistema_win32.h"

#include <stdexcept>

namespace piattaforma {
namespace {

constexpr std::wstring_view kPrefissoEsteso = L"\\\\?\\";
constexpr std::wstring_view kPrefissoDispositivo = L"\\\\.\\";
constexpr std::wstring_view kPrefissoRete = L"\\\\";

std::wstring converti_in_utf16(std::string_view utf8, DWORD opzioni) {
  if (utf8.empty()) {
    return {};
  }
  const int lunghezza =
      MultiByteToWideChar(CP_UTF8, opzioni, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (lunghezza <= 0) {
    throw std::runtime_error("testo non valido in UTF-8");
  }
  std::wstring utf16(static_cast<size_t>(lunghezza), L'\0');
  MultiByteToWideChar(CP_UTF8, opzioni, utf8.data(), static_cast<int>(utf8.size()), utf16.data(),
                      lunghezza);
  return utf16;
}

}  // namespace

std::wstring in_utf16(std::string_view utf8) {
  return converti_in_utf16(utf8, MB_ERR_INVALID_CHARS);
}

std::wstring da_mostrare(std::string_view utf8) {
  return converti_in_utf16(utf8, 0);
}

std::string in_utf8(std::wstring_view utf16) {
  if (utf16.empty()) {
    return {};
  }
  const int lunghezza =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(),
                          static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
  if (lunghezza <= 0) {
    throw std::runtime_error("nome non valido in UTF-16");
  }
  std::string utf8(static_cast<size_t>(lunghezza), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), static_cast<int>(utf16.size()),
                      utf8.data(), lunghezza, nullptr, nullptr);
  return utf8;
}

std::wstring percorso_esteso(const std::string& percorso) {
  const std::wstring largo = in_utf16(percorso);
  if (largo.starts_with(kPrefissoEsteso) || largo.starts_with(kPrefissoDispositivo)) {
    return largo;
  }
  // The prefix turns off the system's own clean-up of the path (relative parts, "." and "..",
  // forward slashes), so the path is made whole first; GetFullPathNameW has no length limit.
  std::wstring completo(largo.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFullPathNameW(largo.c_str(), static_cast<DWORD>(completo.size()),
                                     completo.data(), nullptr);
    if (n == 0) {
      throw std::runtime_error("percorso non valido: " + descrizione_errore(GetLastError()));
    }
    if (n < completo.size()) {
      completo.resize(n);
      break;
    }
    completo.resize(n);
  }
  if (completo.starts_with(kPrefissoRete)) {
    return std::wstring(kPrefissoEsteso) + L"UNC\\" + completo.substr(kPrefissoRete.size());
  }
  return std::wstring(kPrefissoEsteso) + completo;
}

std::string descrizione_errore(DWORD codice) {
  wchar_t* testo = nullptr;
  const DWORD lunghezza = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, codice, 0, reinterpret_cast<wchar_t*>(&testo), 0, nullptr);
  std::wstring largo = lunghezza > 0 ? std::wstring(testo, lunghezza) : std::wstring();
  LocalFree(testo);
  while (!largo.empty() && (largo.back() == L'\n' || largo.back() == L'\r' ||
                            largo.back() == L' ' || largo.back() == L'.')) {
    largo.pop_back();
  }
  if (largo.empty()) {
    return "errore " + std::to_string(codice);
  }
  try {
    return in_utf8(largo);
  } catch (const std::runtime_error&) {
    return "errore " + std::to_string(codice);
  }
}

}  // namespace piattaforma
