#include "strumenti/lingua_scenario/canale_lsp.h"

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

}  // namespace

std::optional<MessaggioLetto> leggi_messaggio(std::istream& in) {
  std::optional<size_t> lunghezza;
  bool valida = true;
  bool letta_una_riga = false;
  std::string riga;
  while (true) {
    if (!std::getline(in, riga)) {
      return std::nullopt;
    }
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
    in.ignore(static_cast<std::streamsize>(*lunghezza));
    return m;
  }
  std::string corpo(*lunghezza, '\0');
  in.read(corpo.data(), static_cast<std::streamsize>(corpo.size()));
  corpo.resize(static_cast<size_t>(in.gcount()));
  m.corpo = std::move(corpo);
  return m;
}

void scrivi_messaggio(std::ostream& out, const std::string& corpo) {
  out << "Content-Length: " << corpo.size() << "\r\n\r\n" << corpo;
  out.flush();
}
