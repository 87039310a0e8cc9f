#include "compiler/scrivi_binario.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "prove/sorgenti_di_prova.h"

namespace {

std::string b(std::initializer_list<int> byte) {
  std::string s;
  for (int x : byte) {
    s.push_back(static_cast<char>(x));
  }
  return s;
}

// Writes one binary file as a set of its own.
template <typename Dati>
void scrivi_da_solo(CartellaInMemoria& cartella, std::string_view nome, Dati& dati) {
  piattaforma::Sostituzione insieme(cartella.disco);
  scrivi_binario(insieme, cartella.file(nome), dati);
  insieme.completa();
}

// Plan points 0 to 4: the two integer starting points, one real, two empties; written as the
// plan holds them, column after column.
TEST(ScriviBinario, PianoColonnaPerColonnaConLeEtichette) {
  Tracciato t;
  t.crea(4);
  t.aggiungi_intero(0, 0);
  t.aggiungi_intero(-1, 1);
  t.aggiungi_reale(1.0, -2.5);

  const std::string x =
      b({2, 0, 0, 0, 2, 0, 0xFF, 0xFF, 5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0});
  const std::string y = b({2, 0, 0, 0, 2, 0, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0x04, 0xC0, 0, 0, 0, 0});
  CartellaInMemoria cartella;
  scrivi_da_solo(cartella, "piano.dat", t);
  EXPECT_EQ(cartella.leggi("piano.dat"), x + y);
}

TEST(ScriviBinario, PianoMaiCalcolatoTuttoVuoto) {
  Tracciato t;
  t.crea(2);
  EXPECT_EQ(immagine_tracciato(t), std::string(12, '\0'));
}

TEST(ScriviBinario, VociDa34BytePiuIlTesto) {
  std::array<Voce, kNumeroVoci> voci{};
  Voce& v = voci[1];
  v.categoria = 200;
  v.inizio_area = 0x01020304;
  v.fine_area = -1;
  v.progressiva_voce = 1000;
  v.marca_1 = 1;
  v.testo = "Stazione di Br\xE8";  // 15 Windows-1252 bytes
  v.dato_1 = -2;
  v.dato_2 = 5121;
  v.dato_3 = 3;
  v.dato_4 = 4;
  v.dato_5 = 5;
  v.marca_2 = 6;
  v.marca_3 = 7;
  v.marca_4 = 8;
  v.marca_5 = 255;
  v.orario = 3600 * 7 + 60 * 30;  // 27000
  voci[85].testo = "Tavena_Crostia";
  voci[85].dato_1 = 610;
  voci[86].testo = "4417";

  const std::string vuota(34, '\0');
  const std::string attesa_1 =
      b({200, 4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xE8, 3, 0, 0, 1, 15, 0}) + "Stazione di Br\xE8" +
      b({0xFE, 0xFF, 1, 0x14, 3, 0, 4, 0, 5, 0, 6, 7, 8, 255, 0x78, 0x69, 0, 0});
  const std::string attesa_85 = b({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 14, 0}) +
                                "Tavena_Crostia" + b({0x62, 0x02}) + std::string(16, '\0');
  const std::string attesa_86 =
      b({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0}) + "4417" + std::string(18, '\0');
  std::string attesa = vuota + attesa_1;
  for (int i = 2; i < 85; ++i) {
    attesa += vuota;
  }
  attesa += attesa_85 + attesa_86;
  ASSERT_EQ(attesa_1.size(), 49u);
  ASSERT_EQ(attesa_85.size(), 48u);

  CartellaInMemoria cartella;
  scrivi_da_solo(cartella, "voci.sim", voci);
  const std::string scritto = cartella.leggi("voci.sim");
  EXPECT_EQ(scritto.size(), 87u * 34u + 15u + 14u + 4u);
  EXPECT_EQ(scritto, attesa);
}

TEST(ScriviBinario, UnaVoceConUnTestoTroppoLungoNonSiScrive) {
  std::array<Voce, kNumeroVoci> voci{};
  voci[40].testo.assign(65536, 'x');
  CartellaInMemoria cartella;
  EXPECT_THROW(scrivi_da_solo(cartella, "voci.sim", voci), std::length_error);
  EXPECT_TRUE(cartella.disco.file.empty());
}

TEST(ScriviBinario, CelleDa15ByteInOrdine) {
  std::vector<Cella> percorso(3);
  percorso[1].valore_1 = 5121;
  percorso[1].valore_2 = 2085;
  percorso[2] = Cella{.genere = 1,
                      .valore_1 = -1,
                      .valore_2 = 258,
                      .valore_3 = INT16_MIN,
                      .valore_4 = INT16_MAX,
                      .tempo_segnale = 9,
                      .avvicinamento = 34,
                      .galleria = 3,
                      .velocita_massima = 32,
                      .pendenza_cella = 74,
                      .aderenza_cella = 255};
  const std::string attese = std::string(15, '\0') +
                             b({0, 0x01, 0x14, 0x25, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) +
                             b({1, 0xFF, 0xFF, 2, 1, 0, 0x80, 0xFF, 0x7F, 9, 34, 3, 32, 74, 255});
  CartellaInMemoria cartella;
  cartella.scrivi("percorso.dat", std::string(100, 'z'));  // longer older content goes
  scrivi_da_solo(cartella, "percorso.dat", percorso);
  const std::string scritto = cartella.leggi("percorso.dat");
  EXPECT_EQ(scritto, attese);
  ASSERT_EQ(scritto.size(), 45u);
  EXPECT_EQ(scritto.substr(16, 2), "\x01\x14") << "il timbro 5121 sta ai byte 16 e 17";
}

}  // namespace
