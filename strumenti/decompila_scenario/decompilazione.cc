#include "strumenti/decompila_scenario/decompilazione.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "compiler/abbattimenti.h"
#include "compiler/celle.h"
#include "compiler/fase_treno.h"
#include "compiler/leggi_binario.h"
#include "compiler/progressive_ordina.h"
#include "compiler/registratori.h"
#include "compiler/riempi_celle.h"
#include "strumenti/decompila_scenario/compilazione_in_memoria.h"
#include "strumenti/decompila_scenario/curve_dal_tracciato.h"
#include "strumenti/decompila_scenario/ordine_righe.h"
#include "strumenti/decompila_scenario/righe_allineate.h"

namespace {

// Candidate sets of source points tried before giving up: each compile shows which of the
// file's points the pass makes by itself.
constexpr int kTentativiPunti = 8;

// A signal marks this many cells before it, every second one.
constexpr int64_t kAvvicinamenti = 4;

std::string n(int64_t v) {
  return std::to_string(v);
}

// The floor quotient and the remainder from 0 to b - 1: a packed field a * b + r taken apart.
std::pair<int64_t, int64_t> dividi_in_basso(int64_t v, int64_t b) {
  int64_t q = v / b;
  if (v % b < 0) {
    --q;
  }
  return {q, v - q * b};
}

// The rows of the train source whose order can matter, each as its kind and its place among
// the rows of that kind.
enum class TipoRiga { stazione, rallentamento, segnale };
struct RigaDaOrdinare {
  TipoRiga tipo;
  size_t indice;
};

// A row's write into the approach mark of a cell: a station's value is its own, a signal's
// its class and `b`, its count of two cells back.
struct Marca {
  size_t nodo;
  int64_t b = 0;
  std::optional<uint8_t> valore;
};

class Decompilatore {
 public:
  explicit Decompilatore(const Ispezione& i) : i_(i), celle_(i.percorso) {
    // Cell 1's first two values are the stamps, put there after every row: what a row leaves
    // there had to be 0.
    if (celle_.size() > 1) {
      celle_[1].valore_1 = 0;
      celle_[1].valore_2 = 0;
    }
  }

  void ricava() {
    generale_linea();
    curve();
    strato(pendenze_, riempimento_pendenze(),
           [](uint8_t v) { return int32_t{v} - kPendenzaInCella; });
    montagne();
    indicatori();
    stazioni();  // before the signs: they find the end of the stations' entries
    generale_treno();
    strato(aderenze_, riempimento_aderenze(), [](uint8_t v) { return int32_t{v}; });
    strato(velocita_, riempimento_velocita(),
           [](uint8_t v) { return int32_t{v} * kPassoVelocita; });
    rallentamenti();
    segnali();
    // After the rows that stop markers may cover, which take their cells first.
    indicatori_coperti();
    cartelli();
    ordina_il_treno();
    for (size_t k = 0; k < celle_.size(); ++k) {
      const Cella& c = celle_[k];
      if (c.genere == kAbbattimentoConVelocita || c.genere == kAbbattimentoSenzaVelocita) {
        punti_nei_file_.push_back(static_cast<int64_t>(k));
      }
    }
  }

  std::vector<Difetto>& difetti() { return difetti_; }
  const std::vector<int64_t>& punti_nei_file() const { return punti_nei_file_; }
  const std::vector<Cella>& celle() const { return celle_; }

  std::string linea() const {
    std::string t;
    scrivi_linea(t, "[generale]");
    t += generale_linea_;
    scrivi_linea(t, "[curve]");
    curve_.scrivi(t);
    scrivi_linea(t, "[pendenze]");
    pendenze_.scrivi(t);
    scrivi_linea(t, "[montagne]");
    montagne_.scrivi(t);
    scrivi_linea(t, "[cartelli]");
    indicatori_.scrivi(t);
    scrivi_linea(t, "[indicazioni]");
    cartelli_.scrivi(t);
    scrivi_linea(t, "[fine]");
    return t;
  }

