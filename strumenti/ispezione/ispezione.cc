#include "strumenti/ispezione/ispezione.h"

#include <cmath>
#include <cstddef>
#include <set>
#include <utility>

#include "compiler/celle.h"
#include "compiler/codici_gara.h"
#include "compiler/leggi_binario.h"
#include "model/nomi_file.h"
#include "sources/codifica_1252.h"

namespace {


Scenario scenario_di(const Identita& id) {
  Scenario s;
  s.nome_scenario = id.scenario;
  s.numero_treno = id.treno;
  s.voci[kVoceScenario].testo = id.scenario;
  s.voci[kVoceRipetizione].testo = id.treno;
  return s;
}

std::string cella_e_campo(int64_t k, CampoCella c) {
  return "cella " + std::to_string(k) + ", " + std::string(nome_campo(c));
}

std::string voce_e_campo(int64_t k, CampoVoce c) {
  return "voce " + std::to_string(k) + ", " + std::string(nome_campo(c));
}

class Controllo {
 public:
  explicit Controllo(Ispezione& i) : i_(i) {}

  void difetto(FileBinario f, int64_t byte, std::string dove, std::string descrizione) {
    i_.difetti.push_back({f, byte, std::move(dove), std::move(descrizione)});
  }

  // The faults of a reader, with the place said in words.
  void dal_lettore(FileBinario f, const std::vector<DifettoBinario>& difetti) {
    for (const DifettoBinario& d : difetti) {
      std::string dove;
      if (d.elemento >= 0) {
        const char* cosa = f == kFileVoci ? "voce " : f == kFilePercorso ? "cella " : "numero ";
        dove = cosa + std::to_string(d.elemento);
        if (!d.campo.empty()) {
          dove += ", " + d.campo;
        }
      }
      difetto(f, d.byte, dove, d.descrizione);
    }
  }

  // Entry 85 and 86 name the scenario, and entry 85 carries its mark and its weighted code.
  void voci(const Scenario& atteso) {
    const auto testo = [&](int k, const std::string& nome, const char* che_cosa) {
      const int64_t inizio = i_.inizio_voce[static_cast<size_t>(k)];
      const std::string& t = i_.voci[static_cast<size_t>(k)].testo;
      if (inizio >= 0 && t != nome) {
        difetto(
            kFileVoci, inizio + scostamento(CampoVoce::testo, 0), voce_e_campo(k, CampoVoce::testo),
            std::string(che_cosa) + " \"" + da_1252(t) + "\", i nomi dei file \"" + nome + "\"");
      }
    };
    testo(kVoceScenario, i_.identita.scenario, "nomina lo scenario");
    testo(kVoceRipetizione, i_.identita.treno, "nomina il treno");

    const int64_t inizio = i_.inizio_voce[kVoceScenario];
    if (inizio < 0) {
      return;
    }
    const Voce& v = i_.voci[kVoceScenario];
    const auto n = static_cast<int64_t>(v.testo.size());
    if (v.dato_1 != kMarcaVoce) {
      difetto(kFileVoci, inizio + scostamento(CampoVoce::dato_1, n),
              voce_e_campo(kVoceScenario, CampoVoce::dato_1),
              "marca " + std::to_string(v.dato_1) + ", attesa " + std::to_string(kMarcaVoce));
    }
    Scenario s = atteso;
    const int32_t st = codice_gara_st(s);
    if (v.orario != st) {
      difetto(kFileVoci, inizio + scostamento(CampoVoce::orario, n),
              voce_e_campo(kVoceScenario, CampoVoce::orario),
              "codice " + std::to_string(v.orario) + ", l'identita' " + i_.identita.scenario +
                  " / " + i_.identita.treno + " da' " + std::to_string(st));
    }
  }

