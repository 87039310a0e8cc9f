// The real disk on Windows, through the system's wide calls: every path is UTF-8 inside the
// program and UTF-16 with the extended-length prefix at the call, so a folder of any name and
// any depth that Windows allows works. A new file is created only where none stands, a file
// is renamed over another by MoveFileExW, and a folder is held through a named mutex, which
// the system frees when the process ends however it ends.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "platform/disco_reale.h"
#include "platform/piattaforma.h"
#include "platform/sistema_win32.h"

namespace piattaforma {
namespace {

[[noreturn]] void fallisci(const char* operazione, const std::string& percorso) {
  const DWORD codice = GetLastError();
  throw ErroreFile(operazione, percorso, descrizione_errore(codice));
}

// The path as the wide calls take it; a path that cannot be put in that form fails the
// operation.
std::wstring esteso(const char* operazione, const std::string& percorso) {
  try {
    return percorso_esteso(percorso);
  } catch (const std::runtime_error& e) {
    throw ErroreFile(operazione, percorso, e.what());
  }
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

// The folder's path as the system resolves it (short names, links and letters in either case
// all lead to the same text), or the path as given where the system cannot tell.
std::wstring percorso_risolto(const std::wstring& cartella) {
  Maniglia d(CreateFileW(cartella.c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!d.valida()) {
    return cartella;
  }
  std::wstring risolto(cartella.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        GetFinalPathNameByHandleW(d.get(), risolto.data(), static_cast<DWORD>(risolto.size()), 0);
    if (n == 0) {
      return cartella;
    }
    if (n < risolto.size()) {
      risolto.resize(n);
      return risolto;
    }
    risolto.resize(n);
  }
}

// The name of the mutex that stands for a folder: the same for every spelling of the folder
// that Windows takes as the same, and short and free of backslashes as a mutex name must be.
// Two folders that share a hash only share their turns.
std::wstring nome_mutex(const std::wstring& cartella) {
  std::wstring risolto = percorso_risolto(cartella);
  CharUpperBuffW(risolto.data(), static_cast<DWORD>(risolto.size()));
  uint64_t h = 14695981039346656037u;
  for (const wchar_t c : risolto) {
    const auto unita = static_cast<uint16_t>(c);
    h = (h ^ (unita & 0xFFu)) * 1099511628211u;
    h = (h ^ (unita >> 8)) * 1099511628211u;
  }
  wchar_t cifre[17];
  for (int i = 15; i >= 0; --i) {
    cifre[i] = L"0123456789abcdef"[h & 0xF];
    h >>= 4;
  }
  cifre[16] = L'\0';
  return std::wstring(L"Local\\genera_scenario_") + cifre;
}

}  // namespace

bool DiscoReale::esiste(const std::string& percorso) {
  try {
    return GetFileAttributesW(percorso_esteso(percorso).c_str()) != INVALID_FILE_ATTRIBUTES;
  } catch (const std::runtime_error&) {
    return false;
  }
}

std::string DiscoReale::leggi(const std::string& percorso) {
  Maniglia f(CreateFileW(esteso("aprire", percorso).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.valida()) {
    fallisci("aprire", percorso);
  }
  std::string contenuto;
  LARGE_INTEGER dimensione{};
  if (GetFileSizeEx(f.get(), &dimensione) && dimensione.QuadPart > 0) {
    contenuto.reserve(static_cast<size_t>(dimensione.QuadPart));
  }
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
  if (!DeleteFileW(esteso("eliminare", percorso).c_str())) {
    fallisci("eliminare", percorso);
  }
}

void DiscoReale::scrivi_nuovo(const std::string& percorso, std::string_view contenuto) {
  Maniglia f(CreateFileW(esteso("creare", percorso).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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
  if (!MoveFileExW(esteso("sostituire", da).c_str(), esteso("sostituire", a).c_str(),
                   MOVEFILE_REPLACE_EXISTING)) {
    fallisci("sostituire", a);
  }
}

void DiscoReale::collega(const std::string& esistente, const std::string& nuovo) {
  if (CreateHardLinkW(esteso("collegare", nuovo).c_str(), esteso("collegare", esistente).c_str(),
                      nullptr)) {
    return;
  }
  // A file system without hard links (FAT, many network shares) or any other refusal: a copy
  // serves as well, and its own failure says what is wrong.
  scrivi_nuovo(nuovo, leggi(esistente));
}

std::vector<std::string> DiscoReale::elenca(const std::string& cartella) {
  WIN32_FIND_DATAW voce{};
  HANDLE ricerca = FindFirstFileW((esteso("elencare", cartella) + L"\\*").c_str(), &voce);
  std::vector<std::string> nomi;
  if (ricerca == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) {
      return nomi;
    }
    fallisci("elencare", cartella);
  }
  do {
    const std::wstring nome = voce.cFileName;
    if (nome == L"." || nome == L".." || (voce.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      continue;
    }
    try {
      nomi.push_back(in_utf8(nome));
    } catch (const std::runtime_error&) {
      // A name that is not valid UTF-16 is none of the run's files.
    }
  } while (FindNextFileW(ricerca, &voce));
  const DWORD codice = GetLastError();
  FindClose(ricerca);
  if (codice != ERROR_NO_MORE_FILES) {
    SetLastError(codice);
    fallisci("elencare", cartella);
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

std::unique_ptr<BloccoCartella> DiscoReale::blocca(const std::string& cartella) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, nome_mutex(esteso("bloccare", cartella)).c_str());
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
  return '\\';
}

uint64_t DiscoReale::numero_processo() const {
  return GetCurrentProcessId();
}

}  // namespace piattaforma