  // The train source with a source point in each of `punti` (cells).
  std::string treno(const std::vector<int64_t>& punti) const {
    std::string t;
    scrivi_linea(t, "[generale]");
    t += generale_treno_;
    scrivi_linea(t, "[aderenze]");
    aderenze_.scrivi(t);
    scrivi_linea(t, "[vel_limite]");
    velocita_.scrivi(t);
    const std::vector<std::string> stazioni = stazioni_.linee();
    const std::vector<std::string> rallentamenti = rallentamenti_.linee();
    const std::vector<std::string> segnali = segnali_.linee();
    const OrdineRighe& o = ordine_treno_;
    const auto scrivi_nodo = [&](size_t i) {
      const RigaDaOrdinare& r = nodi_[o.righe[i]];
      const std::vector<std::string>& linee = r.tipo == TipoRiga::stazione ? stazioni
                                              : r.tipo == TipoRiga::segnale ? segnali
                                                                             : rallentamenti;
      scrivi_linea(t, linee[r.indice]);
    };
    // After the stations each kind has its section.
    const auto scrivi_dopo_le_stazioni = [&](TipoRiga tipo) {
      for (size_t i = o.tra_le_stazioni; i < o.righe.size(); ++i) {
        if (nodi_[o.righe[i]].tipo == tipo) {
          scrivi_nodo(i);
        }
      }
    };
    scrivi_linea(t, "[stazioni]");
    for (size_t i = 0; i < o.tra_le_stazioni; ++i) {
      scrivi_nodo(i);
    }
    scrivi_linea(t, "[rallentamenti]");
    scrivi_dopo_le_stazioni(TipoRiga::rallentamento);
    RigheAllineate abbattimenti("abbattimento", {8, 6});
    for (int64_t k : punti) {
      const Cella& c = celle_[static_cast<size_t>(k)];
      abbattimenti.aggiungi(
          {n(inizio_cella(k)), n(c.genere == kAbbattimentoConVelocita ? c.valore_1 : 0)});
    }
    abbattimenti.scrivi(t);
    scrivi_linea(t, "[segnali]");
    scrivi_dopo_le_stazioni(TipoRiga::segnale);
    scrivi_linea(t, "[codici]");
    scrivi_linea(t, "[fine]");
    return t;
  }

 private:
  const Voce& voce(int k) const { return i_.voci[static_cast<size_t>(k)]; }

  int64_t byte_voce(int k, CampoVoce campo) const {
    return i_.inizio_voce[static_cast<size_t>(k)] +
           scostamento(campo, static_cast<int64_t>(voce(k).testo.size()));
  }
  void difetto_voce(int k, CampoVoce campo, std::string descrizione) {
    difetti_.push_back({kFileVoci, byte_voce(k, campo),
                        "voce " + n(k) + ", " + std::string(nome_campo(campo)),
                        std::move(descrizione)});
  }
  void difetto_cella(int64_t k, CampoCella campo, std::string descrizione) {
    difetti_.push_back({kFilePercorso, k * kByteCella + scostamento(campo),
                        "cella " + n(k) + ", " + std::string(nome_campo(campo)),
                        std::move(descrizione)});
  }

  // A text read back by the source reader as it stands: the reader skips the spaces before a
  // text and ends it at a comma or a line end.
  bool testo_scrivibile(int k) {
    const std::string& t = voce(k).testo;
    if (t.starts_with(' ') || t.find_first_of(",\r\n") != std::string::npos) {
      difetto_voce(k, CampoVoce::testo,
                   "un testo che comincia con uno spazio o contiene una virgola o un a capo: "
                   "nessuna riga lo legge cosi'");
      return false;
    }
    return true;
  }

  void generale_linea() {
    const Voce& treno = voce(kVoceTreno);
    const Voce& sfondo = voce(kVoceScenario);
    const Voce& ripetizione = voce(kVoceRipetizione);
    RigheAllineate lunghezza("lunghezza percorso", {10});
    lunghezza.aggiungi({n(treno.fine_area)});
    lunghezza.scrivi(generale_linea_);
    progressive();
    for (const char* nome : {"uno", "due", "tre"}) {
      RigheAllineate sf(std::string("sfondo ") + nome, {10});
      const int32_t v = nome[0] == 'u'   ? sfondo.inizio_area
                        : nome[0] == 'd' ? sfondo.progressiva_voce
                                         : sfondo.fine_area;
      sf.aggiungi({n(v)});
      sf.scrivi(generale_linea_);
    }
    const char* codici = ripetizione.progressiva_voce == 9 ? "9" : "4";
    RigheAllineate rip(std::string("ripetizione segnali ") + codici + " codici", {5, 5});
    rip.aggiungi({n(ripetizione.inizio_area), n(ripetizione.fine_area)});
    rip.scrivi(generale_linea_);
  }

  // The three kilometre references as read, before the ordering moved them and added 100 to
  // the value of the one flagged 1: the order of the rows that the ordering takes to the
  // entries in the file.
  void progressive() {
    struct Terna {
      int64_t a, b, c;
    };
    std::array<Terna, 3> lette{};
    for (int j = 0; j < 3; ++j) {
      const Voce& v = voce(kVoceProgressivaTre + j);
      lette[static_cast<size_t>(j)] = {
          v.inizio_area,
          v.progressiva_voce == 1 ? int64_t{v.fine_area} - 100 : int64_t{v.fine_area},
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
        const Voce& b = voce(kVoceProgressivaTre + j);
        uguali = uguali && a.inizio_area == b.inizio_area && a.fine_area == b.fine_area &&
                 a.progressiva_voce == b.progressiva_voce;
      }
      if (uguali) {
        const char* nomi[] = {"tre", "due", "uno"};
        for (int j : {2, 1, 0}) {
          const Voce& v = prima[static_cast<size_t>(j)];
          RigheAllineate riga(std::string("progressiva chilometrica ") + nomi[j], {5, 10, 5});
          riga.aggiungi({n(v.inizio_area), n(v.fine_area), n(v.progressiva_voce)});
          riga.scrivi(generale_linea_);
        }
        return;
      }
    } while (std::next_permutation(ordine.begin(), ordine.end()));
    difetto_voce(kVoceProgressivaTre, CampoVoce::inizio_area,
                 "voci 81 a 83: nessun ordine delle tre progressive chilometriche le da' cosi'");
  }

