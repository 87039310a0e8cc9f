#include "strumenti/ispezione/confronto.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "model/formato_percorso.h"

namespace {

using nlohmann::ordered_json;

std::string m(int32_t metri) {
  return std::to_string(metri) + " m";
}

// Items of one kind keyed by their chainage; two items at one metre keep both.
template <typename T>
std::multimap<int32_t, const T*> per_posizione(const std::vector<T>& v) {
  std::multimap<int32_t, const T*> out;
  for (const T& t : v) {
    out.emplace(t.posizione, &t);
  }
  return out;
}

class Elenco {
 public:
  void in_un_punto(int32_t p, std::string cosa, std::string descrizione) {
    tratto(p, p, std::move(cosa), std::move(descrizione));
  }
  void tratto(int32_t da, int32_t a, std::string cosa, std::string descrizione) {
    v_.push_back({da, a, true, std::move(cosa), std::move(descrizione)});
  }
  void generale(std::string cosa, std::string descrizione) {
    v_.push_back({0, 0, false, std::move(cosa), std::move(descrizione)});
  }
  // Whether a change already listed covers part of metres da to a.
  bool coperto(int32_t da, int32_t a) const {
    return std::any_of(v_.begin(), v_.end(), [&](const Cambiamento& c) {
      return c.sulla_linea && c.da <= a && c.a >= da;
    });
  }
  std::vector<Cambiamento> ordinati() && {
    std::stable_sort(v_.begin(), v_.end(), [](const Cambiamento& x, const Cambiamento& y) {
      return std::make_tuple(x.sulla_linea, x.da, x.a) < std::make_tuple(y.sulla_linea, y.da, y.a);
    });
    return std::move(v_);
  }

