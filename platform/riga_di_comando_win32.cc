#include <windows.h>

#include "platform/riga_di_comando.h"
// After windows.h, whose types it takes.
#include <shellapi.h>

#include "platform/sistema_win32.h"

namespace piattaforma {

std::vector<std::string> apri_riga_di_comando(int argc, char** argv) {
  SetConsoleOutputCP(CP_UTF8);
  int quanti = 0;
  LPWSTR* larghi = CommandLineToArgvW(GetCommandLineW(), &quanti);
  if (larghi == nullptr) {
    // Without the wide line the 8-bit one is what there is.
    return std::vector<std::string>(argv, argv + argc);
  }
  std::vector<std::string> argomenti;
  for (int i = 0; i < quanti; ++i) {
    argomenti.push_back(in_utf8(larghi[i]));
  }
  LocalFree(larghi);
  return argomenti;
}

}  // namespace piattaforma
