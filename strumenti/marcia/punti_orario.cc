#include "strumenti/marcia/punti_orario.h"

#include <string_view>

#include "compiler/celle.h"
#include "compiler/fase_treno.h"
#include "model/formato_percorso.h"

namespace {

std::string senza_spazi(std::string_view t) {
  const size_t a = t.find_first_not_of(" \t");
  if (a == std::string_view::npos) {
    return {};
  }
  return std::string(t.substr(a, t.find_last_not_of(" \t") - a + 1));
}

// The cell of each station's stop marker; -1 where no cell holds one.
std::array<int64_t, kNumeroVoci> celle_di_fermata(const std::vector<Cella>& percorso) {
  std::array<int64_t, kNumeroVoci> celle;
  celle.fill(-1);
  for (size_t k = 0; k < percorso.size(); ++k) {
    const Cella& c = percorso[k];
    if (c.genere == kFermata && c.valore_1 > 0 && c.valore_1 < kNumeroVoci &&
        celle[static_cast<size_t>(c.valore_1)] < 0) {
      celle[static_cast<size_t>(c.valore_1)] = static_cast<int64_t>(k);
    }
  }
  return celle;
}

}  // namespace

PuntiOrario punti_orario(const std::array<Voce, kNumeroVoci>& voci,
                         const std::vector<Cella>& percorso) {
  PuntiOrario r;
  const std::array<int64_t, kNumeroVoci> celle = celle_di_fermata(percorso);
  std::vector<PuntoOrario>& punti = r.punti;
  for (int i = 1; i <= kPrimaVoceCartello && voci[static_cast<size_t>(i)] != Voce{}; ++i) {
    const Voce& v = voci[static_cast<size_t>(i)];
    if (v.orario == 0) {
      continue;
    }
    PuntoOrario p;
    p.voce = i;
    p.nome = senza_spazi(v.testo);
    p.fermata = v.marca_3 > 0;
    p.arrivo_s = int64_t{v.orario} - (p.fermata ? v.marca_3 : 0);
    p.partenza_s = v.orario;
    p.posizione_m = v.progressiva_voce;
    punti.push_back(std::move(p));
  }
  if (punti.empty()) {
    return r;
  }
  punti.front().fermata = true;
  punti.front().arrivo_s = punti.front().partenza_s;
  punti.back().fermata = true;
  punti.back().arrivo_s = punti.back().partenza_s;
  const int64_t fine_percorso =
      percorso.empty() ? -1 : kMetriCella * static_cast<int64_t>(percorso.size() - 1);
  for (size_t j = 0; j < punti.size(); ++j) {
    PuntoOrario& p = punti[j];
    const Voce& v = voci[static_cast<size_t>(p.voce)];
    if (p.fermata && v.categoria < kCategoriaSenzaFermata) {
      const int64_t k = celle[static_cast<size_t>(p.voce)];
      // A marker that no cell holds any more stands where the train phase puts it.
      p.posizione_m = inizio_cella(k >= 0 ? k : cella_di(int64_t{v.fine_area} - kMetriCella));
    }
    if (p.posizione_m < 0 || p.posizione_m > fine_percorso) {
      r.difetto = "la stazione della voce " + std::to_string(p.voce) +
                  " sta fuori dal percorso, a " + std::to_string(p.posizione_m) + " m";
      return r;
    }
    if (j > 0 && p.posizione_m <= punti[j - 1].posizione_m) {
      r.difetto = "la stazione della voce " + std::to_string(p.voce) + ", a " +
                  std::to_string(p.posizione_m) + " m, non sta oltre quella della voce " +
                  std::to_string(punti[j - 1].voce) + ", a " +
                  std::to_string(punti[j - 1].posizione_m) + " m";
      return r;
    }
  }
  return r;
}
