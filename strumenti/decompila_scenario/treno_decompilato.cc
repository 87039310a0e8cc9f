#include "strumenti/decompila_scenario/treno_decompilato.h"

#include <array>
#include <map>
#include <set>

#include "compiler/abbattimenti.h"
#include "compiler/celle.h"
#include "compiler/fase_treno.h"
#include "compiler/registratori.h"

namespace {

// The slow-downs found so far: how many, and the cells before a board where one found the
// marks of its signals.
struct RallentamentiTrovati {
  size_t numero = 0;
  std::set<int64_t> prime_prese;
};

// The stations fill the entries from 1 on; none of them is left all empty.
void stazioni(StatoDecompilazione& s, TrenoDecompilato& t) {
  int k = 1;
  for (; k < kPrimaVoceCartello && !(voce(s, k) == Voce{}); ++k) {
    const Voce& v = voce(s, k);
    if (!testo_scrivibile(s, k)) {
      continue;
    }
    const int64_t p = v.progressiva_voce;
    const bool dietro = v.categoria >= 5 && v.categoria <= 8;
    const int64_t lunghezza = dietro ? p - v.inizio_area : 2 * (p - v.inizio_area);
    int64_t marca_4 = v.marca_4;
    if (!dietro && k == 1) {
      // The first station's mark is cleared after it has widened the area.
      marca_4 = v.fine_area != p + lunghezza / 2 ? 1 : 0;
    }
    const int64_t ore = v.orario / 3600;
    const int64_t minuti = v.orario % 3600 / 60;
    const int64_t secondi = v.orario % 60;
    const size_t nodo =
        aggiungi_nodo(t.marche, {GenereRigaDaOrdinare::stazione, t.marche.numero_stazioni++});
    if (v.categoria < kCategoriaSenzaFermata && v.categoria != 5 && v.categoria != 6) {
      for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
        if (v.fine_area > kMetriCella * (b + 2)) {
          t.marche.per_cella[cella_di(v.fine_area - kMetriCella * (b + 1))].push_back(
              {nodo, b, basso_8(kMarcaStazione + b)});
        }
      }
    }
    t.stazioni.aggiungi({cifre(p), cifre(v.categoria), cifre(lunghezza), cifre(v.marca_1),
                         cifre(v.marca_5), cifre(marca_4), cifre(v.dato_1), cifre(v.dato_2),
                         cifre(v.marca_2), cifre(v.dato_3), cifre(v.dato_4), cifre(v.dato_5),
                         cifre(v.marca_3), cifre(ore), cifre(minuti), cifre(secondi)},
                        v.testo);
  }
  s.fine_stazioni = k;
}

void generale_treno(const StatoDecompilazione& s, TrenoDecompilato& t) {
  const Voce& treno = voce(s, kVoceTreno);
  const Voce& ripetizione = voce(s, kVoceRipetizione);
  RigheAllineate vetture("numero vetture", {5});
  vetture.aggiungi({cifre(treno.progressiva_voce)});
  vetture.scrivi(t.generale);
  RigheAllineate massa("percentuale massa frenata", {5});
  massa.aggiungi({cifre(treno.inizio_area)});
  massa.scrivi(t.generale);
  RigheAllineate sabbia("sabbia", {5});
  sabbia.aggiungi({cifre(ripetizione.dato_1)});
  sabbia.scrivi(t.generale);
  // The clock's three numbers apart by spaces only, in columns as the built-in row has them.
  std::string orologio = "orologio,    " + cifre(ripetizione.dato_3);
  orologio.append(orologio.size() < 29 ? 29 - orologio.size() : 1, ' ');
  orologio += cifre(ripetizione.dato_4);
  orologio.append(orologio.size() < 43 ? 43 - orologio.size() : 1, ' ');
  orologio += cifre(ripetizione.dato_5) + " ";
  scrivi_linea(t.generale, orologio);
}

// A row whose item a station's stop marker covers goes before that station.
void sotto_la_fermata(StatoDecompilazione& s, TrenoDecompilato& t, size_t nodo, int64_t k) {
  s.fermate_usate.insert(k);
  t.marche.sotto_fermata.push_back(
      {nodo, static_cast<size_t>(s.celle[static_cast<size_t>(k)].valore_1) - 1});
}

