// Windows implementation: a real wait window and real message boxes. The window is shown and
// painted once and then left alone: the run processes no window messages, and the window goes
// away with the process. Every call is the wide one: texts are UTF-8 inside the program and
// UTF-16 at the system, so a path in a message shows its real letters.
#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/piattaforma.h"
#include "platform/sistema_win32.h"

namespace piattaforma {
namespace {

// The caption of the window and of every message box.
constexpr wchar_t kTitolo[] = L"genera_scenario";
constexpr wchar_t kClasse[] = L"genera_scenario_attesa";

// Window and label geometry in twips, 1440 to the inch.
constexpr int kTwipPerPollice = 1440;
constexpr int kLarghezzaArea = 4200;
constexpr int kAltezzaArea = 2688;
constexpr int kSinistraEtichetta = 960;
constexpr int kAltoEtichetta = 960;
constexpr int kLarghezzaEtichetta = 2652;
constexpr int kAltezzaEtichetta = 792;
constexpr int kPuntiCarattere = 24;
constexpr int kPuntiPerPollice = 72;

// A caption and nothing else: the window takes no input, so it offers no button.
constexpr DWORD kStileFinestra = WS_OVERLAPPED | WS_CAPTION;

// The wait window, once shown; message boxes are modal to it.
HWND finestra_attesa = nullptr;

[[noreturn]] void fallisci(const char* operazione) {
  const DWORD codice = GetLastError();
  throw std::runtime_error(std::string(operazione) + ": " + descrizione_errore(codice));
}

struct Dpi {
  int x;
  int y;
};

Dpi dpi_di_sistema() {
  HDC schermo = GetDC(nullptr);
  if (schermo == nullptr) {
    fallisci("impossibile leggere la risoluzione dello schermo");
  }
  const Dpi dpi{GetDeviceCaps(schermo, LOGPIXELSX), GetDeviceCaps(schermo, LOGPIXELSY)};
  ReleaseDC(nullptr, schermo);
  return dpi;
}

int in_pixel(int twip, int dpi) {
  return MulDiv(twip, dpi, kTwipPerPollice);
}

HWND crea_finestra(HINSTANCE istanza, const Dpi& dpi) {
  WNDCLASSW classe{};
  classe.lpfnWndProc = DefWindowProcW;
  classe.hInstance = istanza;
  classe.hCursor = LoadCursor(nullptr, IDC_WAIT);
  classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  classe.lpszClassName = kClasse;
  if (RegisterClassW(&classe) == 0) {
    fallisci("impossibile registrare la finestra di attesa");
  }

  // The size asked for is the client area; the frame comes on top of it.
  RECT rettangolo{0, 0, in_pixel(kLarghezzaArea, dpi.x), in_pixel(kAltezzaArea, dpi.y)};
  if (!AdjustWindowRectEx(&rettangolo, kStileFinestra, FALSE, 0)) {
    fallisci("impossibile calcolare la cornice della finestra di attesa");
  }
  HWND finestra =
      CreateWindowExW(0, kClasse, kTitolo, kStileFinestra, CW_USEDEFAULT, CW_USEDEFAULT,
                      rettangolo.right - rettangolo.left, rettangolo.bottom - rettangolo.top,
                      nullptr, nullptr, istanza, nullptr);
  if (finestra == nullptr) {
    fallisci("impossibile creare la finestra di attesa");
  }
  return finestra;
}

void crea_etichetta(HWND finestra, HINSTANCE istanza, const Dpi& dpi) {
  HWND etichetta =
      CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT,
                      in_pixel(kSinistraEtichetta, dpi.x), in_pixel(kAltoEtichetta, dpi.y),
                      in_pixel(kLarghezzaEtichetta, dpi.x), in_pixel(kAltezzaEtichetta, dpi.y),
                      finestra, nullptr, istanza, nullptr);
  if (etichetta == nullptr) {
    fallisci("impossibile creare l'etichetta della finestra di attesa");
  }
  // The font lives as long as the window, that is until the process ends.
  HFONT carattere =
      CreateFontW(-MulDiv(kPuntiCarattere, dpi.y, kPuntiPerPollice), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                  FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                  DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
  if (carattere == nullptr) {
    fallisci("impossibile creare il carattere della finestra di attesa");
  }
  SendMessageW(etichetta, WM_SETFONT, reinterpret_cast<WPARAM>(carattere), FALSE);
}

// Shows `testo` in a modal box with a single OK button, waits for it to be closed and ends the
// process: files still open are closed by the exit, and the wait window goes with the process.
[[noreturn]] void mostra_e_termina(const std::string& testo, UINT icona, int stato) {
  MessageBoxW(finestra_attesa, da_mostrare(testo).c_str(), kTitolo, MB_OK | icona);
  std::exit(stato);
}

}  // namespace

void mostra_attesa() {
  // Sizes follow the system's DPI only if the system does not stretch the window itself.
  SetProcessDPIAware();
  const Dpi dpi = dpi_di_sistema();
  HINSTANCE istanza = GetModuleHandleW(nullptr);
  HWND finestra = crea_finestra(istanza, dpi);
  crea_etichetta(finestra, istanza, dpi);
  finestra_attesa = finestra;

  ShowWindow(finestra, SW_SHOWNORMAL);
  // Paints the window and its label now, without a message loop: the run that follows does not
  // give the window another chance to paint.
  RedrawWindow(finestra, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
}

void scrivi_riga(const std::string& riga) {
  const std::string testo = riga + "\r\n";
  HANDLE uscita = GetStdHandle(STD_OUTPUT_HANDLE);
  if (uscita == nullptr || uscita == INVALID_HANDLE_VALUE) {
    // Started from a console without redirection: a windowed program is not given it, and
    // the console has already gone back to its prompt; the line goes there all the same.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
      return;
    }
    uscita = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    if (uscita == INVALID_HANDLE_VALUE) {
      return;
    }
  }
  DWORD scritti = 0;
  WriteFile(uscita, testo.data(), static_cast<DWORD>(testo.size()), &scritti, nullptr);
}

void mostra_errore_e_termina(const std::string& messaggio) {
  mostra_e_termina(messaggio, 0, kStatoErrore);
}

void segnala_problema_e_termina(const std::string& descrizione) {
  mostra_e_termina(descrizione, MB_ICONWARNING, kStatoErrore);
}

void segnala_guasto_e_termina(const std::string& descrizione) {
  mostra_e_termina(descrizione, MB_ICONERROR, kStatoGuasto);
}

std::string cartella_eseguibile() {
  // The module name has no fixed limit: the buffer grows until the whole name fits.
  std::wstring percorso(MAX_PATH, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n =
        GetModuleFileNameW(nullptr, percorso.data(), static_cast<DWORD>(percorso.size()));
    if (n == 0) {
      fallisci("cartella dell'eseguibile non trovata");
    }
    if (n < percorso.size() && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      percorso.resize(n);
      break;
    }
    if (percorso.size() >= 65536) {
      fallisci("cartella dell'eseguibile non trovata");
    }
    percorso.resize(percorso.size() * 2);
  }
  const size_t barra = percorso.rfind(L'\\');
  if (barra == std::wstring::npos) {
    throw std::runtime_error("cartella dell'eseguibile non trovata: " + in_utf8(percorso));
  }
  return in_utf8(percorso.substr(0, barra));
}

}  // namespace piattaforma