  void curve() {
    const CurveDelTracciato c = curve_dal_tracciato(i_.tracciato);
    if (c.punto_inspiegato) {
      const int32_t p = *c.punto_inspiegato;
      int64_t byte = 0;
      for (int32_t k = 0; k < p; ++k) {
        byte += byte_numero(i_.tracciato.etichetta(k, 0));
      }
      difetti_.push_back({kFileTracciato, byte, "punto " + n(p),
                          "nessun passo della pianta, dritto o in curva, da' questo punto"});
    }
    for (const RigaCurva& r : c.righe) {
      curve_.aggiungi_con_parola(std::string("curva") + (r.sinistra ? "s" : "d") + n(r.classe),
                                 {n(r.inizio), n(r.lunghezza)});
    }
  }

  // A layer of the cells as fill rows: a row at each cell whose value differs from the one
  // before it (the first from what the value 0 gives), up to the third cell from the end,
  // where the fill stops. The cells after it hold a value only when rows there pushed the fill
  // on: every further row at that cell fills one more cell with the value of the row before it,
  // and the end of the fill one more with its own.
  template <typename Valore>
  void strato(RigheAllineate& righe, const Riempimento& r, Valore valore) {
    const auto ultima = static_cast<int64_t>(celle_.size()) - 1;
    const auto in_cella = [&](int64_t k) { return celle_[static_cast<size_t>(k)].*r.campo; };
    uint8_t corrente = r.in_cella(0);
    for (int64_t k = 0; k <= ultima - 3; ++k) {
      if (in_cella(k) != corrente) {
        corrente = in_cella(k);
        righe.aggiungi({n(inizio_cella(k)), n(valore(corrente))});
      }
    }
    if (ultima < 3) {
      return;
    }
    int64_t ultima_riempita = ultima - 3;
    for (int64_t k = ultima; k > ultima - 3; --k) {
      if (in_cella(k) != 0) {
        ultima_riempita = k;
        break;
      }
    }
    for (int64_t k = ultima - 2; k <= ultima_riempita; ++k) {
      righe.aggiungi({n(inizio_cella(ultima - 2)), n(valore(in_cella(k)))});
    }
  }

  // A tunnel row over cells a to b (b before a writes no cell) with `tipo` as the row gives
  // it. A row that begins 150 m or less after the row before it ends would turn into kind 3:
  // when that is not the kind wanted, a row that writes no cell and ends far before goes first.
  void riga_montagna(int64_t a, int64_t b, int64_t tipo, uint8_t genere_voluto) {
    const int64_t inizio = inizio_cella(a);
    if (fine_montagna_precedente_ && inizio - *fine_montagna_precedente_ <= kDistanzaGallerieVicine &&
        genere_voluto != kTipoGallerieVicine) {
      const int64_t lontana = -4 * kDistanzaGallerieVicine;
      montagne_.aggiungi({n(0), n(lontana), n(0)});
      fine_montagna_precedente_ = lontana;
    }
    const int64_t fine = inizio_cella(b + 1);
    montagne_.aggiungi({n(inizio), n(fine), n(tipo)});
    fine_montagna_precedente_ = fine;
  }

  // Each run of cells of one tunnel kind is one stretch; it is flagged when its fourth cells
  // show the filler, or an item over it. The fillers that no stretch explains (a row over the
  // stretch of another kind, or one that a later row cut) come first from short flagged rows of
  // their own, each over the fourth cells it can reach; the stretches then write their kinds
  // over those rows' cells, and rows of kind 0 clear the cells outside every stretch.
  void montagne() {
    const auto ultima = static_cast<int64_t>(celle_.size()) - 1;
    const auto genere = [&](int64_t k) { return celle_[static_cast<size_t>(k)].genere; };
    const auto galleria = [&](int64_t k) { return celle_[static_cast<size_t>(k)].galleria; };
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
      riga_montagna(a, b, kTipoGallerieVicine + 10, kTipoGallerieVicine);
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
      riga_montagna(t.inizio, t.fine, tipo, g);
    }
    for (auto c = da_pulire.begin(); c != da_pulire.end();) {
      int64_t fine = *c;
      auto dopo = std::next(c);
      while (dopo != da_pulire.end() && *dopo == fine + 1) {
        fine = *dopo++;
      }
      riga_montagna(*c, fine, 0, 0);
      c = dopo;
    }
  }

  void indicatori() {
    for (size_t k = 0; k < celle_.size(); ++k) {
      if (celle_[k].genere == kIndicatoreVelocita) {
        indicatore(static_cast<int64_t>(k));
      }
    }
  }

  // What a stop marker kept of an item before it that no row found explains: a board's values
  // give them all back, and a board of the line source comes before every station.
  void indicatori_coperti() {
    for (size_t k = 0; k < celle_.size(); ++k) {
      if (con_resti(celle_[k]) && !fermate_usate_.contains(static_cast<int64_t>(k))) {
        indicatore(static_cast<int64_t>(k));
      }
    }
  }

