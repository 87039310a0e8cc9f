#include "strumenti/lingua_scenario/canale_lsp.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace {

constexpr std::string_view kLunghezza = "content-length:";

bool intestazione_lunghezza(std::string_view riga) {
  if (riga.size() < kLunghezza.size()) {
    return false;
  }
  for (size_t i = 0; i < kLunghezza.size(); ++i) {
    char c = riga[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != kLunghezza[i]) {
      return false;
    }
  }
  return true;
}

std::optional<size_t> lunghezza_di(std::string_view valore) {
  while (!valore.empty() && (valore.front() == ' ' || valore.front() == '\t')) {
    valore.remove_prefix(1);
  }
  while (!valore.empty() && (valore.back() == ' ' || valore.back() == '\t')) {
    valore.remove_suffix(1);
  }
  size_t n = 0;
  const auto [fine, errore] = std::from_chars(valore.data(), valore.data() + valore.size(), n);
  if (errore != std::errc() || fine != valore.data() + valore.size() || valore.empty()) {
    return std::nullopt;
  }
  return n;
}

// The next line of the header, without its end, into `riga`; false when the input ends first.
// A line longer than kRigaIntestazioneMassima keeps its start and is marked too long by
// `troppo_lunga`, and the rest of it is skipped.
bool leggi_riga(std::istream& in, std::string& riga, bool& troppo_lunga) {
  riga.clear();
  troppo_lunga = false;
  std::streambuf& b = *in.rdbuf();
  for (;;) {
    const int c = b.sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return false;
    }
    if (c == '\n') {
      return true;
    }
    if (riga.size() < kRigaIntestazioneMassima) {
      riga.push_back(static_cast<char>(c));
    } else {
      troppo_lunga = true;
    }
  }
}

}  // namespace

std::optional<MessaggioLetto> leggi_messaggio(std::istream& in) {
  std::optional<size_t> lunghezza;
  bool valida = true;
  bool letta_una_riga = false;
  std::string riga;
  bool troppo_lunga = false;
  while (true) {
    if (!leggi_riga(in, riga, troppo_lunga)) {
      return std::nullopt;
    }
    valida = valida && !troppo_lunga;
    if (!riga.empty() && riga.back() == '\r') {
      riga.pop_back();
    }
    if (riga.empty()) {
      if (letta_una_riga) {
        break;
      }
      continue;  // blank lines between messages
    }
    letta_una_riga = true;
    if (intestazione_lunghezza(riga)) {
      lunghezza = lunghezza_di(std::string_view(riga).substr(kLunghezza.size()));
      valida = valida && lunghezza.has_value();
    }
  }
  MessaggioLetto m;
  if (!valida || !lunghezza) {
    return m;
  }
  if (*lunghezza > kCorpoMassimo) {
    // Read in pieces and dropped. Not by `ignore`, which after its last byte waits for one
    // more: the answer would wait for the editor's next message.
    std::array<char, 65536> pezzo;
    for (size_t resto = *lunghezza; resto > 0 && in;) {
      const size_t n = std::min(resto, pezzo.size());
      in.read(pezzo.data(), static_cast<std::streamsize>(n));
      resto -= n;
    }
    m.scartato = *lunghezza;
    return m;
  }
  std::string corpo(*lunghezza, '\0');
  in.read(corpo.data(), static_cast<std::streamsize>(corpo.size()));
  corpo.resize(static_cast<size_t>(in.gcount()));
  m.corpo = std::move(corpo);
  return m;
}

bool altro_in_attesa(std::istream& in) {
  return in.rdbuf()->in_avail() > 0;
}

void scrivi_messaggio(std::ostream& out, const std::string& corpo) {
  out << "Content-Length: " << corpo.size() << "\r\n\r\n" << corpo;
  out.flush();
}
