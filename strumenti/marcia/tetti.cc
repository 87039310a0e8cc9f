#include "strumenti/marcia/tetti.h"

#include <algorithm>
#include <cmath>

#include "model/formato_percorso.h"

namespace {

int64_t giu(int64_t n, int64_t d) {
  return n >= 0 ? n / d : -((-n + d - 1) / d);
}

}  // namespace

int64_t cella_del_metro(int64_t m) {
  return giu(m + kMetriCella / 2, kMetriCella);
}

std::vector<int32_t> tetto_celle_kmh(const std::vector<Cella>& percorso) {
  std::vector<int32_t> tetto(percorso.size());
  // The speeds of the slow-downs open at this cell. They may overlap: an end cell closes the
  // open one of its own speed, which the recorder writes into both cells.
  std::vector<int32_t> aperti;
  for (size_t k = 0; k < percorso.size(); ++k) {
    const Cella& c = percorso[k];
    if (c.genere == kInizioRallentamento) {
      aperti.push_back(c.valore_1);
    }
    int32_t t = velocita_della_cella(c.velocita_massima);
    for (int32_t v : aperti) {
      t = std::min(t, v);
    }
    tetto[k] = std::max(t, 0);
    if (c.genere == kFineRallentamento && !aperti.empty()) {
      auto stessa = std::find(aperti.begin(), aperti.end(), int32_t{c.valore_1});
      aperti.erase(stessa != aperti.end() ? stessa : aperti.begin());
    }
  }
  return tetto;
}

void tetto_treno(std::span<const double> tetto_celle, int64_t da, int64_t a, double lunghezza_m,
                 std::vector<float>& uscita) {
  uscita.clear();
  if (a < da || tetto_celle.empty()) {
    return;
  }
  uscita.resize(static_cast<size_t>(a - da + 1));
  const int64_t ultima = static_cast<int64_t>(tetto_celle.size()) - 1;
  const auto cella = [ultima](int64_t m) {
    return std::clamp(cella_del_metro(m), int64_t{0}, ultima);
  };
  // The speed at p holds over the metre before it and the metre after it, so the window is
  // what the train covers over both, [p - 1 - lunghezza, p + 1]: its metres from
  // p - 1 - ceil(lunghezza) to p. A length that is not a number counts as none; no train is
  // longer than 10^12 m.
  const double lunghezza = lunghezza_m > 0 ? std::min(lunghezza_m, 1e12) : 0;
  const auto dietro = static_cast<int64_t>(std::ceil(lunghezza)) + 1;
  // The cells under the window, as a queue of rising ceilings: its front is the lowest. Each
  // cell enters once, so a plain array with two ends serves as the queue.
  std::vector<int64_t> coda(static_cast<size_t>(cella(a) - cella(da - dietro) + 1));
  size_t testa = 0;
  size_t fondo = 0;
  int64_t prossima = cella(da - dietro);
  for (int64_t p = da; p <= a; ++p) {
    const int64_t davanti = cella(p);
    for (; prossima <= davanti; ++prossima) {
      while (fondo > testa && tetto_celle[coda[fondo - 1]] >= tetto_celle[prossima]) {
        --fondo;
      }
      coda[fondo++] = prossima;
    }
    const int64_t coda_treno = cella(p - dietro);
    while (coda[testa] < coda_treno) {
      ++testa;
    }
    uscita[static_cast<size_t>(p - da)] = static_cast<float>(tetto_celle[coda[testa]]);
  }
}
