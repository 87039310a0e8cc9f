#include "strumenti/ispezione/marcia_pagina.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/formato_percorso.h"
#include "sources/codifica_1252.h"
#include "strumenti/marcia/punti_orario.h"

using nlohmann::ordered_json;

namespace {

constexpr double kKmhPerMs = 3.6;
constexpr double kInfinito = std::numeric_limits<double>::infinity();

// The slopes from the anchor that a straight line may take and still pass within the
// tolerance of every point taken so far.
struct Cono {
  double basso = -kInfinito;
  double alto = kInfinito;

  bool ammette(double pendenza) const { return pendenza >= basso && pendenza <= alto; }
  void stringi(double da, double valore, double tolleranza, double metri) {
    basso = std::max(basso, (valore - tolleranza - da) / metri);
    alto = std::min(alto, (valore + tolleranza - da) / metri);
  }
  void chiudi() {
    basso = kInfinito;
    alto = -kInfinito;
  }
};

// Tenths: finer than any drawing shows, and short in the data.
double decimi(double x) {
  return std::round(x * 10) / 10;
}

// A stretch's seconds as they are: the page words them as the warnings do, and a value
// rounded twice could read a second apart.
ordered_json secondi(double s) {
  return std::isfinite(s) ? ordered_json(s) : ordered_json(nullptr);
}

// A cell's stretch of chainage: cell k covers 50k - 25 to 50k + 25 m; the line starts at 0.
int64_t inizio_cella(size_t k) {
  return std::max<int64_t>(0, static_cast<int64_t>(k) * kMetriCella - kMetriCella / 2);
}

// Runs of cells with one value as [from, to, value] ranges of chainage; `valore(k)` is null
// for a cell outside every range.
template <typename Valore>
ordered_json intervalli_di_celle(size_t celle, Valore valore) {
  ordered_json a = ordered_json::array();
  ordered_json ultimo = nullptr;
  for (size_t k = 0; k < celle; ++k) {
    ordered_json v = valore(k);
    if (v != ultimo && !ultimo.is_null()) {
      a.back()[1] = inizio_cella(k);
    }
    if (v != ultimo && !v.is_null()) {
      a.push_back({inizio_cella(k), 0, v});
    }
    ultimo = std::move(v);
  }
  if (!ultimo.is_null()) {
    a.back()[1] = inizio_cella(celle);
  }
  return a;
}

}  // namespace

std::vector<PuntoCorsa> corsa_ridotta(const ProfiloMarcia& p, double tolleranza_kmh,
                                      double tolleranza_s) {
  std::vector<PuntoCorsa> r;
  const size_t n = std::min(p.velocita_ms.size(), p.tempo_s.size());
  if (n == 0) {
    return r;
  }
  const auto punto = [&p](size_t i) {
    return PuntoCorsa{p.inizio_m + static_cast<int64_t>(i), p.velocita_ms[i] * kKmhPerMs,
                      static_cast<double>(p.tempo_s[i])};
  };
  PuntoCorsa ancora = punto(0);
  r.push_back(ancora);
  Cono cono_v;
  Cono cono_t;
  for (size_t j = 1; j < n; ++j) {
    PuntoCorsa q = punto(j);
    auto metri = static_cast<double>(q.metro - ancora.metro);
    const bool tempo_finito = std::isfinite(ancora.tempo_s);
    const bool va = cono_v.ammette((q.velocita_kmh - ancora.velocita_kmh) / metri) &&
                    (!tempo_finito || (std::isfinite(q.tempo_s) &&
                                       cono_t.ammette((q.tempo_s - ancora.tempo_s) / metri)) ||
                     metri == 1);
    if (!va) {
      // The point before is kept, and the next line starts there.
      ancora = punto(j - 1);
      r.push_back(ancora);
      cono_v = {};
      cono_t = {};
      metri = 1;
    }
    cono_v.stringi(ancora.velocita_kmh, q.velocita_kmh, tolleranza_kmh, metri);
    if (!std::isfinite(ancora.tempo_s)) {
      continue;
    }
    if (std::isfinite(q.tempo_s)) {
      cono_t.stringi(ancora.tempo_s, q.tempo_s, tolleranza_s, metri);
    } else {
      // No line from a finite time passes an infinite one.
      cono_t.chiudi();
    }
  }
  if (r.back().metro != p.inizio_m + static_cast<int64_t>(n) - 1) {
    r.push_back(punto(n - 1));
  }
  return r;
}

ordered_json dati_marcia(const Marcia& m, const std::array<Voce, kNumeroVoci>& voci,
                         const std::vector<Cella>& percorso) {
  ordered_json d;
  const size_t celle = std::min(m.tetto_celle_kmh.size(), percorso.size());
  d["tetto"] = intervalli_di_celle(celle, [&m](size_t k) {
    return ordered_json(m.tetto_celle_kmh[k]);
  });
  // A slow-down shows where it holds: where it lowers the line's speed.
  d["rallentamenti"] = intervalli_di_celle(celle, [&m, &percorso](size_t k) {
    return m.tetto_celle_kmh[k] < velocita_della_cella(percorso[k].velocita_massima)
               ? ordered_json(m.tetto_celle_kmh[k])
               : ordered_json(nullptr);
  });
  const std::vector<TettoTreno>& tt = m.profilo.tetto_treno;
  d["tetto_treno"] = ordered_json::array();
  for (size_t k = 0; k < tt.size(); ++k) {
    d["tetto_treno"].push_back({tt[k].da_m, k + 1 < tt.size() ? tt[k + 1].da_m : tt[k].a_m,
                                decimi(tt[k].velocita_ms * kKmhPerMs)});
  }
  d["corsa"] = ordered_json::array();
  for (const PuntoCorsa& p : corsa_ridotta(m.profilo, kTolleranzaVelocitaKmh, kTolleranzaTempoS)) {
    d["corsa"].push_back({p.metro, decimi(p.velocita_kmh),
                          std::isfinite(p.tempo_s) ? ordered_json(decimi(p.tempo_s)) : nullptr});
  }
  d["punti"] = ordered_json::array();
  if (!m.tratte.empty()) {
    for (const PuntoOrario& p : punti_orario(voci, percorso).punti) {
      d["punti"].push_back({{"voce", p.voce},
                            {"nome", da_1252(p.nome)},
                            {"metro", p.posizione_m},
                            {"fermata", p.fermata},
                            {"arrivo", p.arrivo_s},
                            {"partenza", p.partenza_s}});
    }
  }
  d["tratte"] = ordered_json::array();
  for (const Tratta& t : m.tratte) {
    d["tratte"].push_back({{"da", da_1252(t.da)},
                           {"a", da_1252(t.a)},
                           {"voce_da", t.voce_da},
                           {"voce_a", t.voce_a},
                           {"da_m", t.da_m},
                           {"a_m", t.a_m},
                           {"metri", t.metri},
                           {"programmato_s", t.programmato_s},
                           {"piu_veloce_s", secondi(t.piu_veloce_s)},
                           {"limite_s", secondi(t.limite_s)},
                           {"margine_s", secondi(t.margine_s)},
                           {"esito", testo_esito(t.esito)}});
  }
  if (!m.difetto.empty()) {
    d["difetto"] = da_1252(m.difetto);
  }
  return d;
}
