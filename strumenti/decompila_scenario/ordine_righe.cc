#include "strumenti/decompila_scenario/ordine_righe.h"

#include <set>

std::optional<OrdineRighe> ordina_righe(size_t stazioni, size_t quante,
                                        const std::vector<std::pair<size_t, size_t>>& vincoli) {
  std::vector<std::vector<size_t>> dopo(quante);
  std::vector<std::vector<size_t>> prima(quante);
  const auto lega = [&](size_t a, size_t b) {
    dopo[a].push_back(b);
    prima[b].push_back(a);
  };
  for (size_t s = 0; s + 1 < stazioni; ++s) {
    lega(s, s + 1);
  }
  for (const auto& [a, b] : vincoli) {
    lega(a, b);
  }
  // The first station each row must precede, found back from each station in turn.
  const size_t nessuna = stazioni;
  std::vector<size_t> stazione_dopo(quante, nessuna);
  for (size_t s = 0; s < stazioni; ++s) {
    std::vector<size_t> da_vedere = prima[s];
    while (!da_vedere.empty()) {
      const size_t w = da_vedere.back();
      da_vedere.pop_back();
      if (w < stazioni || stazione_dopo[w] != nessuna) {
        continue;
      }
      stazione_dopo[w] = s;
      da_vedere.insert(da_vedere.end(), prima[w].begin(), prima[w].end());
    }
  }
  std::vector<size_t> mancanti(quante);
  for (size_t w = 0; w < quante; ++w) {
    mancanti[w] = prima[w].size();
  }
  std::set<std::pair<size_t, size_t>> pronte;  // (the station it must precede, row)
  for (size_t w = stazioni; w < quante; ++w) {
    if (mancanti[w] == 0) {
      pronte.insert({stazione_dopo[w], w});
    }
  }
  OrdineRighe o;
  size_t prossima = 0;
  while (o.righe.size() < quante) {
    size_t scelta = quante;
    if (prossima < stazioni && mancanti[prossima] == 0) {
      scelta = prossima++;
    } else if (!pronte.empty() && pronte.begin()->first == prossima) {
      // Before the next station, only what it waits for; after the last, the rest.
      scelta = pronte.begin()->second;
      pronte.erase(pronte.begin());
    }
    if (scelta == quante) {
      return std::nullopt;
    }
    o.righe.push_back(scelta);
    if (scelta < stazioni) {
      o.tra_le_stazioni = o.righe.size();
    }
    for (size_t w : dopo[scelta]) {
      if (--mancanti[w] == 0 && w >= stazioni) {
        pronte.insert({stazione_dopo[w], w});
      }
    }
  }
  return o;
}