  // The number of cells follows from the line's length; cell 1 carries the second mark and the
  // sum code; every cell holds one of the kinds of item that the compile places.
  void percorso(const Scenario& atteso, int64_t lunghezza_estesa) {
    const auto& celle = i_.percorso;
    if (lunghezza_estesa >= 0) {
      const int64_t attese = cella_di(lunghezza_estesa) + 1;
      if (static_cast<int64_t>(celle.size()) != attese) {
        difetto(kFilePercorso, static_cast<int64_t>(celle.size()) * kByteCella, "",
                std::to_string(celle.size()) + " celle: una linea di " +
                    std::to_string(lunghezza_estesa - kEstensione) + " m (voce 84) ne ha " +
                    std::to_string(attese));
      }
    }
    if (celle.size() < 2) {
      difetto(kFilePercorso, static_cast<int64_t>(celle.size()) * kByteCella, "",
              "manca la cella 1, che porta la marca e il codice");
    } else {
      const Cella& c = celle[1];
      if (c.valore_1 != kMarcaCella) {
        difetto(kFilePercorso, kByteCella + scostamento(CampoCella::valore_1),
                cella_e_campo(1, CampoCella::valore_1),
                "marca " + std::to_string(c.valore_1) + ", attesa " + std::to_string(kMarcaCella));
      }
      Scenario s = atteso;
      const int16_t og = codice_gara_og(s);
      if (c.valore_2 != og) {
        difetto(kFilePercorso, kByteCella + scostamento(CampoCella::valore_2),
                cella_e_campo(1, CampoCella::valore_2),
                "codice " + std::to_string(c.valore_2) + ", l'identita' " + i_.identita.scenario +
                    " / " + i_.identita.treno + " da' " + std::to_string(og));
      }
    }
    static const std::set<int> kGeneri = {kNessuno,
                                          kSegnale,
                                          kFineRallentamento,
                                          kInizioRallentamento,
                                          kAvvisoRallentamento,
                                          kPrimaDellAvviso,
                                          kIndicatoreVelocita,
                                          kFermata,
                                          kRiempitivoGalleria,
                                          kAbbattimentoConVelocita,
                                          kAbbattimentoSenzaVelocita,
                                          kCartello};
    for (size_t k = 0; k < celle.size(); ++k) {
      const Cella& c = celle[k];
      const auto byte = static_cast<int64_t>(k) * kByteCella;
      if (!kGeneri.contains(c.genere)) {
        difetto(kFilePercorso, byte, cella_e_campo(static_cast<int64_t>(k), CampoCella::genere),
                "genere " + std::to_string(c.genere) + ", che nessuna riga produce");
      } else if (c.genere == kFermata && (c.valore_1 < 1 || c.valore_1 >= kPrimaVoceCartello)) {
        difetto(kFilePercorso, byte + scostamento(CampoCella::valore_1),
                cella_e_campo(static_cast<int64_t>(k), CampoCella::valore_1),
                "fermata della voce " + std::to_string(c.valore_1) +
                    ", fuori dalle voci delle stazioni (1 a 79)");
      } else if (c.genere == kCartello && (c.valore_1 < 1 || c.valore_1 > kPrimaVoceCartello)) {
        difetto(kFilePercorso, byte + scostamento(CampoCella::valore_1),
                cella_e_campo(static_cast<int64_t>(k), CampoCella::valore_1),
                "cartello della voce " + std::to_string(c.valore_1) +
                    ", fuori dalle voci dei cartelli (1 a 80)");
      }
    }
  }

