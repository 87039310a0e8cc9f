#include "strumenti/ispezione/ispezione.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>

#include "compiler/leggi_binario.h"
#include "compiler/scrivi_binario.h"
#include "platform/disco_in_memoria.h"
#include "prove/robustezza.h"
#include "prove/scenario_compilato.h"
#include "prove/sorgenti_estese.h"
#include "prove/tracciato_in_byte.h"

namespace {

const Identita kIncorporato{"Tavena_Crostia", "4417"};

std::string descrivi(const Ispezione& i) {
  std::string t;
  for (const Difetto& d : i.difetti) {
    t += std::to_string(d.file) + " byte " + std::to_string(d.byte) + " [" + d.dove +
         "]: " + d.descrizione + "\n";
  }
  return t;
}

Ispezione ispeziona_compilato(const ScenarioCompilato& c, const Identita& id) {
  return ispeziona_byte(id, c.tracciato, c.voci, c.percorso);
}

TEST(Ispezione, LoScenarioIncorporatoNonHaDifetti) {
  const ScenarioCompilato& c = scenario_incorporato();
  const Ispezione i = ispeziona_compilato(c, kIncorporato);
  EXPECT_TRUE(i.difetti.empty()) << descrivi(i);
  EXPECT_EQ(i.voci, c.s.voci);
  EXPECT_EQ(i.percorso, c.s.percorso);
  EXPECT_EQ(i.tracciato.ultimo_punto(), 108000);
  EXPECT_EQ(i.dimensioni[kFilePercorso], 32415);
  EXPECT_EQ(i.dimensioni[kFileTracciato], 2159964);
}

std::string leggi_file(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Whatever sources the builder compiles, when it writes the files of a compile without a data
// error, or of one that stopped early (a row past the end of the track, a curve past the
// plan's limit, a sign on a taken cell), the inspector finds nothing wrong with them.
TEST(Ispezione, AccettaOgniFileCheIlCompilatoreScrive) {
  std::vector<std::pair<std::string, std::string>> ingressi;
  for (const auto& voce : std::filesystem::directory_iterator(CORPUS_COMPILAZIONE)) {
    ingressi.emplace_back(voce.path().filename().string(), leggi_file(voce.path()));
  }
  for (const int32_t metri : {10000, 1000000}) {
    const SorgentiEstese e = sorgenti_estese(metri);
    ingressi.emplace_back("linea di " + std::to_string(metri) + " m",
                          unisci_sorgenti(e.linea, e.treno));
  }
  const std::string generale = "[generale]\r\nlunghezza percorso, 20000\r\n[curve]\r\n";
  const std::string treno = "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n";
  ingressi.emplace_back("riga oltre il percorso",
                        unisci_sorgenti(generale + "curvad4, 1000, 300\r\npendenza, 90000, 3\r\n"
                                                   "curvas4, 5000, 300\r\n[fine]\r\n",
                                        treno));
  ingressi.emplace_back("cartello su una cella occupata",
                        unisci_sorgenti(generale + "curvad4, 1000, 300\r\ncartello_indicatore, "
                                                   "4000, A\r\ncartello_indicatore, 4010, B\r\n"
                                                   "curvas4, 6000, 300\r\n[fine]\r\n",
                                        treno));
  int con_file = 0;
  for (const auto& [nome, ingresso] : ingressi) {
    const SorgentiDaIngresso s = dividi_ingresso(ingresso);
    ScenarioCompilato c;
    try {
      c = compila_sorgenti(s.linea, s.treno);
    } catch (const std::exception&) {
      continue;  // the run ended with its message: nothing written
    }
    if (c.s.percorso.empty()) {
      continue;
    }
    ++con_file;
    const Ispezione i = ispeziona_compilato(c, {"Prova", "1"});
    EXPECT_TRUE(i.difetti.empty()) << nome << " (codice " << c.s.codice_errore << ")\n"
                                   << descrivi(i);
  }
  EXPECT_GE(con_file, 8);
}

// The three files of the built-in run, to be damaged one way at a time.
struct File {
  std::string tracciato = scenario_incorporato().tracciato;
  std::string voci = scenario_incorporato().voci;
  std::string percorso = scenario_incorporato().percorso;
};

int64_t voce(int k) {
  return leggi_voci(scenario_incorporato().voci).inizio[static_cast<size_t>(k)];
}

void scrivi_16(std::string& b, int64_t byte, int16_t v) {
  b[static_cast<size_t>(byte)] = static_cast<char>(v & 0xFF);
  b[static_cast<size_t>(byte) + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// The plan of the built-in run, changed and written again.
std::string tracciato_cambiato(const std::function<void(TracciatoLetto&)>& cambia) {
  TracciatoLetto t = leggi_tracciato(scenario_incorporato().tracciato).tracciato;
  cambia(t);
  return immagine_tracciato_letto(t);
}

// Offset of x (column 0) or y (column 1) of a point of the built-in plan: integers at points
// 0 and 1, reals up to 107998, two empties.
int64_t byte_del_punto(int64_t punto, int colonna) {
  const auto colonna_x = [](int64_t p) {
    return p <= 2
               ? 4 * p
               : 8 + 10 * (std::min<int64_t>(p, 107999) - 2) + 2 * std::max<int64_t>(p - 107999, 0);
  };
  return colonna == 0 ? colonna_x(punto) : colonna_x(108001) + colonna_x(punto);
}

struct Danno {
  const char* caso;
  std::function<void(File&)> danneggia;
  FileBinario file;
  int64_t byte;
  std::string dove;
};

TEST(Ispezione, OgniDannoENominatoConFileByteEPosto) {
  const int64_t testo_85 = 14;  // "Tavena_Crostia"
  const Danno casi[] = {
      {"codice st cambiato", [](File& f) { scrivi_16(f.voci, voce(85) + 30 + 14, 1); }, kFileVoci,
       voce(85) + 30 + testo_85, "voce 85, orario"},
      {"marca 610 cambiata", [](File& f) { scrivi_16(f.voci, voce(85) + 16 + 14, 611); }, kFileVoci,
       voce(85) + 16 + testo_85, "voce 85, dato_1"},
      {"testo del treno cambiato",
       [](File& f) { f.voci[static_cast<size_t>(voce(86) + 16)] = '5'; }, kFileVoci, voce(86) + 16,
       "voce 86, testo"},
      {"voci tagliate", [](File& f) { f.voci.resize(static_cast<size_t>(voce(40) + 3)); },
       kFileVoci, voce(40) + 1, "voce 40, inizio_area"},
      {"marca 5121 cambiata", [](File& f) { scrivi_16(f.percorso, 16, 5120); }, kFilePercorso, 16,
       "cella 1, valore_1"},
      {"codice og cambiato", [](File& f) { scrivi_16(f.percorso, 18, 0); }, kFilePercorso, 18,
       "cella 1, valore_2"},
      {"genere sconosciuto", [](File& f) { f.percorso[15 * 500] = 9; }, kFilePercorso, 15 * 500,
       "cella 500, genere"},
      {"fermata di una voce che non e' una stazione",
       [](File& f) {
         f.percorso[15 * 500] = kFermata;
         scrivi_16(f.percorso, 15 * 500 + 1, 0);
       },
       kFilePercorso, 15 * 500 + 1, "cella 500, valore_1"},
      {"una cella in meno", [](File& f) { f.percorso.resize(f.percorso.size() - 15); },
       kFilePercorso, 32400, ""},
      {"mezza cella in piu'", [](File& f) { f.percorso += "1234567"; }, kFilePercorso, 32415,
       "cella 2161"},
      {"x intera in mezzo ai reali",
       [](File& f) {
         f.tracciato = tracciato_cambiato([](TracciatoLetto& t) { t.imposta_intero(5000, 0, 3); });
       },
       kFileTracciato, byte_del_punto(5000, 0), "punto 5000"},
      {"y non finita",
       [](File& f) {
         f.tracciato = tracciato_cambiato([](TracciatoLetto& t) {
           t.imposta_reale(700, 1, std::numeric_limits<double>::quiet_NaN());
         });
       },
       kFileTracciato, byte_del_punto(700, 1), "punto 700"},
      {"origine spostata",
       [](File& f) {
         f.tracciato = tracciato_cambiato([](TracciatoLetto& t) { t.imposta_intero(1, 1, 2); });
       },
       kFileTracciato, 4, "punto 1"},
      {"ultimo punto con un valore",
       [](File& f) {
         f.tracciato = tracciato_cambiato([](TracciatoLetto& t) {
           t.imposta_reale(108000, 0, 1.0);
           t.imposta_reale(108000, 1, 1.0);
         });
       },
       kFileTracciato, byte_del_punto(108000, 0), "punto 108000"},
      {"etichetta sconosciuta", [](File& f) { f.tracciato[8] = 7; }, kFileTracciato, 8,
       "numero 2, etichetta"},
  };
  for (const Danno& d : casi) {
    File f;
    d.danneggia(f);
    const Ispezione i = ispeziona_byte(kIncorporato, f.tracciato, f.voci, f.percorso);
    ASSERT_FALSE(i.difetti.empty()) << d.caso;
    const Difetto& primo = i.difetti.front();
    EXPECT_EQ(primo.file, d.file) << d.caso << "\n" << descrivi(i);
    EXPECT_EQ(primo.byte, d.byte) << d.caso << "\n" << descrivi(i);
    EXPECT_EQ(primo.dove, d.dove) << d.caso << "\n" << descrivi(i);
    EXPECT_FALSE(primo.descrizione.empty()) << d.caso;
  }
}

// A run of points with the same fault is one report, from its first point to its last.
TEST(Ispezione, UnaSerieDiPuntiConLoStessoDifettoEUnSoloDifetto) {
  File f;
  f.tracciato = tracciato_cambiato([](TracciatoLetto& t) {
    for (int32_t p = 5000; p < 5010; ++p) {
      t.imposta_intero(p, 0, 1);
    }
  });
  const Ispezione i = ispeziona_byte(kIncorporato, f.tracciato, f.voci, f.percorso);
  ASSERT_EQ(i.difetti.size(), 1u) << descrivi(i);
  EXPECT_EQ(i.difetti[0].dove, "punti 5000-5009");
  EXPECT_EQ(i.difetti[0].byte, byte_del_punto(5000, 0));
}

// Points left empty in the middle of the plan: the plan goes on after them, which no compile
// does; the first point after them is named.
TEST(Ispezione, UnValoreDopoPuntiVuoti) {
  TracciatoLetto t = leggi_tracciato(scenario_incorporato().tracciato).tracciato;
  TracciatoLetto bucato;
  bucato.crea(t.ultimo_punto());
  for (int32_t p = 0; p <= t.ultimo_punto(); ++p) {
    for (int c = 0; c < 2; ++c) {
      if (p >= 1000 && p < 1010) {
        continue;
      }
      if (t.etichetta(p, c) == Etichetta::intero_16) {
        bucato.imposta_intero(p, c, t.intero(p, c));
      } else if (t.etichetta(p, c) == Etichetta::reale_64) {
        bucato.imposta_reale(p, c, t.valore(p, c));
      }
    }
  }
  File f;
  f.tracciato = immagine_tracciato_letto(bucato);
  const Ispezione i = ispeziona_byte(kIncorporato, f.tracciato, f.voci, f.percorso);
  ASSERT_EQ(i.difetti.size(), 1u) << descrivi(i);
  EXPECT_EQ(i.difetti[0].dove, "punto 1010");
  EXPECT_EQ(i.difetti[0].byte, 8 + 10 * 998 + 2 * 10);
}

// A length in entry 84 that disagrees with the track and the plan: both are told how many
// cells and points the length asks for.
TEST(Ispezione, LaLunghezzaDellaVoce84MisuraGliAltriDueFile) {
  File f;
  f.voci[static_cast<size_t>(voce(84) + 5)] = 0;  // low byte of 101000 (0x018A88): 0x018A00
  const Ispezione i = ispeziona_byte(kIncorporato, f.tracciato, f.voci, f.percorso);
  ASSERT_EQ(i.difetti.size(), 2u) << descrivi(i);
  EXPECT_EQ(i.difetti[0].file, kFilePercorso);
  EXPECT_EQ(i.difetti[0].byte, 32415);
  EXPECT_NE(i.difetti[0].descrizione.find("2161 celle"), std::string::npos)
      << i.difetti[0].descrizione;
  EXPECT_EQ(i.difetti[1].file, kFileTracciato);
}

TEST(Ispezione, UnAltraIdentitaNonCorrispondeAiNomiNeAiCodici) {
  const ScenarioCompilato& c = scenario_incorporato();
  const Ispezione i = ispeziona_compilato(c, {"Tavena_Crostia", "4418"});
  std::vector<std::string> dove;
  for (const Difetto& d : i.difetti) {
    dove.push_back(d.dove);
  }
  EXPECT_EQ(dove,
            (std::vector<std::string>{"voce 86, testo", "voce 85, orario", "cella 1, valore_2"}));
}

TEST(Ispezione, ScenariCompletiDaiNomiDeiFile) {
  const std::vector<std::string> nomi = {
      "A_linea.dat",   "A_1.sim",     "A_1.dat",     "A_2.sim",  // train 2 has no track file
      "B_C_linea.dat", "B_C_7_x.sim", "B_C_7_x.dat",             // underscores in both names
      "D_1.sim",       "D_1.dat",                                // no plan file
      "note.txt"};
  EXPECT_EQ(scenari_completi(nomi), (std::vector<Identita>{{"A", "1"}, {"B_C", "7_x"}}));
  EXPECT_EQ(nomi_binari({"A", "1"}),
            (std::array<std::string, 3>{"A_linea.dat", "A_1.sim", "A_1.dat"}));
}

TEST(Ispezione, IDifettiComeLiStampanoGliStrumenti) {
  piattaforma::DiscoInMemoria disco;
  const std::vector<Difetto> difetti = {{kFileVoci, 40, "voce 1, testo", "troppo lungo"},
                                        {kFileTracciato, 0, "", "vuoto"}};
  EXPECT_EQ(testo_difetti(disco, "c", {"A", "1"}, difetti),
            "c/A_1.sim: byte 40: voce 1, testo: troppo lungo\nc/A_linea.dat: byte 0: vuoto\n");
  EXPECT_EQ(testo_difetti(disco, "c", {"A", "1"}, {}), "");
}

TEST(Ispezione, UnFileMancanteEUnErroreDelDisco) {
  piattaforma::DiscoInMemoria disco;
  const auto nomi = nomi_binari(kIncorporato);
  disco.ricrea("/c/" + nomi[kFileVoci], scenario_incorporato().voci);
  disco.ricrea("/c/" + nomi[kFilePercorso], scenario_incorporato().percorso);
  EXPECT_THROW(ispeziona(disco, "/c", kIncorporato), piattaforma::ErroreFile);
  disco.ricrea("/c/" + nomi[kFileTracciato], scenario_incorporato().tracciato);
  EXPECT_TRUE(ispeziona(disco, "/c", kIncorporato).difetti.empty());
}

// Whether two inspections hold the same, the plan's values bit for bit.
void attendi_uguali(const Ispezione& a, const Ispezione& b, const char* caso) {
  EXPECT_EQ(a.identita, b.identita) << caso;
  EXPECT_EQ(a.dimensioni, b.dimensioni) << caso;
  EXPECT_EQ(a.voci, b.voci) << caso;
  EXPECT_EQ(a.inizio_voce, b.inizio_voce) << caso;
  EXPECT_EQ(a.percorso, b.percorso) << caso;
  EXPECT_EQ(a.difetti, b.difetti) << caso << "\n" << descrivi(a) << "--\n" << descrivi(b);
  EXPECT_EQ(a.tracciato.ultimo_punto(), b.tracciato.ultimo_punto()) << caso;
  EXPECT_EQ(a.tracciato.etichette(), b.tracciato.etichette()) << caso;
  const std::vector<double>& va = a.tracciato.valori();
  const std::vector<double>& vb = b.tracciato.valori();
  EXPECT_TRUE(va.size() == vb.size() &&
              std::memcmp(va.data(), vb.data(), va.size() * sizeof(double)) == 0)
      << caso;
}

// One compile after another, as the watch mode inspects them: wherever the plan is taken from
// the inspection before, the result is the one a fresh inspection gives, faults and their
// order included; a plan whose bytes changed is read again, and a length of entry 84 that
// changed has the points checked again against it.
TEST(Ispezione, IlTracciatoRipresoComeUnoLettoDaCapo) {
  const auto lunghezza_84 = [](File& f, char basso) {
    f.voci[static_cast<size_t>(voce(84) + 5)] = basso;  // low byte of 101000 (0x018A88)
  };
  const auto x_intera = [](File& f) {
    f.tracciato = tracciato_cambiato([](TracciatoLetto& t) { t.imposta_intero(5000, 0, 3); });
  };
  struct Passo {
    const char* caso;
    std::function<void(File&)> prepara;
    bool ripreso;
    size_t difetti_del_tracciato;
  };
  const Passo passi[] = {
      {"la prima compilazione", [](File&) {}, false, 0},
      {"una voce cambiata, il tracciato no",
       [](File& f) { scrivi_16(f.voci, voce(85) + 30 + 14, 1); }, true, 0},
      {"la lunghezza della voce 84 cambiata", [&](File& f) { lunghezza_84(f, 0); }, true, 1},
      {"la stessa lunghezza, un'altra voce cambiata",
       [&](File& f) {
         lunghezza_84(f, 0);
         scrivi_16(f.voci, voce(85) + 30 + 14, 1);
       },
       true, 1},
      {"la lunghezza di prima", [](File&) {}, true, 0},
      {"un punto del tracciato cambiato", x_intera, false, 1},
      {"lo stesso tracciato cambiato, la lunghezza no", x_intera, true, 1},
      {"un'etichetta sconosciuta", [](File& f) { f.tracciato[8] = 7; }, false, 3},
      {"la stessa etichetta, la lunghezza cambiata",
       [&](File& f) {
         f.tracciato[8] = 7;
         lunghezza_84(f, 0);
       },
       true, 3},
      {"il tracciato di prima", [](File&) {}, false, 0},
  };
  MemoriaTracciato memoria;
  for (const Passo& p : passi) {
    File f;
    p.prepara(f);
    const Ispezione daccapo = ispeziona_byte(kIncorporato, f.tracciato, f.voci, f.percorso);
    const Ispezione ripresa =
        ispeziona_byte(kIncorporato, f.tracciato, f.voci, f.percorso, memoria);
    EXPECT_EQ(memoria.ripresa, p.ripreso) << p.caso;
    attendi_uguali(ripresa, daccapo, p.caso);
    size_t del_tracciato = 0;
    for (const Difetto& d : daccapo.difetti) {
      del_tracciato += d.file == kFileTracciato ? 1 : 0;
    }
    EXPECT_EQ(del_tracciato, p.difetti_del_tracciato) << p.caso << "\n" << descrivi(daccapo);
  }
}

}  // namespace
