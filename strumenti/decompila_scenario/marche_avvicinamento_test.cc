#include "strumenti/decompila_scenario/marche_avvicinamento.h"

#include <gtest/gtest.h>

#include "compiler/celle.h"
#include "compiler/registratori.h"

namespace {

// A signal of class c writes c * 10 + b into its mark b, keeping the low 8 bits; its cell's
// fourth value holds the class as its low digit. Both together give the class back.
struct ClasseInMarca {
  int64_t classe;
  int64_t b;
  int64_t rapporto;  // the fourth value's other digits
};

class ClasseDallaMarca : public testing::TestWithParam<ClasseInMarca> {};

TEST_P(ClasseDallaMarca, ridaLaClasseCheLaScrisse) {
  const auto [classe, b, rapporto] = GetParam();
  const int64_t marca = basso_8(classe * kPesoCoppia + b);
  EXPECT_EQ(classe_dalla_marca(marca, b, classe + kPesoCoppia * rapporto), classe)
      << "marca " << marca;
}

INSTANTIATE_TEST_SUITE_P(Casi, ClasseDallaMarca,
                         testing::Values(ClasseInMarca{0, 1, 0}, ClasseInMarca{4, 2, 3},
                                         ClasseInMarca{8, 4, 1}, ClasseInMarca{5, 3, -2},
                                         // The mark wraps past 255: the fourth value tells
                                         // which of the classes with the same low bits.
                                         ClasseInMarca{26, 1, 0}, ClasseInMarca{154, 3, 2},
                                         ClasseInMarca{410, 4, 0}));

TEST(ClasseDallaMarca, nessunaClasseQuandoLaMarcaNonHaLaParitaDiB) {
  // c * 10 + b has the parity of b.
  EXPECT_FALSE(classe_dalla_marca(42, 1, 4));
}

// Two signals mark cell 10; the cell shows the first one's value, so it was written last.
TEST(OrdinaIlTreno, laRigaCheLaCellaMostraVaDopo) {
  MarcheDelTreno t;
  aggiungi_nodo(t, {GenereRigaDaOrdinare::segnale, 0});
  aggiungi_nodo(t, {GenereRigaDaOrdinare::segnale, 1});
  t.celle_segnali = {12, 14};
  t.classi = {3, 5};
  t.per_cella[10] = {{0, 1, std::nullopt}, {1, 2, std::nullopt}};
  std::vector<Cella> celle(20);
  celle[10].avvicinamento = basso_8(3 * kPesoCoppia + 1);

  EXPECT_EQ(valore_della_marca(t, t.per_cella[10][1]), basso_8(5 * kPesoCoppia + 2));
  EXPECT_TRUE(marca_spiegata(t, celle, 10));
  EXPECT_EQ(ordina_il_treno(t, celle).righe, (std::vector<size_t>{1, 0}));

  celle[10].avvicinamento = basso_8(5 * kPesoCoppia + 2);
  EXPECT_EQ(ordina_il_treno(t, celle).righe, (std::vector<size_t>{0, 1}));
  celle[10].avvicinamento = 7;
  EXPECT_FALSE(marca_spiegata(t, celle, 10));
}

// A row whose item a stop marker covers goes among the stations, before its own.
TEST(OrdinaIlTreno, unaRigaSottoLaFermataPrimaDellaSuaStazione) {
  MarcheDelTreno t;
  aggiungi_nodo(t, {GenereRigaDaOrdinare::stazione, 0});
  aggiungi_nodo(t, {GenereRigaDaOrdinare::stazione, 1});
  aggiungi_nodo(t, {GenereRigaDaOrdinare::rallentamento, 0});
  t.numero_stazioni = 2;
  t.sotto_fermata = {{2, 1}};
  const OrdineRighe o = ordina_il_treno(t, std::vector<Cella>(4));
  EXPECT_EQ(o.righe, (std::vector<size_t>{0, 2, 1}));
  EXPECT_EQ(o.tra_le_stazioni, 3u);
}

}  // namespace