  void indicatore(int64_t k) {
    const int64_t passi = kPesoVelocitaSinistra / kPassoVelocita;
    const Cella& c = celle_[static_cast<size_t>(k)];
    std::vector<std::string> v = {n(inizio_cella(k - 1))};
    std::vector<std::string> destra;
    // A stop marker's first value is its own.
    const int16_t primo = c.genere == kFermata ? 0 : c.valore_1;
    for (int16_t coppia : {primo, c.valore_2, c.valore_3}) {
      const auto [sinistra, resto] = dividi_in_basso(coppia, passi);
      v.push_back(n(sinistra));
      destra.push_back(resto == 0 ? "" : n(resto * kPassoVelocita));
    }
    const auto [strisce_s, strisce_d] = dividi_in_basso(c.valore_4, kPesoCoppia);
    v.push_back(n(strisce_s));
    v.insert(v.end(), destra.begin(), destra.end());
    v.push_back(n(strisce_d));
    indicatori_.aggiungi(std::move(v));
  }

  // The stations fill the entries from 1 on; none of them is left all empty.
  void stazioni() {
    int k = 1;
    for (; k < kPrimaVoceCartello && !(voce(k) == Voce{}); ++k) {
      const Voce& v = voce(k);
      if (!testo_scrivibile(k)) {
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
      const size_t nodo = aggiungi_nodo({TipoRiga::stazione, numero_stazioni_++});
      if (v.categoria < kCategoriaSenzaFermata && v.categoria != 5 && v.categoria != 6) {
        for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
          if (v.fine_area > kMetriCella * (b + 2)) {
            marche_[cella_di(v.fine_area - kMetriCella * (b + 1))].push_back(
                {nodo, b, basso_8(kMarcaStazione + b)});
          }
        }
      }
      stazioni_.aggiungi({n(p), n(v.categoria), n(lunghezza), n(v.marca_1), n(v.marca_5),
                          n(marca_4), n(v.dato_1), n(v.dato_2), n(v.marca_2), n(v.dato_3),
                          n(v.dato_4), n(v.dato_5), n(v.marca_3), n(ore), n(minuti), n(secondi)},
                         v.testo);
    }
    fine_stazioni_ = k;
  }

  // Signs take the entries from 80 down, in the order of their rows. A sign whose cell a
  // station's stop marker took later shows only in its entry: its row goes on such a cell.
  void cartelli() {
    std::map<int, std::vector<int64_t>> celle_di_voce;
    std::vector<int64_t> fermate;
    for (size_t k = 0; k < celle_.size(); ++k) {
      if (celle_[k].genere == kCartello) {
        celle_di_voce[celle_[k].valore_1].push_back(static_cast<int64_t>(k));
      } else if (celle_[k].genere == kFermata && !con_resti(celle_[k]) &&
                 !fermate_usate_.contains(static_cast<int64_t>(k))) {
        fermate.push_back(static_cast<int64_t>(k));
      }
    }
    int ultima_voce = kPrimaVoceCartello + 1;
    if (!celle_di_voce.empty()) {
      ultima_voce = celle_di_voce.begin()->first;
    }
    for (int k = fine_stazioni_; k < ultima_voce; ++k) {
      if (!voce(k).testo.empty()) {
        ultima_voce = k;
      }
    }
    size_t fermata = 0;
    for (int k = kPrimaVoceCartello; k >= ultima_voce; --k) {
      const auto trovate = celle_di_voce.find(k);
      int64_t cella_cartello = -1;
      if (trovate != celle_di_voce.end()) {
        if (trovate->second.size() > 1) {
          difetto_cella(trovate->second[1], CampoCella::valore_1,
                        "un secondo cartello della voce " + n(k) + ": ogni riga ha la sua voce");
          continue;
        }
        cella_cartello = trovate->second.front();
      } else if (fermata < fermate.size()) {
        cella_cartello = fermate[fermata++];
      } else {
        difetto_voce(k, CampoVoce::testo,
                     "il testo di un cartello che non sta in nessuna cella, e nessuna fermata "
                     "lo puo' aver coperto");
        continue;
      }
      if (testo_scrivibile(k)) {
        cartelli_.aggiungi({n(inizio_cella(cella_cartello - 1))}, voce(k).testo);
      }
    }
  }

  void generale_treno() {
    const Voce& treno = voce(kVoceTreno);
    const Voce& ripetizione = voce(kVoceRipetizione);
    RigheAllineate vetture("numero vetture", {5});
    vetture.aggiungi({n(treno.progressiva_voce)});
    vetture.scrivi(generale_treno_);
    RigheAllineate massa("percentuale massa frenata", {5});
    massa.aggiungi({n(treno.inizio_area)});
    massa.scrivi(generale_treno_);
    RigheAllineate sabbia("sabbia", {5});
    sabbia.aggiungi({n(ripetizione.dato_1)});
    sabbia.scrivi(generale_treno_);
    // The clock's three numbers apart by spaces only, in columns as the built-in row has them.
    std::string orologio = "orologio,    " + n(ripetizione.dato_3);
    orologio.append(orologio.size() < 29 ? 29 - orologio.size() : 1, ' ');
    orologio += n(ripetizione.dato_4);
    orologio.append(orologio.size() < 43 ? 43 - orologio.size() : 1, ' ');
    orologio += n(ripetizione.dato_5) + " ";
    scrivi_linea(generale_treno_, orologio);
  }

