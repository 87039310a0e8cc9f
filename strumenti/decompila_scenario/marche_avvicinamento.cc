#include "strumenti/decompila_scenario/marche_avvicinamento.h"

#include <algorithm>

#include "compiler/celle.h"
#include "compiler/registratori.h"
#include "strumenti/decompila_scenario/stato_decompilazione.h"

std::optional<int64_t> classe_dalla_marca(int64_t m, int64_t b, int64_t quarto) {
  if ((m - b) % 2 != 0) {
    return std::nullopt;
  }
  // class * 10 + b has these low 8 bits: the class modulo 128, 77 being the inverse of 5.
  const int64_t base = (((m - b + 256) / 2) * 77) % 128;
  for (int64_t j = 0; j < 5; ++j) {
    const int64_t classe = base + 128 * j;
    if ((quarto - classe) % kPesoCoppia == 0) {
      return classe;
    }
  }
  return std::nullopt;
}

size_t aggiungi_nodo(MarcheDelTreno& t, RigaDaOrdinare riga) {
  t.nodi.push_back(riga);
  return t.nodi.size() - 1;
}

std::optional<uint8_t> valore_della_marca(const MarcheDelTreno& t, const MarcaScritta& w) {
  if (w.valore) {
    return w.valore;
  }
  const RigaDaOrdinare& r = t.nodi[w.nodo];
  const std::optional<int64_t>& classe = t.classi[r.indice];
  if (!classe) {
    return std::nullopt;
  }
  return basso_8(*classe * kPesoCoppia + w.b);
}

// The class of each signal, from a mark that only it writes; where all its marks are shared,
// from a shared mark that no other row's value explains; otherwise any class its fourth value
// allows, since no mark shows it.
void classi_dei_segnali(MarcheDelTreno& t, const std::vector<Cella>& celle) {
  t.classi.assign(t.celle_segnali.size(), std::nullopt);
  const auto quarto = [&](size_t j) {
    return celle[static_cast<size_t>(t.celle_segnali[j])].valore_4;
  };
  // Of the marks only it writes, the class most of them show: a row not found yet (under a
  // stop marker) may have written over some.
  for (size_t j = 0; j < t.celle_segnali.size(); ++j) {
    std::map<int64_t, int> voti;
    int migliori = 0;
    for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
      const int64_t c = t.celle_segnali[j] - 2 * b;
      if (t.per_cella.at(c).size() != 1) {
        continue;
      }
      const std::optional<int64_t> classe =
          classe_dalla_marca(celle[static_cast<size_t>(c)].avvicinamento, b, quarto(j));
      if (classe) {
        ++voti[*classe];
      }
    }
    // Between as many, the smallest: a class from 0 to 8 is what a row of its own gives.
    for (const auto& [classe, quanti] : voti) {
      if (quanti > migliori) {
        migliori = quanti;
        t.classi[j] = classe;
      }
    }
  }
  for (bool cambiate = true; cambiate;) {
    cambiate = false;
    for (const auto& [c, scrittori] : t.per_cella) {
      const uint8_t m = celle[static_cast<size_t>(c)].avvicinamento;
      const bool spiegata =
          std::any_of(scrittori.begin(), scrittori.end(),
                      [&](const MarcaScritta& w) { return valore_della_marca(t, w) == m; });
      for (size_t w = 0; !spiegata && w < scrittori.size(); ++w) {
        const RigaDaOrdinare& r = t.nodi[scrittori[w].nodo];
        if (r.genere == GenereRigaDaOrdinare::segnale && !t.classi[r.indice]) {
          t.classi[r.indice] = classe_dalla_marca(m, scrittori[w].b, quarto(r.indice));
          if (t.classi[r.indice]) {
            cambiate = true;
            break;
          }
        }
      }
    }
  }
  for (size_t j = 0; j < t.celle_segnali.size(); ++j) {
    if (!t.classi[j]) {
      t.classi[j] = dividi_in_basso(quarto(j), kPesoCoppia).second;
    }
  }
}

bool marca_spiegata(const MarcheDelTreno& t, const std::vector<Cella>& celle, int64_t c) {
  const uint8_t m = celle[static_cast<size_t>(c)].avvicinamento;
  const auto scrittori = t.per_cella.find(c);
  return m == 0 ||
         (scrittori != t.per_cella.end() &&
          std::any_of(scrittori->second.begin(), scrittori->second.end(),
                      [&](const MarcaScritta& w) { return valore_della_marca(t, w) == m; }));
}

// Rows that mark the same cell write over each other: the last one wins. (A mark that no row
// writes asks for no order: the compile will say where.) A row whose item a stop marker
// covers goes before its station.
OrdineRighe ordina_il_treno(const MarcheDelTreno& t, const std::vector<Cella>& celle) {
  std::vector<std::pair<size_t, size_t>> vincoli;
  for (const auto& [nodo, stazione] : t.sotto_fermata) {
    if (stazione < t.numero_stazioni) {
      vincoli.push_back({nodo, stazione});
    }
  }
  for (const auto& [c, scrittori] : t.per_cella) {
    if (scrittori.size() < 2) {
      continue;
    }
    // The rows that write what the cell shows go after the others, in any order among
    // themselves.
    const uint8_t m = celle[static_cast<size_t>(c)].avvicinamento;
    for (const MarcaScritta& ultimo : scrittori) {
      if (valore_della_marca(t, ultimo) != m) {
        continue;
      }
      for (const MarcaScritta& w : scrittori) {
        if (valore_della_marca(t, w) != m) {
          vincoli.push_back({w.nodo, ultimo.nodo});
        }
      }
    }
  }
  if (std::optional<OrdineRighe> o = ordina_righe(t.numero_stazioni, t.nodi.size(), vincoli)) {
    return std::move(*o);
  }
  // The marks ask for no order: the sections' own, and the compile will say where.
  OrdineRighe ordine;
  ordine.righe.resize(t.nodi.size());
  for (size_t w = 0; w < t.nodi.size(); ++w) {
    ordine.righe[w] = w;
  }
  ordine.tra_le_stazioni = t.numero_stazioni;
  return ordine;
}
