#include "strumenti/decompilazione.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "compiler/abbattimenti.h"
#include "compiler/celle.h"
#include "compiler/leggi_binario.h"
#include "compiler/progressive_ordina.h"
#include "compiler/registratori.h"
#include "compiler/riempi_celle.h"
#include "strumenti/compilazione_in_memoria.h"
#include "strumenti/curve_dal_tracciato.h"
#include "strumenti/righe_allineate.h"

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
    cartelli();
    generale_treno();
    strato(aderenze_, riempimento_aderenze(), [](uint8_t v) { return int32_t{v}; });
    strato(velocita_, riempimento_velocita(),
           [](uint8_t v) { return int32_t{v} * kPassoVelocita; });
    rallentamenti();
    segnali();
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
    scrivi_linea(t, "[stazioni]");
    stazioni_.scrivi(t);
    scrivi_linea(t, "[rallentamenti]");
    rallentamenti_.scrivi(t);
    RigheAllineate abbattimenti("abbattimento", {8, 6});
    for (int64_t k : punti) {
      const Cella& c = celle_[static_cast<size_t>(k)];
      abbattimenti.aggiungi(
          {n(inizio_cella(k)), n(c.genere == kAbbattimentoConVelocita ? c.valore_1 : 0)});
    }
    abbattimenti.scrivi(t);
    scrivi_linea(t, "[segnali]");
    segnali_.scrivi(t);
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

  // Each run of cells of one tunnel kind is one stretch; it is flagged when its fourth cells
  // show the filler.
  void montagne() {
    int64_t fine_precedente = INT64_MIN / 2;
    int64_t k = 0;
    const auto ultima = static_cast<int64_t>(celle_.size()) - 1;
    while (k <= ultima) {
      const uint8_t g = celle_[static_cast<size_t>(k)].galleria;
      if (g == 0) {
        ++k;
        continue;
      }
      int64_t fine = k;
      while (fine + 1 <= ultima && celle_[static_cast<size_t>(fine + 1)].galleria == g) {
        ++fine;
      }
      // Flagged unless a cell that would hold a filler is left empty: where items cover all of
      // them, or the stretch is too short for one, both spellings give the same cells.
      bool segnata = true;
      for (int64_t c = k + 3; c <= fine; c += 4) {
        segnata = segnata && celle_[static_cast<size_t>(c)].genere != kNessuno;
      }
      const int64_t inizio_m = inizio_cella(k);
      const int64_t fine_m = inizio_cella(fine + 1);
      // A stretch close behind the one before becomes kind 3 whatever its row says.
      const bool vicina = inizio_m - fine_precedente <= kDistanzaGallerieVicine;
      int64_t tipo = vicina ? kTipoGallerieVicine : g;
      if (segnata) {
        tipo += 10;
      } else if (tipo > 10) {
        tipo -= 256;  // the same low 8 bits, and not flagged
      }
      montagne_.aggiungi({n(inizio_m), n(fine_m), n(tipo)});
      fine_precedente = fine_m;
      k = fine + 1;
    }
  }

  void indicatori() {
    const int64_t passi = kPesoVelocitaSinistra / kPassoVelocita;
    for (size_t k = 0; k < celle_.size(); ++k) {
      const Cella& c = celle_[k];
      if (c.genere != kIndicatoreVelocita) {
        continue;
      }
      std::vector<std::string> v = {n(inizio_cella(static_cast<int64_t>(k) - 1))};
      std::vector<std::string> destra;
      for (int16_t coppia : {c.valore_1, c.valore_2, c.valore_3}) {
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
      } else if (celle_[k].genere == kFermata) {
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

  // Each start cell, with the first end cell after it; the warning board 24 cells before the
  // start tells a slow-down after 1500 m, the four cells before the board its flag.
  void rallentamenti() {
    std::set<int64_t> fini;
    for (size_t k = 0; k < celle_.size(); ++k) {
      if (celle_[k].genere == kFineRallentamento) {
        fini.insert(static_cast<int64_t>(k));
      }
    }
    for (size_t k = 0; k < celle_.size(); ++k) {
      const Cella& c = celle_[k];
      if (c.genere != kInizioRallentamento) {
        continue;
      }
      const auto i = static_cast<int64_t>(k);
      const int64_t x = inizio_cella(i - 1);
      int64_t lunghezza = 0;
      if (const auto fine = fini.upper_bound(i); fine != fini.end()) {
        lunghezza = inizio_cella(*fine - i);
        fini.erase(fine);
      }
      const int64_t prima_dell_avviso = cella_di(x - kDistanzaAvviso);
      const bool con_segnali =
          prima_dell_avviso >= 0 &&
          celle_[static_cast<size_t>(prima_dell_avviso)].genere == kPrimaDellAvviso;
      rallentamenti_.aggiungi({n(x), n(c.valore_1), n(lunghezza), n(c.valore_3),
                               n(con_segnali ? 1 : 0), n(c.valore_2)});
    }
  }

  // The class sx * 3 + dx that the signal in cell k left in its approach marks (two cells
  // apart before it), read where no other signal writes a mark, and that fits the signal's
  // fourth value.
  std::optional<int64_t> classe_dagli_avvicinamenti(int64_t k, int64_t quarto,
                                                    const std::map<int64_t, int>& scrittori) const {
    for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
      const int64_t c = k - 2 * b;
      if (c < 0 || scrittori.at(c) > 1) {
        continue;
      }
      const int64_t m = celle_[static_cast<size_t>(c)].avvicinamento;
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
    return std::nullopt;
  }

  // Signals close together write over each other's approach marks: the last row wins. The rows
  // go in order of position, except that a signal whose mark a cell shows comes after the others
  // that mark it.
  std::vector<size_t> ordine_dei_segnali(const std::vector<int64_t>& celle_segnali,
                                         const std::vector<int64_t>& classi) const {
    const size_t quanti = celle_segnali.size();
    std::map<int64_t, std::vector<size_t>> per_cella;
    for (size_t j = 0; j < quanti; ++j) {
      for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
        per_cella[celle_segnali[j] - 2 * b].push_back(j);
      }
    }
    std::vector<std::vector<size_t>> dopo(quanti);
    std::vector<int> prima(quanti, 0);
    for (const auto& [c, scrittori] : per_cella) {
      if (scrittori.size() < 2 || c < 0) {
        continue;
      }
      const int64_t m = celle_[static_cast<size_t>(c)].avvicinamento;
      for (size_t w : scrittori) {
        const int64_t b = (celle_segnali[w] - c) / 2;
        if (basso_8(classi[w] * kPesoCoppia + b) == m) {
          for (size_t altro : scrittori) {
            if (altro != w) {
              dopo[altro].push_back(w);
              ++prima[w];
            }
          }
          break;
        }
      }
    }
    std::set<size_t> pronti;
    for (size_t j = 0; j < quanti; ++j) {
      if (prima[j] == 0) {
        pronti.insert(j);
      }
    }
    std::vector<size_t> ordine;
    while (!pronti.empty()) {
      const size_t j = *pronti.begin();
      pronti.erase(pronti.begin());
      ordine.push_back(j);
      for (size_t w : dopo[j]) {
        if (--prima[w] == 0) {
          pronti.insert(w);
        }
      }
    }
    if (ordine.size() != quanti) {
      // The marks ask for no order: the one of position, and the compile will say where.
      ordine.clear();
      for (size_t j = 0; j < quanti; ++j) {
        ordine.push_back(j);
      }
    }
    return ordine;
  }

  void segnali() {
    std::vector<int64_t> celle_segnali;
    std::map<int64_t, int> scrittori;  // signals that mark each cell
    for (size_t k = 0; k < celle_.size(); ++k) {
      if (celle_[k].genere == kSegnale) {
        celle_segnali.push_back(static_cast<int64_t>(k));
        for (int64_t b = 1; b <= kAvvicinamenti; ++b) {
          ++scrittori[static_cast<int64_t>(k) - 2 * b];
        }
      }
    }
    std::vector<int64_t> classi;
    for (int64_t k : celle_segnali) {
      const int64_t quarto = celle_[static_cast<size_t>(k)].valore_4;
      classi.push_back(classe_dagli_avvicinamenti(k, quarto, scrittori)
                           .value_or(dividi_in_basso(quarto, kPesoCoppia).second));
    }
    for (size_t j : ordine_dei_segnali(celle_segnali, classi)) {
      const int64_t k = celle_segnali[j];
      const Cella& c = celle_[static_cast<size_t>(k)];
      const int64_t quarto = c.valore_4;
      const int64_t classe = classi[j];
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
      const auto [s1, d1] = dividi_in_basso(c.valore_1, kPesoCoppia);
      const auto [s2, d2] = dividi_in_basso(c.valore_2, kPesoCoppia);
      const auto [s3, d3] = dividi_in_basso(c.valore_3, kPesoCoppia);
      segnali_.aggiungi({n(inizio_cella(k - 1)), n(sx), n(s1), n(s2), n(s3), n(rapp), n(dx), n(d1),
                         n(d2), n(d3), n(tempo)});
    }
  }

  const Ispezione& i_;
  std::vector<Cella> celle_;
  std::vector<Difetto> difetti_;
  int fine_stazioni_ = 1;
  std::vector<int64_t> punti_nei_file_;

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