  // A stop marker writes only its kind and first value: an item that stood in its cell before
  // leaves the other values there.
  static bool con_resti(const Cella& c) {
    return c.genere == kFermata &&
           (c.valore_2 != 0 || c.valore_3 != 0 || c.valore_4 != 0 || c.tempo_segnale != 0);
  }

  // A row whose item a station's stop marker covers goes before that station.
  void sotto_la_fermata(size_t nodo, int64_t k) {
    fermate_usate_.insert(k);
    sotto_fermata_.push_back({nodo, static_cast<size_t>(celle_[static_cast<size_t>(k)].valore_1) - 1});
  }

  // Whether the four cells before a board in cell w show the marks of a slow-down's signals,
  // where no stop marker covers them and no other slow-down took them.
  bool prima_dell_avviso(int64_t w) const {
    bool segnate = false;
    for (int64_t i = 0; i < 4; ++i) {
      if (w - i < 0 || prime_prese_.contains(w - i)) {
        return false;
      }
      const Cella& c = celle_[static_cast<size_t>(w - i)];
      const bool segnata = c.genere == kPrimaDellAvviso && c.valore_1 == i + 1;
      if (!segnata && c.genere != kFermata) {
        return false;
      }
      segnate = segnate || segnata;
    }
    return segnate;
  }

  void rallentamento(int64_t inizio, int64_t fine, const Cella& c) {
    // Where in its start cell the slow-down begins decides whether it has a warning board and
    // where the marks before the board go (a cell's half rounds to the even neighbour): the
    // cell's own start, or the half metres and the metre after them.
    const int64_t x0 = inizio_cella(inizio - 1);
    const int64_t avviso = inizio - kDistanzaAvviso / kMetriCella;
    // A stop marker may cover the board.
    const uint8_t genere_avviso = avviso >= 0 ? celle_[static_cast<size_t>(avviso)].genere : 0;
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
      const bool segnali = con_avviso && prima_dell_avviso(cella_di(prova - kDistanzaAvviso));
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
    const size_t nodo = aggiungi_nodo({TipoRiga::rallentamento, numero_rallentamenti_++});
    const int64_t w = cella_di(x - kDistanzaAvviso);
    if (con_segnali) {
      prime_prese_.insert({w, w - 1, w - 2, w - 3});
    }
    for (int64_t k : {inizio, fine, x > kUltimoInizioSenzaAvviso ? avviso : -1,
                      con_segnali ? w : -1, con_segnali ? w - 1 : -1, con_segnali ? w - 2 : -1,
                      con_segnali ? w - 3 : -1}) {
      if (k >= 0 && celle_[static_cast<size_t>(k)].genere == kFermata) {
        sotto_la_fermata(nodo, k);
      }
    }
    rallentamenti_.aggiungi({n(x), n(c.valore_1), n(lunghezza), n(c.valore_3),
                             n(con_segnali ? 1 : 0), n(c.valore_2)});
  }