// Whether the four cells before a board in cell w show the marks of a slow-down's signals,
// where no stop marker covers them and no other slow-down took them.
bool prima_dell_avviso(const StatoDecompilazione& s, const RallentamentiTrovati& r, int64_t w) {
  bool segnate = false;
  for (int64_t i = 0; i < 4; ++i) {
    if (w - i < 0 || r.prime_prese.contains(w - i)) {
      return false;
    }
    const Cella& c = s.celle[static_cast<size_t>(w - i)];
    const bool segnata = c.genere == kPrimaDellAvviso && c.valore_1 == i + 1;
    if (!segnata && c.genere != kFermata) {
      return false;
    }
    segnate = segnate || segnata;
  }
  return segnate;
}

void rallentamento(StatoDecompilazione& s, TrenoDecompilato& t, RallentamentiTrovati& r,
                   int64_t inizio, int64_t fine, const Cella& c) {
  // Where in its start cell the slow-down begins decides whether it has a warning board and
  // where the marks before the board go (a cell's half rounds to the even neighbour): the
  // cell's own start, or the half metres and the metre after them.
  const int64_t x0 = inizio_cella(inizio - 1);
  const int64_t avviso = inizio - kDistanzaAvviso / kMetriCella;
  // A stop marker may cover the board.
  const uint8_t genere_avviso = avviso >= 0 ? s.celle[static_cast<size_t>(avviso)].genere : 0;
  int64_t x = x0;
  bool valida = false;  // x gives the cells of the file
  bool con_segnali = false;
  for (int64_t d : {0, 1, -kMetriCella / 2, kMetriCella / 2}) {
    const int64_t prova = x0 + d;
    const bool con_avviso = prova > kUltimoInizioSenzaAvviso;
    if (cella_dopo(prova) != inizio ||
        (genere_avviso != kFermata && con_avviso != (genere_avviso == kAvvisoRallentamento))) {
      continue;
    }
    const bool segnali = con_avviso && prima_dell_avviso(s, r, cella_di(prova - kDistanzaAvviso));
    if (!valida || segnali) {
      x = prova;
      valida = true;
    }
    if (segnali) {
      con_segnali = true;
      break;
    }
  }
  const int64_t lunghezza = fine < 0 ? 0 : inizio_cella(fine - 1) - x;
  const size_t nodo = aggiungi_nodo(t.marche, {GenereRigaDaOrdinare::rallentamento, r.numero++});
  const int64_t w = cella_di(x - kDistanzaAvviso);
  if (con_segnali) {
    r.prime_prese.insert({w, w - 1, w - 2, w - 3});
  }
  for (int64_t k : {inizio, fine, x > kUltimoInizioSenzaAvviso ? avviso : -1, con_segnali ? w : -1,
                    con_segnali ? w - 1 : -1, con_segnali ? w - 2 : -1, con_segnali ? w - 3 : -1}) {
    if (k >= 0 && s.celle[static_cast<size_t>(k)].genere == kFermata) {
      sotto_la_fermata(s, t, nodo, k);
    }
  }
  t.rallentamenti.aggiungi({cifre(x), cifre(c.valore_1), cifre(lunghezza), cifre(c.valore_3),
                            cifre(con_segnali ? 1 : 0), cifre(c.valore_2)});
}

