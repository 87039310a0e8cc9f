#include "strumenti/lingua_scenario/allineamento.h"

#include <algorithm>
#include <vector>

namespace {

constexpr size_t kLarghezzaMassima = 40;

// A line cut at its commas: each piece with the spaces after its comma taken off. A piece
// that only spaces follow to the line's end keeps them, as it stands.
struct Pezzi {
  std::vector<std::string_view> pezzi;
  std::vector<bool> mobile;  // the spaces before the piece may change
};

Pezzi taglia(std::string_view riga) {
  Pezzi p;
  size_t inizio = 0;
  bool dopo_virgola = false;
  while (true) {
    size_t i = inizio;
    bool mobile = false;
    if (dopo_virgola) {
      size_t dopo_spazi = i;
      while (dopo_spazi < riga.size() && riga[dopo_spazi] == ' ') {
        ++dopo_spazi;
      }
      if (dopo_spazi < riga.size()) {
        i = dopo_spazi;
        mobile = true;
      }
    }
    const size_t virgola = riga.find(',', i);
    p.pezzi.push_back(riga.substr(i, virgola == std::string_view::npos ? riga.size() - i
                                                                       : virgola - i));
    p.mobile.push_back(mobile);
    if (virgola == std::string_view::npos) {
      return p;
    }
    inizio = virgola + 1;
    dopo_virgola = true;
  }
}

void allinea_blocco(std::string& fuori, const std::vector<std::string_view>& righe,
                    const std::vector<std::string_view>& fini) {
  std::vector<Pezzi> tagliate;
  size_t colonne = 0;
  for (const std::string_view r : righe) {
    tagliate.push_back(taglia(r));
    colonne = std::max(colonne, tagliate.back().pezzi.size());
  }
  // The column where each piece starts: one space after the widest piece before it, comma
  // included.
  std::vector<size_t> inizio(colonne, 0);
  for (size_t k = 1; k < colonne; ++k) {
    size_t larghezza = 0;
    for (const Pezzi& p : tagliate) {
      if (k < p.pezzi.size()) {
        larghezza = std::max(larghezza, p.pezzi[k - 1].size());
      }
    }
    // A piece far wider than the others (a long text) does not push its column out of sight.
    inizio[k] = inizio[k - 1] + std::min(larghezza, kLarghezzaMassima) + 2;
  }
  for (size_t r = 0; r < tagliate.size(); ++r) {
    const Pezzi& p = tagliate[r];
    size_t colonna = 0;
    for (size_t k = 0; k < p.pezzi.size(); ++k) {
      if (k > 0) {
        fuori += ',';
        ++colonna;
        if (p.mobile[k]) {
          const size_t spazi = inizio[k] > colonna ? inizio[k] - colonna : 1;
          fuori.append(spazi, ' ');
          colonna += spazi;
        }
      }
      fuori += p.pezzi[k];
      colonna += p.pezzi[k].size();
    }
    fuori += fini[r];
  }
}

}  // namespace

std::string allinea_colonne(std::string_view testo) {
  std::string fuori;
  fuori.reserve(testo.size() + testo.size() / 4);
  std::vector<std::string_view> blocco;
  std::vector<std::string_view> fini;
  size_t i = 0;
  while (i < testo.size()) {
    size_t fine = i;
    while (fine < testo.size() && testo[fine] != '\r' && testo[fine] != '\n') {
      ++fine;
    }
    size_t dopo = fine;
    if (dopo < testo.size()) {
      dopo += testo[dopo] == '\r' && dopo + 1 < testo.size() && testo[dopo + 1] == '\n' ? 2 : 1;
    }
    const std::string_view riga = testo.substr(i, fine - i);
    if (riga.find(',') == std::string_view::npos) {
      allinea_blocco(fuori, blocco, fini);
      blocco.clear();
      fini.clear();
      fuori += testo.substr(i, dopo - i);
    } else {
      blocco.push_back(riga);
      fini.push_back(testo.substr(fine, dopo - fine));
    }
    i = dopo;
  }
  allinea_blocco(fuori, blocco, fini);
  return fuori;
}