  // Each start cell, with the first end cell after it that holds the same speed, speed step
  // and flag (slow-downs may lie inside each other); the warning board 24 cells before the
  // start tells a slow-down after 1500 m, the four cells before the board its flag. A start or
  // an end left alone lost its other half under a stop marker that kept its step and flag,
  // the nearest one.
  void rallentamenti() {
    using Chiave = std::array<int16_t, 3>;
    const auto chiave = [](const Cella& c) { return Chiave{c.valore_1, c.valore_2, c.valore_3}; };
    std::map<Chiave, std::set<int64_t>> fini_per_chiave;
    std::map<std::pair<int16_t, int16_t>, std::set<int64_t>> coperte;  // by step and flag
    for (size_t k = 0; k < celle_.size(); ++k) {
      const Cella& c = celle_[k];
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
    for (size_t k = 0; k < celle_.size(); ++k) {
      const Cella& c = celle_[k];
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
      rallentamento(i, fine, c);
    }
    for (const auto& [_, fini] : fini_per_chiave) {
      for (int64_t fine : fini) {
        const Cella& c = celle_[static_cast<size_t>(fine)];
        if (const int64_t inizio = copertura(c, fine, false); inizio >= 0) {
          rallentamento(inizio, fine, c);
        }
      }
    }
  }

  // The class sx * 3 + dx that a signal with fourth value `quarto` has when its mark `b`
  // (b cells of two before it) holds `m`.
  static std::optional<int64_t> classe_dalla_marca(int64_t m, int64_t b, int64_t quarto) {
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

  size_t aggiungi_nodo(RigaDaOrdinare riga) {
    nodi_.push_back(riga);
    return nodi_.size() - 1;
  }

  // What the row of `m` writes into its cell, when that is known.
  std::optional<uint8_t> valore_della_marca(const Marca& m) const {
    if (m.valore) {
      return m.valore;
    }
    const RigaDaOrdinare& r = nodi_[m.nodo];
    const std::optional<int64_t>& classe = classi_[r.indice];
    if (!classe) {
      return std::nullopt;
    }
    return basso_8(*classe * kPesoCoppia + m.b);
  }

  // The class of each signal, from a mark that only it writes; where all its marks are shared,
  // from a shared mark that no other row's value explains; otherwise any class its fourth value
  // allows, since no mark shows it.
  void classi_dei_segnali() {
    classi_.assign(celle_segnali_.size(), std::nullopt);
    const auto quarto = [&](size_t j) {
      return celle_[static_cast<size_t>(celle_segnali_[j])].valore_4;
    };
    // Of the marks only it writes, the class most of them show: a row not found yet (under a
    // stop marker) may have written over some.
    for (size_t j = 0; j < celle_segnali_.size(); ++j) {
      std::map<int64_t, int> voti;
      int migliori = 0;
      for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
        const int64_t c = celle_segnali_[j] - 2 * b;
        if (marche_.at(c).size() != 1) {
          continue;
        }
        const std::optional<int64_t> classe =
            classe_dalla_marca(celle_[static_cast<size_t>(c)].avvicinamento, b, quarto(j));
        if (classe) {
          ++voti[*classe];
        }
      }
      // Between as many, the smallest: a class from 0 to 8 is what a row of its own gives.
      for (const auto& [classe, quanti] : voti) {
        if (quanti > migliori) {
          migliori = quanti;
          classi_[j] = classe;
        }
      }
    }
    for (bool cambiate = true; cambiate;) {
      cambiate = false;
      for (const auto& [c, scrittori] : marche_) {
        const uint8_t m = celle_[static_cast<size_t>(c)].avvicinamento;
        const bool spiegata = std::any_of(scrittori.begin(), scrittori.end(), [&](const Marca& w) {
          return valore_della_marca(w) == m;
        });
        for (size_t w = 0; !spiegata && w < scrittori.size(); ++w) {
          const RigaDaOrdinare& r = nodi_[scrittori[w].nodo];
          if (r.tipo == TipoRiga::segnale && !classi_[r.indice]) {
            classi_[r.indice] = classe_dalla_marca(m, scrittori[w].b, quarto(r.indice));
            if (classi_[r.indice]) {
              cambiate = true;
              break;
            }
          }
        }
      }
    }
    for (size_t j = 0; j < celle_segnali_.size(); ++j) {
      if (!classi_[j]) {
        classi_[j] = dividi_in_basso(quarto(j), kPesoCoppia).second;
      }
    }
  }

  // Whether a row found writes the approach mark that cell c shows.
  bool marca_spiegata(int64_t c) const {
    const uint8_t m = celle_[static_cast<size_t>(c)].avvicinamento;
    const auto scrittori = marche_.find(c);
    return m == 0 ||
           (scrittori != marche_.end() &&
            std::any_of(scrittori->second.begin(), scrittori->second.end(),
                        [&](const Marca& w) { return valore_della_marca(w) == m; }));
  }

  // A signal under a stop marker shows by its time, or by a mark that no row found writes.
  bool segnale_coperto(int64_t k) const {
    const Cella& c = celle_[static_cast<size_t>(k)];
    if (c.genere != kFermata || k - 2 * kAvvicinamenti < 0 || fermate_usate_.contains(k)) {
      return false;
    }
    bool coperto = c.tempo_segnale != 0;
    for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
      coperto = coperto || !marca_spiegata(k - 2 * b);
    }
    return coperto;
  }