 private:
  std::vector<Cambiamento> v_;
};

// Items compared by the metre they stand at: one there before and not after was removed, one
// there after and not before was added, one at the same metre with other values changed.
template <typename T>
void confronta_oggetti(Elenco& e, const std::vector<T>& prima, const std::vector<T>& dopo,
                       const std::string& cosa, const std::function<std::string(const T&)>& valori) {
  const auto p = per_posizione(prima);
  const auto d = per_posizione(dopo);
  std::set<int32_t> posizioni;
  for (const auto& [k, _] : p) {
    posizioni.insert(k);
  }
  for (const auto& [k, _] : d) {
    posizioni.insert(k);
  }
  for (const int32_t k : posizioni) {
    auto [pi, pf] = p.equal_range(k);
    auto [di, df] = d.equal_range(k);
    for (; pi != pf && di != df; ++pi, ++di) {
      const std::string vp = valori(*pi->second);
      const std::string vd = valori(*di->second);
      if (vp != vd) {
        e.in_un_punto(k, cosa, cosa + " a " + m(k) + " cambiato: " + vp + " -> " + vd);
      }
    }
    for (; pi != pf; ++pi) {
      e.in_un_punto(k, cosa, cosa + " tolto a " + m(k) + (valori(*pi->second).empty() ? "" : " (" + valori(*pi->second) + ")"));
    }
    for (; di != df; ++di) {
      e.in_un_punto(k, cosa, cosa + " aggiunto a " + m(k) + (valori(*di->second).empty() ? "" : " (" + valori(*di->second) + ")"));
    }
  }
}

void confronta_stazioni(Elenco& e, const Riepilogo& prima, const Riepilogo& dopo) {
  std::map<std::string, const StazioneLetta*> p;
  for (const StazioneLetta& s : prima.stazioni) {
    p.emplace(s.nome, &s);
  }
  std::set<std::string> viste;
  for (const StazioneLetta& d : dopo.stazioni) {
    viste.insert(d.nome);
    const auto trovata = p.find(d.nome);
    if (trovata == p.end()) {
      e.in_un_punto(d.posizione, "stazione", "stazione " + d.nome + " aggiunta a " + m(d.posizione));
      continue;
    }
    const StazioneLetta& s = *trovata->second;
    if (s.posizione != d.posizione) {
      e.tratto(std::min(s.posizione, d.posizione), std::max(s.posizione, d.posizione), "stazione",
               "stazione " + d.nome + " spostata da " + m(s.posizione) + " a " + m(d.posizione));
    }
    if (s.inizio_area != d.inizio_area || s.fine_area != d.fine_area) {
      e.tratto(std::min(s.inizio_area, d.inizio_area), std::max(s.fine_area, d.fine_area),
               "stazione",
               "stazione " + d.nome + ": area da " + std::to_string(s.inizio_area) + "-" +
                   m(s.fine_area) + " a " + std::to_string(d.inizio_area) + "-" + m(d.fine_area));
    }
    if (s.orario != d.orario) {
      e.in_un_punto(d.posizione, "orario",
                    "stazione " + d.nome + ": orario da " + ora_del_giorno(s.orario) + " a " +
                        ora_del_giorno(d.orario));
    }
    if (s.sosta != d.sosta) {
      e.in_un_punto(d.posizione, "orario",
                    "stazione " + d.nome + ": sosta da " + std::to_string(s.sosta) + " s a " +
                        std::to_string(d.sosta) + " s");
    }
    if (s.categoria != d.categoria) {
      e.in_un_punto(d.posizione, "stazione",
                    "stazione " + d.nome + ": categoria da " + std::to_string(s.categoria) +
                        " a " + std::to_string(d.categoria));
    }
  }
  for (const StazioneLetta& s : prima.stazioni) {
    if (!viste.contains(s.nome)) {
      e.in_un_punto(s.posizione, "stazione", "stazione " + s.nome + " tolta da " + m(s.posizione));
    }
  }
}

// A field of the cells that holds a value along the line, with the way a person reads it.
struct Strato {
  const char* cosa;
  const char* nome;
  int (*valore)(const Cella&);
  const char* unita;
};

constexpr Strato kStrati[] = {
    {"velocita", "velocita' massima", [](const Cella& c) { return c.velocita_massima * 5; },
     " km/h"},
    {"pendenza", "pendenza", [](const Cella& c) { return c.pendenza_cella - 100; }, " per mille"},
    {"aderenza", "aderenza", [](const Cella& c) { return int{c.aderenza_cella}; }, ""},
    {"galleria", "galleria", [](const Cella& c) { return int{c.galleria}; }, ""},
};

// Runs of cells k where `diverse(k)` holds, as [first, last] cell.
std::vector<std::pair<size_t, size_t>> tratti(size_t n, const std::function<bool(size_t)>& diverse) {
  std::vector<std::pair<size_t, size_t>> out;
  for (size_t k = 0; k < n; ++k) {
    if (!diverse(k)) {
      continue;
    }
    if (!out.empty() && out.back().second + 1 == k) {
      out.back().second = k;
    } else {
      out.emplace_back(k, k);
    }
  }
  return out;
}

int32_t metro_di_cella(size_t k) {
  return static_cast<int32_t>(k) * kMetriCella;
}

void confronta_strati(Elenco& e, const std::vector<Cella>& prima, const std::vector<Cella>& dopo) {
  const size_t n = std::max(prima.size(), dopo.size());
  const Cella vuota;
  auto di = [&](const std::vector<Cella>& v, size_t k) -> const Cella& {
    return k < v.size() ? v[k] : vuota;
  };
  for (const Strato& s : kStrati) {
    for (const auto& [da, a] :
         tratti(n, [&](size_t k) { return s.valore(di(prima, k)) != s.valore(di(dopo, k)); })) {
      const int vp = s.valore(di(prima, da));
      const int vd = s.valore(di(dopo, da));
      std::string valori = std::to_string(vp) + s.unita + " -> " + std::to_string(vd) + s.unita;
      if (a > da) {
        valori += " all'inizio";
      }
      e.tratto(metro_di_cella(da), metro_di_cella(a + 1), s.cosa,
               std::string(s.nome) + " cambiata da " + m(metro_di_cella(da)) + " a " +
                   m(metro_di_cella(a + 1)) + ": " + valori);
    }
  }
}

// A signal marks the cells up to 400 m before it, a station its stop at the end of its area:
// a changed cell this far before a listed change is that change's.
constexpr int32_t kSpiegazione = 1000;

// Cells whose other fields differ where no change of an item explains it.
void confronta_celle(Elenco& e, const std::vector<Cella>& prima, const std::vector<Cella>& dopo) {
  const size_t n = std::max(prima.size(), dopo.size());
  auto diverse = [&](size_t k) {
    if (k >= prima.size() || k >= dopo.size()) {
      return true;
    }
    const Cella& p = prima[k];
    const Cella& d = dopo[k];
    return p.genere != d.genere || p.valore_1 != d.valore_1 || p.valore_2 != d.valore_2 ||
           p.valore_3 != d.valore_3 || p.valore_4 != d.valore_4 ||
           p.tempo_segnale != d.tempo_segnale || p.avvicinamento != d.avvicinamento;
  };
  for (const auto& [da, a] : tratti(n, diverse)) {
    // An item stands 50 m before the cell that holds it: the stretch reaches back one cell.
    const int32_t inizio = metro_di_cella(da) - kMetriCella;
    const int32_t fine = metro_di_cella(a + 1);
    if (!e.coperto(inizio, fine + kSpiegazione)) {
      e.tratto(std::max(inizio, 0), fine, "celle",
               "celle " + std::to_string(da) + "-" + std::to_string(a) + " cambiate");
    }
  }
}

void confronta_pianta(Elenco& e, const TracciatoLetto& prima, const TracciatoLetto& dopo) {
  const int32_t n = std::max(prima.ultimo_punto(), dopo.ultimo_punto()) + 1;
  auto uguale = [&](int32_t p) {
    if (!prima.contiene(p) || !dopo.contiene(p)) {
      return false;
    }
    for (int c = 0; c < 2; ++c) {
      if (prima.etichetta(p, c) != dopo.etichetta(p, c) ||
          (prima.etichetta(p, c) != Etichetta::vuoto && prima.valore(p, c) != dopo.valore(p, c))) {
        return false;
      }
    }
    return true;
  };
  int32_t inizio = -1;  // the first metre of the run of different points, -1 outside one
  for (int32_t p = 0; p <= n; ++p) {
    const bool diverso = p < n && !uguale(p);
    if (diverso && inizio < 0) {
      inizio = p;
    } else if (!diverso && inizio >= 0) {
      e.tratto(inizio, p - 1, "pianta", "pianta cambiata da " + m(inizio) + " a " + m(p - 1));
      inizio = -1;
    }
  }
}

void confronta_generale(Elenco& e, const Riepilogo& p, const Riepilogo& d) {
  auto numero = [&](const char* nome, auto vp, auto vd, const char* unita) {
    if (vp != vd) {
      e.generale("generale", std::string(nome) + " da " + std::to_string(vp) + unita + " a " +
                                 std::to_string(vd) + unita);
    }
  };
  numero("lunghezza della linea", p.lunghezza, d.lunghezza, " m");
  numero("vetture", p.numero_vetture, d.numero_vetture, "");
  numero("massa frenata", p.massa_frenata, d.massa_frenata, " %");
  numero("sabbia", p.sabbia, d.sabbia, "");
  if (p.orologio != d.orologio) {
    auto ora = [](const std::array<int, 3>& o) { return ora_del_giorno(o[0] * 3600 + o[1] * 60 + o[2]); };
    e.generale("generale", "orologio da " + ora(p.orologio) + " a " + ora(d.orologio));
  }
  if (p.sfondo != d.sfondo || p.ripetizione != d.ripetizione) {
    e.generale("generale", "dati generali dello scenario cambiati");
  }
}

}  // namespace

