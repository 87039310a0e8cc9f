// The real disk on Windows, through the system's own calls: a new file is created only where
// none stands, a file is renamed over another by MoveFileEx, and a folder is held through a
// named mutex, which the system frees when the process ends however it ends.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"
#include "platform/sistema_win32.h"

namespace piattaforma {
namespace {

[[noreturn]] void fallisci(const char* operazione, const std::string& percorso) {
  const DWORD codice = GetLastError();
  throw ErroreFile(operazione, percorso, descrizione_errore(codice));
}

class Maniglia {
 public:
  explicit Maniglia(HANDLE h) : h_(h) {}
  ~Maniglia() {
    if (valida()) {
      CloseHandle(h_);
    }
  }
  Maniglia(const Maniglia&) = delete;
  Maniglia& operator=(const Maniglia&) = delete;

  HANDLE get() const { return h_; }
  bool valida() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  BOOL chiudi() {
    const BOOL esito = CloseHandle(h_);
    h_ = nullptr;
    return esito;
  }

 private:
  HANDLE h_;
};

class BloccoMutex : public BloccoCartella {
 public:
  explicit BloccoMutex(HANDLE mutex) : mutex_(mutex) {}
  ~BloccoMutex() override { ReleaseMutex(mutex_.get()); }

 private:
  Maniglia mutex_;
};

// The name of the mutex that stands for a folder: the same for every spelling of the folder's
// full path that Windows takes as the same (letters in either case), and free of the
// backslashes that a mutex name may not hold. Two folders that share a hash only share a turn.
std::string nome_mutex(const std::string& cartella) {
  std::string completo(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetFullPathNameA(cartella.c_str(), static_cast<DWORD>(completo.size()),
                                     completo.data(), nullptr);
    if (n == 0) {
      fallisci("bloccare", cartella);
    }
    if (n < completo.size()) {
      completo.resize(n);
      break;
    }
    completo.resize(n);
  }
  CharUpperBuffA(completo.data(), static_cast<DWORD>(completo.size()));
  uint64_t h = 14695981039346656037u;
  for (const char c : completo) {
    h = (h ^ static_cast<uint8_t>(c)) * 1099511628211u;
  }
  char cifre[17];
  for (int i = 15; i >= 0; --i) {
    cifre[i] = "0123456789abcdef"[h & 0xF];
    h >>= 4;
  }
  cifre[16] = '\0';
  return std::string("Local\\genera_scenario_") + cifre;
}

}  // namespace

bool DiscoReale::esiste(const std::string& percorso) {
  return GetFileAttributesA(percorso.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string DiscoReale::leggi(const std::string& percorso) {
  Maniglia f(CreateFileA(percorso.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.valida()) {
    fallisci("aprire", percorso);
  }
  std::string contenuto;
  char blocco[65536];
  for (;;) {
    DWORD letti = 0;
    if (!ReadFile(f.get(), blocco, sizeof blocco, &letti, nullptr)) {
      fallisci("leggere", percorso);
    }
    if (letti == 0) {
      break;
    }
    contenuto.append(blocco, letti);
  }
  return contenuto;
}

void DiscoReale::elimina(const std::string& percorso) {
  if (!DeleteFileA(percorso.c_str())) {
    fallisci("eliminare", percorso);
  }
}

void DiscoReale::scrivi_nuovo(const std::string& percorso, std::string_view contenuto) {
  Maniglia f(CreateFileA(percorso.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.valida()) {
    fallisci("creare", percorso);
  }
  size_t scritti = 0;
  while (scritti < contenuto.size()) {
    const DWORD parte = static_cast<DWORD>(std::min<size_t>(contenuto.size() - scritti, 1u << 30));
    DWORD n = 0;
    if (!WriteFile(f.get(), contenuto.data() + scritti, parte, &n, nullptr)) {
      fallisci("scrivere", percorso);
    }
    scritti += n;
  }
  if (!f.chiudi()) {
    fallisci("scrivere", percorso);
  }
}

void DiscoReale::rinomina(const std::string& da, const std::string& a) {
  if (!MoveFileExA(da.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    fallisci("sostituire", a);
  }
}

void DiscoReale::collega(const std::string& esistente, const std::string& nuovo) {
  if (CreateHardLinkA(nuovo.c_str(), esistente.c_str(), nullptr)) {
    return;
  }
  // A file system without hard links (or any other refusal): a copy serves as well, and its
  // own failure says what is wrong.
  scrivi_nuovo(nuovo, leggi(esistente));
}

std::vector<std::string> DiscoReale::elenca(const std::string& cartella) {
  WIN32_FIND_DATAA voce{};
  HANDLE ricerca = FindFirstFileA((cartella + "\\*").c_str(), &voce);
  std::vector<std::string> nomi;
  if (ricerca == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) {
      return nomi;
    }
    fallisci("elencare", cartella);
  }
  DWORD codice = ERROR_SUCCESS;
  do {
    const std::string nome = voce.cFileName;
    if (nome != "." && nome != "..") {
      nomi.push_back(nome);
    }
  } while (FindNextFileA(ricerca, &voce));
  codice = GetLastError();
  FindClose(ricerca);
  if (codice != ERROR_NO_MORE_FILES) {
    SetLastError(codice);
    fallisci("elencare", cartella);
  }
  return nomi;
}

std::unique_ptr<BloccoCartella> DiscoReale::blocca(const std::string& cartella) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, nome_mutex(cartella).c_str());
  if (mutex == nullptr) {
    fallisci("bloccare", cartella);
  }
  // A run that ended without freeing the mutex leaves it abandoned: it is free all the same.
  const DWORD esito = WaitForSingleObject(mutex, INFINITE);
  if (esito != WAIT_OBJECT_0 && esito != WAIT_ABANDONED) {
    const DWORD codice = GetLastError();
    CloseHandle(mutex);
    SetLastError(codice);
    fallisci("bloccare", cartella);
  }
  return std::make_unique<BloccoMutex>(mutex);
}

char DiscoReale::separatore() const {
  return separatore_percorso();
}

uint64_t DiscoReale::numero_processo() const {
  return GetCurrentProcessId();
}

}  // namespace piattaforma