// Each start cell, with the first end cell after it that holds the same speed, speed step
// and flag (slow-downs may lie inside each other); the warning board 24 cells before the
// start tells a slow-down after 1500 m, the four cells before the board its flag. A start or
// an end left alone lost its other half under a stop marker that kept its step and flag,
// the nearest one.
void rallentamenti(StatoDecompilazione& s, TrenoDecompilato& t) {
  RallentamentiTrovati trovati;
  using Chiave = std::array<int16_t, 3>;
  const auto chiave = [](const Cella& c) { return Chiave{c.valore_1, c.valore_2, c.valore_3}; };
  std::map<Chiave, std::set<int64_t>> fini_per_chiave;
  std::map<std::pair<int16_t, int16_t>, std::set<int64_t>> coperte;  // by step and flag
  for (size_t k = 0; k < s.celle.size(); ++k) {
    const Cella& c = s.celle[k];
    if (c.genere == kFineRallentamento) {
      fini_per_chiave[chiave(c)].insert(static_cast<int64_t>(k));
    } else if (c.genere == kFermata && c.valore_4 == 0 && c.tempo_segnale == 0) {
      coperte[{c.valore_2, c.valore_3}].insert(static_cast<int64_t>(k));
    }
  }
  const auto copertura = [&](const Cella& c, int64_t k, bool dopo) -> int64_t {
    std::set<int64_t>& celle = coperte[{c.valore_2, c.valore_3}];
    auto trovata = celle.upper_bound(k);
    if (!dopo) {
      if (trovata == celle.begin()) {
        return -1;
      }
      --trovata;
    } else if (trovata == celle.end()) {
      return -1;
    }
    const int64_t f = *trovata;
    celle.erase(trovata);
    return f;
  };
  for (size_t k = 0; k < s.celle.size(); ++k) {
    const Cella& c = s.celle[k];
    if (c.genere != kInizioRallentamento) {
      continue;
    }
    const auto i = static_cast<int64_t>(k);
    std::set<int64_t>& fini = fini_per_chiave[chiave(c)];
    int64_t fine = -1;
    if (const auto trovata = fini.upper_bound(i); trovata != fini.end()) {
      fine = *trovata;
      fini.erase(trovata);
    } else {
      fine = copertura(c, i, true);
    }
    rallentamento(s, t, trovati, i, fine, c);
  }
  for (const auto& [_, fini] : fini_per_chiave) {
    for (int64_t fine : fini) {
      const Cella& c = s.celle[static_cast<size_t>(fine)];
      if (const int64_t inizio = copertura(c, fine, false); inizio >= 0) {
        rallentamento(s, t, trovati, inizio, fine, c);
      }
    }
  }
}

// A signal under a stop marker shows by its time, or by a mark that no row found writes.
bool segnale_coperto(const StatoDecompilazione& s, const TrenoDecompilato& t, int64_t k) {
  const Cella& c = s.celle[static_cast<size_t>(k)];
  if (c.genere != kFermata || k - 2 * kAvvicinamenti < 0 || s.fermate_usate.contains(k)) {
    return false;
  }
  bool coperto = c.tempo_segnale != 0;
  for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
    coperto = coperto || !marca_spiegata(t.marche, s.celle, k - 2 * b);
  }
  return coperto;
}

void aggiungi_segnale(StatoDecompilazione& s, TrenoDecompilato& t, int64_t k) {
  const size_t nodo =
      aggiungi_nodo(t.marche, {GenereRigaDaOrdinare::segnale, t.marche.celle_segnali.size()});
  t.marche.celle_segnali.push_back(k);
  if (s.celle[static_cast<size_t>(k)].genere == kFermata) {
    sotto_la_fermata(s, t, nodo, k);
  }
  for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
    t.marche.per_cella[k - 2 * b].push_back({nodo, b, std::nullopt});
  }
}

// The signals in sight, then those that stop markers cover where the marks ask for them.
void segnali(StatoDecompilazione& s, TrenoDecompilato& t) {
  for (size_t k = 0; k < s.celle.size(); ++k) {
    if (s.celle[k].genere == kSegnale) {
      aggiungi_segnale(s, t, static_cast<int64_t>(k));
    }
  }
  classi_dei_segnali(t.marche, s.celle);
  std::vector<int64_t> coperti;
  for (size_t k = 0; k < s.celle.size(); ++k) {
    if (segnale_coperto(s, t, static_cast<int64_t>(k))) {
      coperti.push_back(static_cast<int64_t>(k));
    }
  }
  if (!coperti.empty()) {
    for (int64_t k : coperti) {
      aggiungi_segnale(s, t, k);
    }
    classi_dei_segnali(t.marche, s.celle);
  }
  for (size_t j = 0; j < t.marche.celle_segnali.size(); ++j) {
    const int64_t k = t.marche.celle_segnali[j];
    const Cella& c = s.celle[static_cast<size_t>(k)];
    const int64_t quarto = c.valore_4;
    const int64_t classe = *t.marche.classi[j];
    const int64_t rapp = (quarto - classe) / kPesoCoppia;
    const int64_t tempo_letto = c.tempo_segnale;
    int64_t sx = 0;
    if (tempo_letto != 0 || classe >= 2 * kPesoLatoSinistro) {
      sx = 2;
    } else if (classe >= kPesoLatoSinistro) {
      sx = 1;
    }
    const int64_t dx = classe - sx * kPesoLatoSinistro;
    // A time from 1 to 100 would be raised: the same low 8 bits from above 255.
    const int64_t tempo =
        tempo_letto >= 1 && tempo_letto <= kTempoSegnaleMinimo ? tempo_letto + 256 : tempo_letto;
    // A stop marker's first value is its own.
    const auto [s1, d1] = dividi_in_basso(c.genere == kFermata ? 0 : c.valore_1, kPesoCoppia);
    const auto [s2, d2] = dividi_in_basso(c.valore_2, kPesoCoppia);
    const auto [s3, d3] = dividi_in_basso(c.valore_3, kPesoCoppia);
    t.segnali.aggiungi({cifre(inizio_cella(k - 1)), cifre(sx), cifre(s1), cifre(s2), cifre(s3),
                        cifre(rapp), cifre(dx), cifre(d1), cifre(d2), cifre(d3), cifre(tempo)});
  }
}

}  // namespace