  void aggiungi_segnale(int64_t k) {
    const size_t nodo = aggiungi_nodo({TipoRiga::segnale, celle_segnali_.size()});
    celle_segnali_.push_back(k);
    if (celle_[static_cast<size_t>(k)].genere == kFermata) {
      sotto_la_fermata(nodo, k);
    }
    for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
      marche_[k - 2 * b].push_back({nodo, b, std::nullopt});
    }
  }

  // The signals in sight, then those that stop markers cover where the marks ask for them.
  void segnali() {
    for (size_t k = 0; k < celle_.size(); ++k) {
      if (celle_[k].genere == kSegnale) {
        aggiungi_segnale(static_cast<int64_t>(k));
      }
    }
    classi_dei_segnali();
    std::vector<int64_t> coperti;
    for (size_t k = 0; k < celle_.size(); ++k) {
      if (segnale_coperto(static_cast<int64_t>(k))) {
        coperti.push_back(static_cast<int64_t>(k));
      }
    }
    if (!coperti.empty()) {
      for (int64_t k : coperti) {
        aggiungi_segnale(k);
      }
      classi_dei_segnali();
    }
    for (size_t j = 0; j < celle_segnali_.size(); ++j) {
      const int64_t k = celle_segnali_[j];
      const Cella& c = celle_[static_cast<size_t>(k)];
      const int64_t quarto = c.valore_4;
      const int64_t classe = *classi_[j];
      const int64_t rapp = (quarto - classe) / kPesoCoppia;
      const int64_t t = c.tempo_segnale;
      int64_t sx = 0;
      if (t != 0 || classe >= 2 * kPesoLatoSinistro) {
        sx = 2;
      } else if (classe >= kPesoLatoSinistro) {
        sx = 1;
      }
      const int64_t dx = classe - sx * kPesoLatoSinistro;
      // A time from 1 to 100 would be raised: the same low 8 bits from above 255.
      const int64_t tempo = t >= 1 && t <= kTempoSegnaleMinimo ? t + 256 : t;
      // A stop marker's first value is its own.
      const auto [s1, d1] = dividi_in_basso(c.genere == kFermata ? 0 : c.valore_1, kPesoCoppia);
      const auto [s2, d2] = dividi_in_basso(c.valore_2, kPesoCoppia);
      const auto [s3, d3] = dividi_in_basso(c.valore_3, kPesoCoppia);
      segnali_.aggiungi({n(inizio_cella(k - 1)), n(sx), n(s1), n(s2), n(s3), n(rapp), n(dx), n(d1),
                         n(d2), n(d3), n(tempo)});
    }
  }

  // Rows that mark the same cell write over each other: the last one wins. (A mark that no row
  // writes asks for no order: the compile will say where.) A row whose item a stop marker
  // covers goes before its station.
  void ordina_il_treno() {
    std::vector<std::pair<size_t, size_t>> vincoli;
    for (const auto& [nodo, stazione] : sotto_fermata_) {
      if (stazione < numero_stazioni_) {
        vincoli.push_back({nodo, stazione});
      }
    }
    for (const auto& [c, scrittori] : marche_) {
      if (scrittori.size() < 2) {
        continue;
      }
      // The rows that write what the cell shows go after the others, in any order among
      // themselves.
      const uint8_t m = celle_[static_cast<size_t>(c)].avvicinamento;
      for (const Marca& ultimo : scrittori) {
        if (valore_della_marca(ultimo) != m) {
          continue;
        }
        for (const Marca& w : scrittori) {
          if (valore_della_marca(w) != m) {
            vincoli.push_back({w.nodo, ultimo.nodo});
          }
        }
      }
    }
    if (std::optional<OrdineRighe> o = ordina_righe(numero_stazioni_, nodi_.size(), vincoli)) {
      ordine_treno_ = std::move(*o);
      return;
    }
    // The marks ask for no order: the sections' own, and the compile will say where.
    ordine_treno_.righe.resize(nodi_.size());
    for (size_t w = 0; w < nodi_.size(); ++w) {
      ordine_treno_.righe[w] = w;
    }
    ordine_treno_.tra_le_stazioni = numero_stazioni_;
  }

  const Ispezione& i_;
  std::vector<Cella> celle_;
  std::vector<Difetto> difetti_;
  int fine_stazioni_ = 1;
  size_t numero_stazioni_ = 0;
  size_t numero_rallentamenti_ = 0;
  std::vector<int64_t> celle_segnali_;
  std::vector<std::optional<int64_t>> classi_;  // of each signal
  std::vector<RigaDaOrdinare> nodi_;            // stations first
  std::map<int64_t, std::vector<Marca>> marche_;  // the rows that mark each cell
  OrdineRighe ordine_treno_;                      // of the nodes
  std::set<int64_t> fermate_usate_;  // stop markers that cover an item found
  std::set<int64_t> prime_prese_;    // cells before a board where a slow-down found its marks
  std::vector<std::pair<size_t, size_t>> sotto_fermata_;  // a node and the station after it
  std::vector<int64_t> punti_nei_file_;
  std::optional<int64_t> fine_montagna_precedente_;  // of the last tunnel row written

  std::string generale_linea_;
  RigheAllineate curve_{"curva", {8, 6}};
  RigheAllineate pendenze_{"pendenza", {8, 5}};
  RigheAllineate montagne_{"montagna", {8, 8, 4}};
  RigheAllineate indicatori_{"indicatori_vmax", {8, 5, 5, 5, 3, 3, 3, 3, 3}};
  RigheAllineate cartelli_{"cartello_indicatore", {8}, "   "};
  std::string generale_treno_;
  RigheAllineate aderenze_{"aderenza", {8, 6}};
  RigheAllineate velocita_{"velocita", {8, 6}};
  RigheAllineate stazioni_{"stazione", {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2}, " "};
  RigheAllineate rallentamenti_{"rallentamento", {8, 6, 5, 2, 3, 3}};
  RigheAllineate segnali_{"segnale", {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 2}};
};

}  // namespace

