#include "compiler/leggi_binario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "compiler/memorizza_percorso.h"
#include "compiler/scrivi_binario.h"
#include "model/nomi_file.h"
#include "prove/sorgenti_di_prova.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "prove/tracciato_in_byte.h"

namespace {

// The built-in scenario compiled in memory, and the bytes of its three binary files.
struct Compilato {
  Scenario s;
  std::string tracciato;
  std::string voci;
  std::string percorso;
};

const Compilato& incorporato() {
  static const Compilato c = [] {
    Compilato r;
    CartellaInMemoria cartella;
    r.s.nome_scenario = "Tavena_Crostia";
    r.s.numero_treno = "4417";
    cartella.scrivi(nome_sorgente_linea(r.s), testo_delle_righe(dati_linea()));
    cartella.scrivi(nome_sorgente_treno(r.s), testo_delle_righe(dati_treno()));
    memorizza_percorso(r.s, cartella.disco, cartella.percorso(), 1);
    r.tracciato = cartella.leggi(nome_file_tracciato(r.s));
    r.voci = cartella.leggi(nome_file_voci(r.s));
    r.percorso = cartella.leggi(nome_file_percorso(r.s));
    return r;
  }();
  return c;
}

std::string descrivi(const std::vector<DifettoBinario>& difetti) {
  std::string t;
  for (const auto& d : difetti) {
    t += "byte " + std::to_string(d.byte) + ", elemento " + std::to_string(d.elemento) + " (" +
         d.campo + "): " + d.descrizione + "\n";
  }
  return t;
}

TEST(LeggiBinario, LoScenarioIncorporatoTornaComeFuScrittoByteperByte) {
  const Compilato& c = incorporato();
  ASSERT_EQ(c.s.codice_errore, 0);

  const LetturaVoci voci = leggi_voci(c.voci);
  EXPECT_TRUE(voci.difetti.empty()) << descrivi(voci.difetti);
  EXPECT_EQ(voci.voci, c.s.voci);
  EXPECT_EQ(immagine_voci(voci.voci), c.voci);
  EXPECT_EQ(voci.inizio[0], 0);
  EXPECT_EQ(voci.inizio[1], 34);

  const LetturaPercorso percorso = leggi_percorso(c.percorso);
  EXPECT_TRUE(percorso.difetti.empty()) << descrivi(percorso.difetti);
  EXPECT_EQ(percorso.percorso, c.s.percorso);
  EXPECT_EQ(immagine_percorso(percorso.percorso), c.percorso);

  const LetturaTracciato tracciato = leggi_tracciato(c.tracciato);
  EXPECT_TRUE(tracciato.difetti.empty()) << descrivi(tracciato.difetti);
  EXPECT_EQ(tracciato.tracciato.ultimo_punto(), c.s.lunghezza_estesa);
  for (int32_t punto = 0; punto <= c.s.lunghezza_estesa; ++punto) {
    for (int colonna = 0; colonna < 2; ++colonna) {
      ASSERT_EQ(tracciato.tracciato.etichetta(punto, colonna),
                c.s.tracciato.etichetta(punto, colonna))
          << "punto " << punto << ", colonna " << colonna;
      ASSERT_EQ(std::bit_cast<uint64_t>(tracciato.tracciato.valore(punto, colonna)),
                std::bit_cast<uint64_t>(c.s.tracciato.valore(punto, colonna)))
          << "punto " << punto << ", colonna " << colonna;
    }
  }
  EXPECT_EQ(immagine_tracciato_letto(tracciato.tracciato), c.tracciato);
}

// Values at the edges of their widths, every byte in a text, reals that do not compare equal
// to themselves: reading and writing again must keep every bit.
TEST(LeggiBinario, ValoriAiLimitiTornanoUguali) {
  std::array<Voce, kNumeroVoci> voci{};
  std::string tutti_i_byte;
  for (int b = 0; b < 256; ++b) {
    tutti_i_byte += static_cast<char>(b);
  }
  voci[0] = {255,    std::numeric_limits<int32_t>::min(),
             -1,     std::numeric_limits<int32_t>::max(),
             128,    tutti_i_byte,
             -32768, 32767,
             -1,     0,
             1,      255,
             0,      1,
             254,    std::numeric_limits<int32_t>::min()};
  voci[86].testo = std::string(65535, 'z');
  const std::string bv = immagine_voci(voci);
  const LetturaVoci lv = leggi_voci(bv);
  EXPECT_TRUE(lv.difetti.empty()) << descrivi(lv.difetti);
  EXPECT_EQ(lv.voci, voci);
  EXPECT_EQ(immagine_voci(lv.voci), bv);

  std::vector<Cella> celle = {{}, {255, -32768, 32767, -1, 1, 255, 128, 3, 255, 0, 255}};
  const std::string bp = immagine_percorso(celle);
  EXPECT_EQ(leggi_percorso(bp).percorso, celle);

  TracciatoLetto t;
  t.crea(5);
  t.imposta_intero(0, 0, -32768);
  t.imposta_intero(0, 1, 32767);
  t.imposta_reale(1, 0, -0.0);
  t.imposta_reale(1, 1, std::bit_cast<double>(uint64_t{0x7FF4000000000001}));  // quiet NaN bits
  t.imposta_reale(2, 0, std::numeric_limits<double>::infinity());
  t.imposta_reale(2, 1, std::numeric_limits<double>::denorm_min());
  const std::string bt = immagine_tracciato_letto(t);
  const LetturaTracciato lt = leggi_tracciato(bt);
  EXPECT_TRUE(lt.difetti.empty()) << descrivi(lt.difetti);
  EXPECT_EQ(immagine_tracciato_letto(lt.tracciato), bt);
  EXPECT_TRUE(std::signbit(lt.tracciato.valore(1, 0)));
}

TEST(LeggiBinario, FileVuotiSonoArrayVuoti) {
  EXPECT_FALSE(leggi_tracciato("").tracciato.esiste());
  EXPECT_TRUE(leggi_tracciato("").difetti.empty());
  EXPECT_TRUE(leggi_percorso("").percorso.empty());
  EXPECT_TRUE(leggi_percorso("").difetti.empty());
}

TEST(LeggiBinario, ScostamentiDeiCampiComeNelFile) {
  EXPECT_EQ(scostamento(CampoVoce::categoria, 14), 0);
  EXPECT_EQ(scostamento(CampoVoce::lunghezza_testo, 14), 14);
  EXPECT_EQ(scostamento(CampoVoce::testo, 14), 16);
  EXPECT_EQ(scostamento(CampoVoce::dato_1, 14), 30);
  EXPECT_EQ(scostamento(CampoVoce::orario, 14), 44);
  EXPECT_EQ(scostamento(CampoVoce::orario, 0) + 4, kByteVoceSenzaTesto);
  EXPECT_EQ(scostamento(CampoCella::valore_2), 3);
  EXPECT_EQ(scostamento(CampoCella::aderenza_cella) + 1, kByteCella);
  EXPECT_EQ(nome_campo(CampoVoce::orario), "orario");
  EXPECT_EQ(nome_campo(CampoCella::valore_2), "valore_2");
}

struct Danno {
  const char* caso;
  std::function<std::string(std::string)> danneggia;
  // The fault expected first: where, in which element and field.
  std::function<int64_t(const std::string& intatto)> byte;
  int64_t elemento;
  const char* campo;
};

// Offset of entry k in the built-in entry file.
int64_t inizio_voce(int k) {
  return leggi_voci(incorporato().voci).inizio[static_cast<size_t>(k)];
}

TEST(LeggiBinario, OgniDannoDelFileDelleVociHaIlSuoPosto) {
  const Danno casi[] = {
      {"file vuoto", [](std::string) { return std::string(); }, [](auto&) { return 0; }, 0,
       "categoria"},
      {"tagliato dentro l'orario della voce 5",
       [](std::string b) { return b.substr(0, static_cast<size_t>(inizio_voce(6) - 2)); },
       [](auto&) { return inizio_voce(6) - 4; }, 5, "orario"},
      {"tagliato dopo la lunghezza del testo della voce 85",
       [](std::string b) { return b.substr(0, static_cast<size_t>(inizio_voce(85) + 16)); },
       [](auto&) { return inizio_voce(85) + 14; }, 85, "testo"},
      {"testo della voce 86 piu lungo del file",
       [](std::string b) {
         b[static_cast<size_t>(inizio_voce(86) + 15)] = '\x7F';
         return b;
       },
       [](auto&) { return inizio_voce(86) + 14; }, 86, "testo"},
      {"byte dopo l'ultima voce", [](std::string b) { return b + "xyz"; },
       [](const std::string& b) { return static_cast<int64_t>(b.size()); }, -1, ""},
  };
  const std::string& intatto = incorporato().voci;
  for (const Danno& d : casi) {
    const LetturaVoci l = leggi_voci(d.danneggia(intatto));
    ASSERT_EQ(l.difetti.size(), 1u) << d.caso << "\n" << descrivi(l.difetti);
    EXPECT_EQ(l.difetti[0].byte, d.byte(intatto)) << d.caso;
    EXPECT_EQ(l.difetti[0].elemento, d.elemento) << d.caso;
    EXPECT_EQ(l.difetti[0].campo, d.campo) << d.caso;
    EXPECT_FALSE(l.difetti[0].descrizione.empty()) << d.caso;
  }
  // What came before the cut is kept; the records that the file does not reach are marked.
  const LetturaVoci l = leggi_voci(intatto.substr(0, static_cast<size_t>(inizio_voce(6) - 2)));
  EXPECT_EQ(l.voci[1], incorporato().s.voci[1]);
  EXPECT_EQ(l.inizio[4], inizio_voce(4));
  EXPECT_EQ(l.inizio[5], -1);
}

TEST(LeggiBinario, UnaCellaIncompletaENominataColSuoIndice) {
  const std::string& intatto = incorporato().percorso;
  for (const size_t in_piu : {1u, 7u, 14u}) {
    const LetturaPercorso l = leggi_percorso(intatto + std::string(in_piu, '\0'));
    ASSERT_EQ(l.difetti.size(), 1u);
    EXPECT_EQ(l.difetti[0].byte, 32415);
    EXPECT_EQ(l.difetti[0].elemento, 2161);
    EXPECT_EQ(l.percorso.size(), 2161u);
  }
  const LetturaPercorso l = leggi_percorso(intatto.substr(0, 29));
  ASSERT_EQ(l.difetti.size(), 1u);
  EXPECT_EQ(l.difetti[0].byte, 15);
  EXPECT_EQ(l.difetti[0].elemento, 1);
}

TEST(LeggiBinario, OgniDannoDelPianoHaIlSuoPosto) {
  // Numbers 0 and 1 are integers (4 bytes each), 2 is the first real (10 bytes).
  const Danno casi[] = {
      {"etichetta sconosciuta al terzo numero",
       [](std::string b) {
         b[8] = 3;
         return b;
       },
       [](auto&) { return 8; }, 2, "etichetta"},
      {"etichetta con il byte alto",
       [](std::string b) {
         b[9] = 1;
         return b;
       },
       [](auto&) { return 8; }, 2, "etichetta"},
      {"reale tagliato", [](std::string b) { return b.substr(0, 14); }, [](auto&) { return 10; }, 2,
       "valore"},
      {"etichetta tagliata", [](std::string b) { return b.substr(0, 9); }, [](auto&) { return 8; },
       2, "etichetta"},
      {"un vuoto in meno: numeri dispari", [](std::string b) { return b.substr(0, b.size() - 2); },
       [](const std::string& b) { return static_cast<int64_t>(b.size()) - 2; }, -1, ""},
  };
  const std::string& intatto = incorporato().tracciato;
  for (const Danno& d : casi) {
    const LetturaTracciato l = leggi_tracciato(d.danneggia(intatto));
    ASSERT_FALSE(l.difetti.empty()) << d.caso;
    EXPECT_EQ(l.difetti[0].byte, d.byte(intatto)) << d.caso;
    EXPECT_EQ(l.difetti[0].elemento, d.elemento) << d.caso;
    EXPECT_EQ(l.difetti[0].campo, d.campo) << d.caso;
  }
}

}  // namespace
