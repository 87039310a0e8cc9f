#include "strumenti/decompila_scenario/linea_decompilata.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>

#include "compiler/celle.h"
#include "compiler/leggi_binario.h"
#include "compiler/progressive_ordina.h"
#include "compiler/registratori.h"
#include "strumenti/decompila_scenario/curve_dal_tracciato.h"

namespace {

// The three kilometre references as read, before the ordering moved them and added 100 to
// the value of the one flagged 1: the order of the rows that the ordering takes to the
// entries in the file.
void progressive(StatoDecompilazione& s, LineaDecompilata& l) {
  struct Terna {
    int64_t a, b, c;
  };
  std::array<Terna, 3> lette{};
  for (int j = 0; j < 3; ++j) {
    const Voce& v = voce(s, kVoceProgressivaTre + j);
    lette[static_cast<size_t>(j)] = {
        v.inizio_area, v.progressiva_voce == 1 ? int64_t{v.fine_area} - 100 : int64_t{v.fine_area},
        v.progressiva_voce};
  }
  std::array<int, 3> ordine = {0, 1, 2};
  do {
    Scenario prova;
    bool entra = true;
    for (size_t j = 0; j < 3; ++j) {
      const Terna& t = lette[static_cast<size_t>(ordine[j])];
      entra = entra && t.b >= INT32_MIN;
      Voce& v = prova.voci[kVoceProgressivaTre + j];
      v.inizio_area = static_cast<int32_t>(t.a);
      v.fine_area = static_cast<int32_t>(std::max<int64_t>(t.b, INT32_MIN));
      v.progressiva_voce = static_cast<int32_t>(t.c);
    }
    const std::array<Voce, 3> prima = {prova.voci[81], prova.voci[82], prova.voci[83]};
    if (!entra) {
      continue;
    }
    try {
      progressive_ordina(prova);
    } catch (const std::exception&) {
      continue;  // the value plus 100 would not fit: not this order
    }
    bool uguali = true;
    for (int j = 0; j < 3; ++j) {
      const Voce& a = prova.voci[static_cast<size_t>(kVoceProgressivaTre + j)];
      const Voce& b = voce(s, kVoceProgressivaTre + j);
      uguali = uguali && a.inizio_area == b.inizio_area && a.fine_area == b.fine_area &&
               a.progressiva_voce == b.progressiva_voce;
    }
    if (uguali) {
      const char* nomi[] = {"tre", "due", "uno"};
      for (int j : {2, 1, 0}) {
        const Voce& v = prima[static_cast<size_t>(j)];
        RigheAllineate riga(std::string("progressiva chilometrica ") + nomi[j], {5, 10, 5});
        riga.aggiungi({cifre(v.inizio_area), cifre(v.fine_area), cifre(v.progressiva_voce)});
        riga.scrivi(l.generale);
      }
      return;
    }
  } while (std::next_permutation(ordine.begin(), ordine.end()));
  difetto_voce(s, kVoceProgressivaTre, CampoVoce::inizio_area,
               "voci 81 a 83: nessun ordine delle tre progressive chilometriche le da' cosi'");
}

void generale_linea(StatoDecompilazione& s, LineaDecompilata& l) {
  const Voce& treno = voce(s, kVoceTreno);
  const Voce& sfondo = voce(s, kVoceScenario);
  const Voce& ripetizione = voce(s, kVoceRipetizione);
  RigheAllineate lunghezza("lunghezza percorso", {10});
  lunghezza.aggiungi({cifre(treno.fine_area)});
  lunghezza.scrivi(l.generale);
  progressive(s, l);
  for (const char* nome : {"uno", "due", "tre"}) {
    RigheAllineate sf(std::string("sfondo ") + nome, {10});
    const int32_t v = nome[0] == 'u'   ? sfondo.inizio_area
                      : nome[0] == 'd' ? sfondo.progressiva_voce
                                       : sfondo.fine_area;
    sf.aggiungi({cifre(v)});
    sf.scrivi(l.generale);
  }
  const char* codici = ripetizione.progressiva_voce == 9 ? "9" : "4";
  RigheAllineate rip(std::string("ripetizione segnali ") + codici + " codici", {5, 5});
  rip.aggiungi({cifre(ripetizione.inizio_area), cifre(ripetizione.fine_area)});
  rip.scrivi(l.generale);
}

void curve(StatoDecompilazione& s, LineaDecompilata& l) {
  const CurveDelTracciato c = curve_dal_tracciato(s.ispezione.tracciato);
  if (c.punto_inspiegato) {
    const int32_t p = *c.punto_inspiegato;
    int64_t byte = 0;
    for (int32_t k = 0; k < p; ++k) {
      byte += byte_numero(s.ispezione.tracciato.etichetta(k, 0));
    }
    s.difetti.push_back({kFileTracciato, byte, "punto " + cifre(p),
                         "nessun passo della pianta, dritto o in curva, da' questo punto"});
  }
  for (const RigaCurva& r : c.righe) {
    l.curve.aggiungi_con_parola(std::string("curva") + (r.sinistra ? "s" : "d") + cifre(r.classe),
                                {cifre(r.inizio), cifre(r.lunghezza)});
  }
}

// A tunnel row over cells a to b (b before a writes no cell) with `tipo` as the row gives
// it. A row that begins 150 m or less after the row before it ends would turn into kind 3:
// when that is not the kind wanted, a row that writes no cell and ends far before goes first.
void riga_montagna(RigheAllineate& montagne, std::optional<int64_t>& fine_precedente, int64_t a,
                   int64_t b, int64_t tipo, uint8_t genere_voluto) {
  const int64_t inizio = inizio_cella(a);
  if (fine_precedente && inizio - *fine_precedente <= kDistanzaGallerieVicine &&
      genere_voluto != kTipoGallerieVicine) {
    const int64_t lontana = -4 * kDistanzaGallerieVicine;
    montagne.aggiungi({cifre(0), cifre(lontana), cifre(0)});
    fine_precedente = lontana;
  }
  const int64_t fine = inizio_cella(b + 1);
  montagne.aggiungi({cifre(inizio), cifre(fine), cifre(tipo)});
  fine_precedente = fine;
}

// Each run of cells of one tunnel kind is one stretch; it is flagged when its fourth cells
// show the filler, or an item over it. The fillers that no stretch explains (a row over the
// stretch of another kind, or one that a later row cut) come first from short flagged rows of
// their own, each over the fourth cells it can reach; the stretches then write their kinds
// over those rows' cells, and rows of kind 0 clear the cells outside every stretch.
void montagne(StatoDecompilazione& s, LineaDecompilata& l) {
  std::optional<int64_t> fine_precedente;  // of the last tunnel row written
  const auto ultima = static_cast<int64_t>(s.celle.size()) - 1;
  const auto genere = [&](int64_t k) { return s.celle[static_cast<size_t>(k)].genere; };
  const auto galleria = [&](int64_t k) { return s.celle[static_cast<size_t>(k)].galleria; };
  struct Tratto {
    int64_t inizio, fine;
    bool segnato;
  };
  std::vector<Tratto> tratti;
  std::set<int64_t> spiegati;  // fillers that a flagged stretch writes
  for (int64_t k = 0; k <= ultima;) {
    if (galleria(k) == 0) {
      ++k;
      continue;
    }
    int64_t fine = k;
    while (fine + 1 <= ultima && galleria(fine + 1) == galleria(k)) {
      ++fine;
    }
    // Flagged unless a cell that would hold a filler is left empty: where items cover all of
    // them, or the stretch is too short for one, both spellings give the same cells.
    bool segnato = true;
    for (int64_t c = k + 3; c <= fine; c += 4) {
      segnato = segnato && genere(c) != kNessuno;
    }
    for (int64_t c = k + 3; segnato && c <= fine; c += 4) {
      spiegati.insert(c);
    }
    tratti.push_back({k, fine, segnato});
    k = fine + 1;
  }
  std::vector<std::pair<int64_t, int64_t>> riempitivi;  // cells of the rows of fillers only
  for (int64_t k = 3; k <= ultima; ++k) {
    if (genere(k) != kRiempitivoGalleria || spiegati.contains(k)) {
      continue;
    }
    int64_t fine = k;
    for (int64_t c = k + 4; c <= ultima && genere(c) != kNessuno; c += 4) {
      if (genere(c) == kRiempitivoGalleria) {
        fine = c;
        spiegati.insert(c);
      }
    }
    riempitivi.push_back({k - 3, fine});
  }
  std::set<int64_t> da_pulire;
  for (const auto& [a, b] : riempitivi) {
    riga_montagna(l.montagne, fine_precedente, a, b, kTipoGallerieVicine + 10, kTipoGallerieVicine);
    for (int64_t c = a; c <= b; ++c) {
      if (galleria(c) == 0) {
        da_pulire.insert(c);
      }
    }
  }
  for (const Tratto& t : tratti) {
    const uint8_t g = galleria(t.inizio);
    int64_t tipo = g;
    if (t.segnato) {
      tipo += 10;
    } else if (tipo > 10) {
      tipo -= 256;  // the same low 8 bits, and not flagged
    }
    riga_montagna(l.montagne, fine_precedente, t.inizio, t.fine, tipo, g);
  }
  for (auto c = da_pulire.begin(); c != da_pulire.end();) {
    int64_t fine = *c;
    auto dopo = std::next(c);
    while (dopo != da_pulire.end() && *dopo == fine + 1) {
      fine = *dopo++;
    }
    riga_montagna(l.montagne, fine_precedente, *c, fine, 0, 0);
    c = dopo;
  }
}

// A speed board at cell k; a stop marker over it kept all but its first value.
void indicatore(const StatoDecompilazione& s, LineaDecompilata& l, int64_t k) {
  const int64_t passi = kPesoVelocitaSinistra / kPassoVelocita;
  const Cella& c = s.celle[static_cast<size_t>(k)];
  std::vector<std::string> v = {cifre(inizio_cella(k - 1))};
  std::vector<std::string> destra;
  // A stop marker's first value is its own.
  const int16_t primo = c.genere == kFermata ? 0 : c.valore_1;
  for (int16_t coppia : {primo, c.valore_2, c.valore_3}) {
    const auto [sinistra, resto] = dividi_in_basso(coppia, passi);
    v.push_back(cifre(sinistra));
    destra.push_back(resto == 0 ? "" : cifre(resto * kPassoVelocita));
  }
  const auto [strisce_s, strisce_d] = dividi_in_basso(c.valore_4, kPesoCoppia);
  v.push_back(cifre(strisce_s));
  v.insert(v.end(), destra.begin(), destra.end());
  v.push_back(cifre(strisce_d));
  l.indicatori.aggiungi(std::move(v));
}

void indicatori(const StatoDecompilazione& s, LineaDecompilata& l) {
  for (size_t k = 0; k < s.celle.size(); ++k) {
    if (s.celle[k].genere == kIndicatoreVelocita) {
      indicatore(s, l, static_cast<int64_t>(k));
    }
  }
}

// What a stop marker kept of an item before it that no row found explains: a board's values
// give them all back, and a board of the line source comes before every station.
void indicatori_coperti(const StatoDecompilazione& s, LineaDecompilata& l) {
  for (size_t k = 0; k < s.celle.size(); ++k) {
    if (con_resti(s.celle[k]) && !s.fermate_usate.contains(static_cast<int64_t>(k))) {
      indicatore(s, l, static_cast<int64_t>(k));
    }
  }
}

// Signs take the entries from 80 down, in the order of their rows. A sign whose cell a
// station's stop marker took later shows only in its entry: its row goes on such a cell.
void cartelli(StatoDecompilazione& s, LineaDecompilata& l) {
  std::map<int, std::vector<int64_t>> celle_di_voce;
  std::vector<int64_t> fermate;
  for (size_t k = 0; k < s.celle.size(); ++k) {
    if (s.celle[k].genere == kCartello) {
      celle_di_voce[s.celle[k].valore_1].push_back(static_cast<int64_t>(k));
    } else if (s.celle[k].genere == kFermata && !con_resti(s.celle[k]) &&
               !s.fermate_usate.contains(static_cast<int64_t>(k))) {
      fermate.push_back(static_cast<int64_t>(k));
    }
  }
  int ultima_voce = kPrimaVoceCartello + 1;
  if (!celle_di_voce.empty()) {
    ultima_voce = celle_di_voce.begin()->first;
  }
  for (int k = s.fine_stazioni; k < ultima_voce; ++k) {
    if (!voce(s, k).testo.empty()) {
      ultima_voce = k;
    }
  }
  size_t fermata = 0;
  for (int k = kPrimaVoceCartello; k >= ultima_voce; --k) {
    const auto trovate = celle_di_voce.find(k);
    int64_t cella_cartello = -1;
    if (trovate != celle_di_voce.end()) {
      if (trovate->second.size() > 1) {
        difetto_cella(s, trovate->second[1], CampoCella::valore_1,
                      "un secondo cartello della voce " + cifre(k) + ": ogni riga ha la sua voce");
        continue;
      }
      cella_cartello = trovate->second.front();
    } else if (fermata < fermate.size()) {
      cella_cartello = fermate[fermata++];
    } else {
      difetto_voce(s, k, CampoVoce::testo,
                   "il testo di un cartello che non sta in nessuna cella, e nessuna fermata "
                   "lo puo' aver coperto");
      continue;
    }
    if (testo_scrivibile(s, k)) {
      l.cartelli.aggiungi({cifre(inizio_cella(cella_cartello - 1))}, voce(s, k).testo);
    }
  }
}

}  // namespace

void ricava_linea(StatoDecompilazione& s, LineaDecompilata& l) {
  generale_linea(s, l);
  curve(s, l);
  strato(s, l.pendenze, riempimento_pendenze(),
         [](uint8_t v) -> int64_t { return int32_t{v} - kPendenzaInCella; });
  montagne(s, l);
  indicatori(s, l);
}

void completa_linea(StatoDecompilazione& s, LineaDecompilata& l) {
  indicatori_coperti(s, l);
  cartelli(s, l);
}

std::string testo_linea(const LineaDecompilata& l) {
  std::string t;
  scrivi_linea(t, "[generale]");
  t += l.generale;
  scrivi_linea(t, "[curve]");
  l.curve.scrivi(t);
  scrivi_linea(t, "[pendenze]");
  l.pendenze.scrivi(t);
  scrivi_linea(t, "[montagne]");
  l.montagne.scrivi(t);
  scrivi_linea(t, "[cartelli]");
  l.indicatori.scrivi(t);
  scrivi_linea(t, "[indicazioni]");
  l.cartelli.scrivi(t);
  scrivi_linea(t, "[fine]");
  return t;
}