  // The plan's construction leaves: points 0 and 1 as the integers (0, 0) and (0, 1), then
  // reals, then empties up to the end, the last two points always empty; x and y of a point
  // always of one kind. A parse that stopped early leaves the points after it empty; one that
  // stopped before the plan began leaves them all empty. Runs of points with the same fault
  // are reported once.
  void tracciato(int64_t lunghezza_estesa) {
    const TracciatoLetto& t = i_.tracciato;
    const int64_t punti = t.esiste() ? int64_t{t.ultimo_punto()} + 1 : 0;
    if (lunghezza_estesa >= 0 && punti != lunghezza_estesa + 1) {
      difetto(kFileTracciato, i_.dimensioni[kFileTracciato], "",
              std::to_string(punti) + " punti: una linea di " +
                  std::to_string(lunghezza_estesa - kEstensione) + " m (voce 84) ne ha " +
                  std::to_string(lunghezza_estesa + 1));
    }
    if (punti == 0) {
      return;
    }
    int64_t byte_x = 0;
    int64_t byte_y = 0;
    for (int32_t i = 0; i < t.ultimo_punto() + 1; ++i) {
      byte_y += byte_numero(t.etichetta(i, 0));
    }
    std::string aperto;  // the fault of the run being gathered
    int64_t primo = 0;
    int64_t byte_primo = 0;
    const auto chiudi = [&](int64_t ultimo) {
      if (!aperto.empty()) {
        const std::string dove =
            primo == ultimo ? "punto " + std::to_string(primo)
                            : "punti " + std::to_string(primo) + "-" + std::to_string(ultimo);
        difetto(kFileTracciato, byte_primo, dove, aperto);
        aperto.clear();
      }
    };
    bool precedente_vuoto = false;
    for (int32_t i = 0; i <= t.ultimo_punto(); ++i) {
      const Etichetta ex = t.etichetta(i, 0);
      const Etichetta ey = t.etichetta(i, 1);
      std::string errore;
      int64_t byte = byte_x;
      if (ex != ey) {
        errore = "x e y di generi diversi";
      } else if (ex == Etichetta::intero_16 && i > 1) {
        errore = "un intero dopo il punto 1: solo i punti 0 e 1 sono interi";
      } else if (ex == Etichetta::reale_64 && i < 2) {
        errore = "un reale nei punti 0 e 1, che sono interi";
      } else if (ex != Etichetta::vuoto && precedente_vuoto) {
        errore = "un valore dopo un punto vuoto";
      } else if (ex != Etichetta::vuoto && i > t.ultimo_punto() - 2) {
        errore = "un valore negli ultimi due punti, che restano vuoti";
      } else if (ex == Etichetta::intero_16 && (t.intero(i, 0) != 0 || t.intero(i, 1) != i)) {
        errore = "il punto " + std::to_string(i) + " e' (" + std::to_string(t.intero(i, 0)) + ", " +
                 std::to_string(t.intero(i, 1)) + "), atteso (0, " + std::to_string(i) + ")";
      } else if (ex == Etichetta::reale_64 &&
                 (!std::isfinite(t.valore(i, 0)) || !std::isfinite(t.valore(i, 1)))) {
        errore = "un valore non finito";
        if (std::isfinite(t.valore(i, 0))) {
          byte = byte_y;
        }
      }
      if (ex == Etichetta::vuoto && i == 1 && !precedente_vuoto) {
        errore = "il punto 1 e' vuoto ma il punto 0 no";
      }
      if (errore != aperto) {
        chiudi(i - 1);
        if (!errore.empty()) {
          aperto = errore;
          primo = i;
          byte_primo = byte;
        }
      }
      precedente_vuoto = ex == Etichetta::vuoto;
      byte_x += byte_numero(ex);
      byte_y += byte_numero(ey);
    }
    chiudi(t.ultimo_punto());
  }

 private:
  Ispezione& i_;
};

}  // namespace

std::array<std::string, kNumeroFileBinari> nomi_binari(const Identita& id) {
  return {nome_file(FileDellaCorsa::tracciato, id), nome_file(FileDellaCorsa::voci, id),
          nome_file(FileDellaCorsa::percorso, id)};
}

std::vector<Identita> scenari_completi(const std::vector<std::string>& nomi) {
  const std::set<std::string> presenti(nomi.begin(), nomi.end());
  std::vector<Identita> trovati;
  for (const std::string& n : nomi) {
    const std::optional<NomeRiconosciuto> linea = riconosci_nome(n);
    if (!linea || linea->file != FileDellaCorsa::tracciato) {
      continue;
    }
    // The train number is what follows this line's scenario name in an entry file's name.
    for (const std::string& v : nomi) {
      const std::optional<NomeRiconosciuto> treno = riconosci_nome(v, linea->identita.scenario);
      if (treno && treno->file == FileDellaCorsa::voci &&
          presenti.contains(nomi_binari(treno->identita)[kFilePercorso])) {
        trovati.push_back(treno->identita);
      }
    }
  }
  return trovati;
}