std::vector<Cambiamento> confronta(const Ispezione& prima, const Riepilogo& riepilogo_prima,
                                   const Ispezione& dopo, const Riepilogo& riepilogo_dopo) {
  Elenco e;
  confronta_generale(e, riepilogo_prima, riepilogo_dopo);
  confronta_stazioni(e, riepilogo_prima, riepilogo_dopo);
  confronta_oggetti<SegnaleLetto>(e, riepilogo_prima.segnali, riepilogo_dopo.segnali, "segnale",
                                  [](const SegnaleLetto& s) {
                                    return "tempo " + std::to_string(s.tempo);
                                  });
  confronta_oggetti<CartelloVelocita>(
      e, riepilogo_prima.cartelli_velocita, riepilogo_dopo.cartelli_velocita, "cartello",
      [](const CartelloVelocita& c) {
        return "A " + std::to_string(c.velocita[0]) + ", B " + std::to_string(c.velocita[1]) +
               ", C " + std::to_string(c.velocita[2]) + " km/h";
      });
  confronta_oggetti<CartelloTesto>(e, riepilogo_prima.cartelli_testo,
                                   riepilogo_dopo.cartelli_testo, "scritta",
                                   [](const CartelloTesto& c) { return "\"" + c.testo + "\""; });
  confronta_oggetti<Abbattimento>(e, riepilogo_prima.abbattimenti, riepilogo_dopo.abbattimenti,
                                  "abbattimento", [](const Abbattimento& a) {
                                    return std::to_string(a.velocita) + " km/h";
                                  });
  // Slow-downs have a start and an end: one whose stretch or speed changed is a new one.
  auto chiave = [](const RallentamentoLetto& r) {
    return std::make_tuple(r.inizio, r.fine, r.velocita);
  };
  std::set<std::tuple<int32_t, int32_t, int>> rp, rd;
  for (const RallentamentoLetto& r : riepilogo_prima.rallentamenti) {
    rp.insert(chiave(r));
  }
  for (const RallentamentoLetto& r : riepilogo_dopo.rallentamenti) {
    rd.insert(chiave(r));
  }
  for (const auto& [insieme, altro, verbo] :
       {std::make_tuple(&rp, &rd, "tolto"), std::make_tuple(&rd, &rp, "aggiunto")}) {
    for (const auto& [inizio, fine, velocita] : *insieme) {
      if (!altro->contains({inizio, fine, velocita})) {
        e.tratto(inizio, fine, "rallentamento",
                 std::string("rallentamento a ") + std::to_string(velocita) + " km/h da " +
                     m(inizio) + " a " + m(fine) + " " + verbo);
      }
    }
  }
  confronta_strati(e, prima.percorso, dopo.percorso);
  confronta_celle(e, prima.percorso, dopo.percorso);
  confronta_pianta(e, prima.tracciato, dopo.tracciato);
  return std::move(e).ordinati();
}

std::string testo_cambiamenti(const std::vector<Cambiamento>& cambiamenti) {
  std::string out;
  for (const Cambiamento& c : cambiamenti) {
    if (!c.sulla_linea) {
      out += "scenario: ";
    } else if (c.da == c.a) {
      out += m(c.da) + ": ";
    } else {
      out += std::to_string(c.da) + "-" + m(c.a) + ": ";
    }
    out += c.descrizione + "\n";
  }
  return out;
}

ordered_json json_cambiamenti(const std::vector<Cambiamento>& cambiamenti) {
  ordered_json a = ordered_json::array();
  for (const Cambiamento& c : cambiamenti) {
    ordered_json o;
    if (c.sulla_linea) {
      o["da"] = c.da;
      o["a"] = c.a;
    } else {
      o["da"] = nullptr;
      o["a"] = nullptr;
    }
    o["cosa"] = c.cosa;
    o["descrizione"] = c.descrizione;
    a.push_back(std::move(o));
  }
  return a;
}
