#include "model/tracciato.h"

#include <gtest/gtest.h>

#include <bit>
#include <stdexcept>
#include <string>

#include "model/scenario.h"

namespace {

std::string b(std::initializer_list<int> byte) {
  std::string s;
  for (int x : byte) {
    s.push_back(static_cast<char>(x));
  }
  return s;
}

TEST(Tracciato, NasceVuotoEInesistente) {
  Tracciato t;
  EXPECT_FALSE(t.esiste());
  EXPECT_FALSE(t.contiene(0));
  EXPECT_EQ(t.immagine(), "");
}

TEST(Tracciato, CreatoConTuttiIPuntiVuoti) {
  Tracciato t;
  t.crea(3);
  ASSERT_TRUE(t.esiste());
  EXPECT_TRUE(t.contiene(3));
  EXPECT_FALSE(t.contiene(4));
  for (int32_t i = 0; i <= 3; ++i) {
    EXPECT_EQ(t.etichetta(i, 0), Etichetta::vuoto);
    EXPECT_EQ(t.etichetta(i, 1), Etichetta::vuoto);
    EXPECT_EQ(t.valore(i, 1), 0.0);
  }
  EXPECT_EQ(t.immagine(), std::string(16, '\0'));
}

TEST(Tracciato, TieneEtichettaEValoreDiOgniCoordinata) {
  Tracciato t;
  t.crea(3);
  t.aggiungi_intero(0, -7);
  t.aggiungi_reale(0.125, -2.5);
  EXPECT_EQ(t.punti(), 2);
  EXPECT_EQ(t.etichetta(0, 1), Etichetta::intero_16);
  EXPECT_EQ(t.intero(0, 1), -7);
  EXPECT_EQ(t.etichetta(1, 0), Etichetta::reale_64);
  EXPECT_EQ(t.valore(1, 0), 0.125);
  EXPECT_EQ(t.valore(1, 1), -2.5);
  EXPECT_EQ(t.etichetta(2, 1), Etichetta::vuoto);
}

// The usual shape: points 0 and 1 integers, 2 to the last but two reals, the last two empty.
// The image is the plan file: every x, then every y, each a tag and its value.
TEST(Tracciato, LImmagineEIlFileColonnaPerColonna) {
  Tracciato t;
  t.crea(4);
  t.aggiungi_intero(0, 0);
  t.aggiungi_intero(0, 1);
  t.aggiungi_reale(1.0, -2.5);
  const std::string x = b({2, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0});
  const std::string y = b({2, 0, 0, 0, 2, 0, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0x04, 0xC0, 0, 0, 0, 0});
  EXPECT_EQ(t.immagine(), x + y);
}

// Builds in `t` a plan of points 0 to `ultimo`: two integers, then `reali` reals.
std::string costruisci(Tracciato& t, int32_t ultimo, int32_t reali) {
  t.crea(ultimo);
  t.aggiungi_intero(0, 0);
  t.aggiungi_intero(0, 1);
  for (int32_t i = 0; i < reali; ++i) {
    t.aggiungi_reale(-i, 2 + i);
  }
  return std::string(t.immagine());
}

// The plan file of such a plan, byte by byte.
std::string file_atteso(int32_t ultimo, int32_t reali) {
  std::string colonne[2];
  for (int c = 0; c < 2; ++c) {
    colonne[c] = b({2, 0, 0, 0, 2, 0, c, 0});
    for (int32_t i = 0; i < reali; ++i) {
      const double v = c == 0 ? -i : 2 + i;
      colonne[c] += b({5, 0});
      const auto bit = std::bit_cast<uint64_t>(v);
      for (int k = 0; k < 8; ++k) {
        colonne[c] += static_cast<char>(bit >> (8 * k) & 0xFF);
      }
    }
    colonne[c] += std::string(2 * static_cast<size_t>(ultimo - 1 - reali), '\0');
  }
  return colonne[0] + colonne[1];
}

// A plan cut short, and one that goes on to its last point, give the same file as a plan of
// those points would: the y column follows the x column with nothing in between.
TEST(Tracciato, LImmagineSeguiLaFormaDelPianoComunqueFinisca) {
  struct Caso {
    int32_t ultimo, reali;
  };
  for (const Caso c : {Caso{10, 7}, Caso{10, 0}, Caso{10, 3}, Caso{10, 8}, Caso{10, 9}}) {
    Tracciato t;
    EXPECT_EQ(costruisci(t, c.ultimo, c.reali), file_atteso(c.ultimo, c.reali))
        << c.reali << " reali su " << c.ultimo + 1 << " punti";
  }
}

// A plan built in the storage a longer one leaves, emptied or not, is the plan built afresh;
// a copy of it takes only its own points.
TEST(Tracciato, NelloSpazioDiUnPianoPiuLungoDaLoStessoFile) {
  Tracciato t;
  costruisci(t, 40, 38);
  t.svuota();
  EXPECT_FALSE(t.esiste());
  EXPECT_EQ(t.punti(), 0);
  EXPECT_EQ(t.immagine(), "");
  EXPECT_EQ(costruisci(t, 10, 7), file_atteso(10, 7));
  Tracciato copia = t;
  EXPECT_EQ(copia.immagine(), file_atteso(10, 7));
  costruisci(t, 40, 38);
  EXPECT_EQ(costruisci(t, 10, 9), file_atteso(10, 9));
  EXPECT_EQ(costruisci(t, 12, 3), file_atteso(12, 3));
}

TEST(Tracciato, RicreatoTornaVuoto) {
  Tracciato t;
  t.crea(2);
  t.aggiungi_reale(5.0, 5.0);
  t.crea(5);
  EXPECT_EQ(t.punti(), 0);
  EXPECT_EQ(t.etichetta(0, 1), Etichetta::vuoto);
  EXPECT_EQ(t.ultimo_punto(), 5);
  EXPECT_EQ(t.immagine(), std::string(24, '\0'));
}

TEST(Tracciato, UnaCopiaHaGliStessiPuntiEVaPerContoSuo) {
  Tracciato t;
  t.crea(6);
  t.aggiungi_intero(0, 1);
  t.aggiungi_reale(3.5, 4.5);
  Tracciato copia = t;
  t.aggiungi_reale(9.0, 9.0);
  EXPECT_EQ(copia.punti(), 2);
  EXPECT_EQ(copia.valore(1, 1), 4.5);
  EXPECT_EQ(copia.etichetta(2, 0), Etichetta::vuoto);
  copia.aggiungi_reale(7.0, 8.0);
  EXPECT_EQ(copia.valore(2, 1), 8.0);
  EXPECT_EQ(t.valore(2, 1), 9.0);
}

TEST(Tracciato, PuntoFuoriDalPianoEUnErroreDiProgramma) {
  Tracciato t;
  t.crea(1);
  t.aggiungi_intero(0, 0);
  t.aggiungi_reale(1.0, 1.0);
  EXPECT_THROW(t.aggiungi_reale(2.0, 2.0), std::out_of_range);
  EXPECT_THROW(t.valore(-1, 0), std::out_of_range);
  EXPECT_THROW(t.valore(0, 2), std::out_of_range);
  EXPECT_THROW(t.etichetta(2, 0), std::out_of_range);

  Tracciato misto;
  misto.crea(3);
  misto.aggiungi_reale(1.0, 1.0);
  EXPECT_THROW(misto.aggiungi_intero(0, 0), std::logic_error);
}

TEST(Cella, IlRiempitivoDiGalleriaContaComeLibero) {
  Cella c;
  EXPECT_FALSE(occupata(c));
  c.genere = kRiempitivoGalleria;
  EXPECT_FALSE(occupata(c));
  c.genere = kCartello;
  EXPECT_TRUE(occupata(c));
}

}  // namespace