namespace {

// The inspection, with the plan taken from `memoria` where it holds the same, when there is one.
Ispezione ispeziona_con(const Identita& id, std::string_view tracciato, std::string_view voci,
                        std::string_view percorso, MemoriaTracciato* memoria) {
  Ispezione i;
  i.identita = id;
  i.dimensioni = {static_cast<int64_t>(tracciato.size()), static_cast<int64_t>(voci.size()),
                  static_cast<int64_t>(percorso.size())};
  Controllo c(i);

  LetturaVoci lv = leggi_voci(voci);
  i.voci = std::move(lv.voci);
  i.inizio_voce = lv.inizio;
  c.dal_lettore(kFileVoci, lv.difetti);
  LetturaPercorso lp = leggi_percorso(percorso);
  i.percorso = std::move(lp.percorso);
  c.dal_lettore(kFilePercorso, lp.difetti);
  const bool ripresa = memoria && memoria->piena && memoria->byte == tracciato;
  if (memoria) {
    memoria->piena = false;  // until the plan's part below is all in it
  }
  if (ripresa) {
    i.tracciato = memoria->tracciato;
    i.difetti.insert(i.difetti.end(), memoria->difetti_lettura.begin(),
                     memoria->difetti_lettura.end());
  } else {
    LetturaTracciato lt = leggi_tracciato(tracciato);
    i.tracciato = std::move(lt.tracciato);
    const size_t prima = i.difetti.size();
    c.dal_lettore(kFileTracciato, lt.difetti);
    if (memoria) {
      memoria->byte.assign(tracciato);
      memoria->tracciato = i.tracciato;
      memoria->difetti_lettura.assign(i.difetti.begin() + static_cast<std::ptrdiff_t>(prima),
                                      i.difetti.end());
    }
  }

  // The line's length from entry 84 sizes the other two files, when it is there and is one
  // that the compile accepts.
  int64_t lunghezza_estesa = -1;
  const int64_t inizio_84 = i.inizio_voce[kVoceTreno];
  if (inizio_84 >= 0) {
    const int32_t lunghezza = i.voci[kVoceTreno].fine_area;
    if (lunghezza > kLunghezzaMassima || int64_t{lunghezza} + kEstensione < 0) {
      c.difetto(kFileVoci, inizio_84 + scostamento(CampoVoce::fine_area, 0),
                voce_e_campo(kVoceTreno, CampoVoce::fine_area),
                "lunghezza della linea " + std::to_string(lunghezza) + " m, fuori da -" +
                    std::to_string(kEstensione) + " a " + std::to_string(kLunghezzaMassima));
    } else {
      lunghezza_estesa = int64_t{lunghezza} + kEstensione;
    }
  }
  const Scenario atteso = scenario_di(id);
  c.voci(atteso);
  c.percorso(atteso, lunghezza_estesa);
  // The checks of the points read only the plan, its size and the line's length.
  if (ripresa && memoria->lunghezza_estesa == lunghezza_estesa) {
    i.difetti.insert(i.difetti.end(), memoria->difetti_controllo.begin(),
                     memoria->difetti_controllo.end());
  } else {
    const size_t prima = i.difetti.size();
    c.tracciato(lunghezza_estesa);
    if (memoria) {
      memoria->lunghezza_estesa = lunghezza_estesa;
      memoria->difetti_controllo.assign(i.difetti.begin() + static_cast<std::ptrdiff_t>(prima),
                                        i.difetti.end());
    }
  }
  if (memoria) {
    memoria->piena = true;
    memoria->ripresa = ripresa;
  }
  return i;
}

}  // namespace

Ispezione ispeziona_byte(const Identita& id, std::string_view tracciato, std::string_view voci,
                         std::string_view percorso) {
  return ispeziona_con(id, tracciato, voci, percorso, nullptr);
}

Ispezione ispeziona_byte(const Identita& id, std::string_view tracciato, std::string_view voci,
                         std::string_view percorso, MemoriaTracciato& memoria) {
  return ispeziona_con(id, tracciato, voci, percorso, &memoria);
}

Ispezione ispeziona(piattaforma::Disco& disco, const std::string& cartella, const Identita& id) {
  const auto nomi = nomi_binari(id);
  const std::string tracciato = disco.leggi(disco.percorso_in(cartella, nomi[kFileTracciato]));
  const std::string voci = disco.leggi(disco.percorso_in(cartella, nomi[kFileVoci]));
  const std::string percorso = disco.leggi(disco.percorso_in(cartella, nomi[kFilePercorso]));
  return ispeziona_byte(id, tracciato, voci, percorso);
}

std::variant<Identita, std::string> scenario_della_cartella(
    piattaforma::Disco& disco, const std::string& cartella,
    const std::optional<std::string>& scenario, const std::optional<std::string>& treno) {
  if (scenario && treno) {
    return Identita{*scenario, *treno};
  }
  const std::vector<Identita> trovati = scenari_completi(disco.elenca(cartella));
  if (trovati.size() == 1) {
    return trovati.front();
  }
  std::string elenco;
  for (const Identita& t : trovati) {
    elenco += (elenco.empty() ? "" : ", ") + t.scenario + " / " + t.treno;
  }
  return trovati.empty() ? "nessuno scenario completo in " + cartella +
                               " (servono NOME_linea.dat, NOME_NUMERO.sim e NOME_NUMERO.dat)"
                         : "piu' scenari in " + cartella + " (" + elenco +
                               "): sceglierne uno con --scenario e --treno";
}

std::string testo_difetti(const piattaforma::Disco& disco, const std::string& cartella,
                          const Identita& id, const std::vector<Difetto>& difetti) {
  const auto nomi = nomi_binari(id);
  std::string testo;
  for (const Difetto& d : difetti) {
    testo += disco.percorso_in(cartella, nomi[d.file]) + ": byte " + std::to_string(d.byte) +
             ": " + (d.dove.empty() ? "" : d.dove + ": ") + d.descrizione + "\n";
  }
  return testo;
}
