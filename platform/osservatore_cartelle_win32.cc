#include <windows.h>

#include "platform/disco.h"
#include "platform/osservatore_cartelle.h"
#include "platform/sistema_win32.h"

namespace piattaforma {

namespace {

// One folder read with overlapped ReadDirectoryChangesW, so that a wait can time out.
struct Cartella {
  HANDLE handle = INVALID_HANDLE_VALUE;
  OVERLAPPED sovrapposto{};
  alignas(DWORD) char memoria[16384];

  bool leggi() {
    ResetEvent(sovrapposto.hEvent);
    return ReadDirectoryChangesW(handle, memoria, sizeof memoria, FALSE,
                                 FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                     FILE_NOTIFY_CHANGE_SIZE,
                                 nullptr, &sovrapposto, nullptr) != 0;
  }
};

}  // namespace

struct OsservatoreCartelle::Stato {
  std::vector<std::unique_ptr<Cartella>> cartelle;
};

OsservatoreCartelle::OsservatoreCartelle(const std::vector<std::string>& cartelle)
    : stato_(std::make_unique<Stato>()) {
  for (const std::string& nome : cartelle) {
    auto c = std::make_unique<Cartella>();
    c->handle = CreateFileW(percorso_esteso(nome).c_str(), FILE_LIST_DIRECTORY,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                            nullptr);
    if (c->handle == INVALID_HANDLE_VALUE) {
      throw ErroreFile("osservare", nome, descrizione_errore(GetLastError()));
    }
    c->sovrapposto.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!c->leggi()) {
      const DWORD codice = GetLastError();
      CloseHandle(c->sovrapposto.hEvent);
      CloseHandle(c->handle);
      throw ErroreFile("osservare", nome, descrizione_errore(codice));
    }
    stato_->cartelle.push_back(std::move(c));
  }
}

OsservatoreCartelle::~OsservatoreCartelle() {
  for (auto& c : stato_->cartelle) {
    CancelIo(c->handle);
    CloseHandle(c->sovrapposto.hEvent);
    CloseHandle(c->handle);
  }
}

std::vector<FileCambiato> OsservatoreCartelle::attendi(std::chrono::milliseconds limite) {
  std::vector<FileCambiato> cambiati;
  std::vector<HANDLE> eventi;
  for (auto& c : stato_->cartelle) {
    eventi.push_back(c->sovrapposto.hEvent);
  }
  const DWORD esito = WaitForMultipleObjects(static_cast<DWORD>(eventi.size()), eventi.data(),
                                             FALSE, static_cast<DWORD>(limite.count()));
  if (esito == WAIT_TIMEOUT || esito == WAIT_FAILED) {
    return cambiati;
  }
  for (size_t k = 0; k < stato_->cartelle.size(); ++k) {
    Cartella& c = *stato_->cartelle[k];
    DWORD letti = 0;
    if (!GetOverlappedResult(c.handle, &c.sovrapposto, &letti, FALSE)) {
      continue;  // still pending
    }
    for (DWORD posto = 0; letti > 0;) {
      FILE_NOTIFY_INFORMATION* i =
          reinterpret_cast<FILE_NOTIFY_INFORMATION*>(c.memoria + posto);
      // Windows reports no close: only a rename says that a file is whole.
      cambiati.push_back(
          {k, in_utf8(std::wstring_view(i->FileName, i->FileNameLength / sizeof(WCHAR))),
           i->Action == FILE_ACTION_RENAMED_NEW_NAME});
      if (i->NextEntryOffset == 0) {
        break;
      }
      posto += i->NextEntryOffset;
    }
    c.leggi();
  }
  return cambiati;
}

}  // namespace piattaforma
