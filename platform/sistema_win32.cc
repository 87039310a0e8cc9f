#include "platform/sistema_win32.h"

namespace piattaforma {

std::string descrizione_errore(DWORD codice) {
  char* testo = nullptr;
  const DWORD lunghezza = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, codice, 0, reinterpret_cast<char*>(&testo), 0, nullptr);
  std::string descrizione =
      lunghezza > 0 ? std::string(testo, lunghezza) : "errore " + std::to_string(codice);
  LocalFree(testo);
  while (!descrizione.empty() && (descrizione.back() == '\n' || descrizione.back() == '\r' ||
                                  descrizione.back() == ' ' || descrizione.back() == '.')) {
    descrizione.pop_back();
  }
  return descrizione;
}

}  // namespace piattaforma