void ricava_treno(StatoDecompilazione& s, TrenoDecompilato& t) {
  stazioni(s, t);
  generale_treno(s, t);
  strato(s, t.aderenze, riempimento_aderenze(), [](uint8_t v) -> int64_t { return v; });
  strato(s, t.velocita, riempimento_velocita(),
         [](uint8_t v) -> int64_t { return v * kPassoVelocita; });
  rallentamenti(s, t);
  segnali(s, t);
  t.ordine = ordina_il_treno(t.marche, s.celle);
}

std::string testo_treno(const TrenoDecompilato& t, const std::vector<Cella>& celle,
                        const std::vector<int64_t>& punti) {
  std::string testo;
  scrivi_linea(testo, "[generale]");
  testo += t.generale;
  scrivi_linea(testo, "[aderenze]");
  t.aderenze.scrivi(testo);
  scrivi_linea(testo, "[vel_limite]");
  t.velocita.scrivi(testo);
  const std::vector<std::string> stazioni = t.stazioni.linee();
  const std::vector<std::string> rallentamenti = t.rallentamenti.linee();
  const std::vector<std::string> segnali = t.segnali.linee();
  const OrdineRighe& o = t.ordine;
  const std::vector<RigaDaOrdinare>& nodi = t.marche.nodi;
  const auto scrivi_nodo = [&](size_t i) {
    const RigaDaOrdinare& r = nodi[o.righe[i]];
    const std::vector<std::string>& linee = r.genere == GenereRigaDaOrdinare::stazione ? stazioni
                                            : r.genere == GenereRigaDaOrdinare::segnale
                                                ? segnali
                                                : rallentamenti;
    scrivi_linea(testo, linee[r.indice]);
  };
  // After the stations each kind has its section.
  const auto scrivi_dopo_le_stazioni = [&](GenereRigaDaOrdinare genere) {
    for (size_t i = o.tra_le_stazioni; i < o.righe.size(); ++i) {
      if (nodi[o.righe[i]].genere == genere) {
        scrivi_nodo(i);
      }
    }
  };
  scrivi_linea(testo, "[stazioni]");
  for (size_t i = 0; i < o.tra_le_stazioni; ++i) {
    scrivi_nodo(i);
  }
  scrivi_linea(testo, "[rallentamenti]");
  scrivi_dopo_le_stazioni(GenereRigaDaOrdinare::rallentamento);
  RigheAllineate abbattimenti("abbattimento", {8, 6});
  for (int64_t k : punti) {
    const Cella& c = celle[static_cast<size_t>(k)];
    abbattimenti.aggiungi(
        {cifre(inizio_cella(k)), cifre(c.genere == kAbbattimentoConVelocita ? c.valore_1 : 0)});
  }
  abbattimenti.scrivi(testo);
  scrivi_linea(testo, "[segnali]");
  scrivi_dopo_le_stazioni(GenereRigaDaOrdinare::segnale);
  scrivi_linea(testo, "[codici]");
  scrivi_linea(testo, "[fine]");
  return testo;
}