std::optional<Difetto> prima_differenza(FileBinario file, std::string_view riferimento,
                                        std::string_view ottenuto) {
  if (riferimento == ottenuto) {
    return std::nullopt;
  }
  const size_t fino = std::min(riferimento.size(), ottenuto.size());
  size_t byte = 0;
  while (byte < fino && riferimento[byte] == ottenuto[byte]) {
    ++byte;
  }
  const auto b = static_cast<int64_t>(byte);
  std::string dove;
  if (file == kFilePercorso) {
    const int64_t cella = b / kByteCella;
    CampoCella campo = CampoCella::genere;
    for (int c = 0; c <= static_cast<int>(CampoCella::aderenza_cella); ++c) {
      if (scostamento(static_cast<CampoCella>(c)) <= b % kByteCella) {
        campo = static_cast<CampoCella>(c);
      }
    }
    dove = "cella " + n(cella) + ", " + std::string(nome_campo(campo));
  } else if (file == kFileVoci) {
    const LetturaVoci lette = leggi_voci(riferimento);
    for (int k = 0; k < kNumeroVoci; ++k) {
      const int64_t inizio = lette.inizio[static_cast<size_t>(k)];
      if (inizio >= 0 && inizio <= b) {
        dove = "voce " + n(k);
      }
    }
  } else {
    // The tagged number the byte lies in, counted from the start of the file.
    const LetturaTracciato letto = leggi_tracciato(riferimento);
    int64_t inizio = 0;
    int64_t numero = 0;
    for (Etichetta e : letto.tracciato.etichette()) {
      if (inizio + byte_numero(e) > b) {
        break;
      }
      inizio += byte_numero(e);
      ++numero;
    }
    dove = "numero " + n(numero);
  }
  std::string descrizione;
  if (byte == fino) {
    descrizione = "le sorgenti ricavate danno un file di " +
                  n(static_cast<int64_t>(ottenuto.size())) + " byte invece di " +
                  n(static_cast<int64_t>(riferimento.size()));
  } else {
    descrizione = "le sorgenti ricavate danno il byte " + n(static_cast<uint8_t>(ottenuto[byte])) +
                  " invece di " + n(static_cast<uint8_t>(riferimento[byte]));
  }
  return Difetto{file, b, dove, descrizione};
}

Decompilazione decompila(const Identita& identita, std::string_view tracciato,
                         std::string_view voci, std::string_view percorso) {
  Decompilazione d;
  const Ispezione ispezione = ispeziona_byte(identita, tracciato, voci, percorso);
  if (!ispezione.difetti.empty()) {
    d.difetti = ispezione.difetti;
    return d;
  }
  Decompilatore dec(ispezione);
  dec.ricava();
  if (!dec.difetti().empty()) {
    d.difetti = std::move(dec.difetti());
    return d;
  }
  const std::array<std::string_view, kNumeroFileBinari> attesi = {tracciato, voci, percorso};
  const std::string linea = dec.linea();

  // The points of the files are the source's and the pass's together. A point other than the
  // pass's own (another speed, or none) is always the source's; of the others, those the pass
  // placed in the last compile are left to it, and the rest are written.
  std::vector<int64_t> propri;
  std::vector<int64_t> come_la_passata;
  for (int64_t k : dec.punti_nei_file()) {
    const Cella& c = dec.celle()[static_cast<size_t>(k)];
    (c.genere == kAbbattimentoConVelocita && c.valore_1 == kVelocitaAbbattimento ? come_la_passata
                                                                                 : propri)
        .push_back(k);
  }
  std::vector<int64_t> punti = propri;
  std::optional<Difetto> differenza;
  std::set<std::vector<int64_t>> provati;
  for (int tentativo = 0; tentativo < kTentativiPunti && provati.insert(punti).second;
       ++tentativo) {
    const std::string treno = dec.treno(punti);
    const ImmaginiCompilate c = compila_in_memoria(identita, linea, treno);
    ++d.compilazioni;
    differenza.reset();
    for (int f = 0; f < kNumeroFileBinari && !differenza; ++f) {
      differenza = prima_differenza(static_cast<FileBinario>(f), attesi[static_cast<size_t>(f)],
                                    c.immagini[static_cast<size_t>(f)]);
    }
    if (!differenza && c.codice != 0) {
      d.difetti.push_back({kFilePercorso, 0, "",
                           "le sorgenti ricavate si compilano con l'errore " + n(c.codice)});
      return d;
    }
    if (!differenza) {
      d.sorgenti = SorgentiDecompilate{linea, treno};
      return d;
    }
    if (!c.scritti) {
      break;
    }
    const std::vector<Cella> compilate = leggi_percorso(c.immagini[kFilePercorso]).percorso;
    const std::set<int64_t> scritti(punti.begin(), punti.end());
    punti = propri;
    for (int64_t k : come_la_passata) {
      const bool dalla_passata =
          static_cast<size_t>(k) < compilate.size() &&
          compilate[static_cast<size_t>(k)].genere == kAbbattimentoConVelocita &&
          !scritti.contains(k);
      if (!dalla_passata) {
        punti.push_back(k);
      }
    }
    std::sort(punti.begin(), punti.end());
  }
  if (differenza) {
    d.difetti.push_back(*differenza);
  } else {
    d.difetti.push_back({kFilePercorso, 0, "", "le sorgenti ricavate non si compilano"});
  }
  return d;
}
