#include "compiler/abbattimenti.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

struct Posa {
  int32_t cella;
  uint8_t genere;
  int16_t valore_1 = 0;
};

constexpr int32_t kNessunaPosizione = -7;

struct Caso {
  const char* nome;
  std::vector<Posa> prima;  // items on the track before the pass
  std::vector<Posa> punti;  // the cells the pass changes, as they must end up
  int32_t codice = 0;
  int32_t posizione = kNessunaPosizione;
  int32_t ultima = 200;
};

Posa segnale(int32_t c) {
  return {c, kSegnale};
}
Posa avviso(int32_t c) {
  return {c, kAvvisoRallentamento, 60};
}
Posa inizio(int32_t c, int16_t v = 60) {
  return {c, kInizioRallentamento, v};
}
Posa fine(int32_t c, int16_t v = 60) {
  return {c, kFineRallentamento, v};
}
Posa cartello(int32_t c) {
  return {c, kCartello, 3};
}
Posa punto(int32_t c, int16_t v = 180) {
  return {c, kAbbattimentoConVelocita, v};
}

// Layers that every cell carries and that the pass must leave alone.
Cella con_strati() {
  Cella c;
  c.galleria = 2;
  c.velocita_massima = 20;
  c.pendenza_cella = 100;
  c.aderenza_cella = 7;
  return c;
}

void posa(std::vector<Cella>& percorso, const Posa& p) {
  Cella& c = percorso.at(static_cast<size_t>(p.cella));
  c.genere = p.genere;
  c.valore_1 = p.valore_1;
}

void verifica(const Caso& caso) {
  Scenario s;
  s.percorso.assign(static_cast<size_t>(caso.ultima) + 1, con_strati());
  s.ultima_cella = caso.ultima;
  for (const Posa& p : caso.prima) {
    posa(s.percorso, p);
  }
  s.posizione_errore = kNessunaPosizione;
  std::vector<Cella> attesi = s.percorso;
  for (const Posa& p : caso.punti) {
    posa(attesi, p);
  }

  const std::optional<ProblemaDellaPassata> problema = aggiungi_abbattimenti(s);

  for (size_t c = 0; c < attesi.size(); ++c) {
    EXPECT_EQ(s.percorso[c].genere, attesi[c].genere) << caso.nome << ", cella " << c;
    EXPECT_EQ(s.percorso[c].valore_1, attesi[c].valore_1) << caso.nome << ", cella " << c;
    EXPECT_EQ(s.percorso[c], attesi[c]) << caso.nome << ", altri campi della cella " << c;
  }
  EXPECT_EQ(s.codice_errore, caso.codice) << caso.nome;
  EXPECT_EQ(s.posizione_errore, caso.posizione) << caso.nome;

  // The problem is about the signal (error 11) or the start of the slow-down (12, 13) that
  // the track held before the pass.
  if (caso.codice == 0) {
    EXPECT_EQ(problema, std::nullopt) << caso.nome;
    return;
  }
  ASSERT_TRUE(problema.has_value()) << caso.nome;
  EXPECT_EQ(problema->codice, caso.codice) << caso.nome;
  const uint8_t genere_atteso = caso.codice == 11 ? kSegnale : kInizioRallentamento;
  bool trovato = false;
  for (const Posa& p : caso.prima) {
    trovato = trovato || (p.cella == problema->cella_elemento && p.genere == genere_atteso);
  }
  EXPECT_TRUE(trovato) << caso.nome << ": cella " << problema->cella_elemento;
  if (caso.codice == 11) {
    EXPECT_EQ(50 * problema->cella_elemento, caso.posizione) << caso.nome;
  }
}

TEST(AggiungiAbbattimenti, SegnaliPrimaDiUnAvviso) {
  const Caso casi[] = {
      {"39 e 38 libere: punto in 39", {segnale(40), avviso(55)}, {punto(39)}},
      {"il riempitivo di galleria conta libero",
       {segnale(40), avviso(55), {39, kRiempitivoGalleria}},
       {punto(39)}},
      {"39 occupata: punto in 38", {segnale(40), avviso(55), cartello(39)}, {punto(38)}},
      {"39 occupata, 38 punto a 60: resta 60",
       {segnale(40), avviso(55), cartello(39), punto(38, 60)},
       {}},
      {"39 occupata, 38 punto a 250: scende a 180",
       {segnale(40), avviso(55), cartello(39), punto(38, 250)},
       {punto(38)}},
      {"39 punto a 250, 38 libera: nuovo punto in 38, 39 resta",
       {segnale(40), avviso(55), punto(39, 250)},
       {punto(38)}},
      {"39 punto a 250, 38 occupata: 39 scende a 180",
       {segnale(40), avviso(55), punto(39, 250), cartello(38)},
       {punto(39)}},
      {"39 e 38 occupate: errore 11 al segnale",
       {segnale(40), avviso(55), cartello(39), {38, kIndicatoreVelocita, 9}},
       {},
       11,
       2000},
      {"segnali a 10 e 20 celle dall'avviso trattati, a 21 no",
       {segnale(50), segnale(40), segnale(39), avviso(60)},
       {punto(49), punto(38)}},
      {"avviso in cella 3: nessuna cella esaminata",
       {segnale(2), avviso(3)},
       {},
       0,
       kNessunaPosizione,
       10},
      {"avviso in cella 4: il segnale in 3 ha il punto in 2",
       {segnale(3), avviso(4)},
       {punto(2)},
       0,
       kNessunaPosizione,
       10},
  };
  for (const Caso& c : casi) {
    verifica(c);
  }
}

TEST(AggiungiAbbattimenti, FinestreDiAvvicinamento) {
  const Caso casi[] = {
      {"inizio in 100, tutto libero: 95, 89, 82",
       {inizio(100), fine(101)},
       {punto(95), punto(89), punto(82)}},
      {"la cella piu vicina presa: la successiva della finestra",
       {inizio(100), fine(101), cartello(95), cartello(89), cartello(88)},
       {punto(94), punto(87), punto(82)}},
      {"finestra 250-350 m tutta presa: errore 12, le altre piazzate",
       {inizio(100), fine(101), cartello(95), cartello(94), cartello(93)},
       {punto(89), punto(82)},
       12,
       5000},
      {"finestra 900-1000 m tutta presa: errore 12",
       {inizio(100), fine(101), cartello(80), cartello(81), cartello(82)},
       {punto(95), punto(89)},
       12,
       5000},
      {"inizio in 7: nessun punto, nessun errore", {inizio(7), fine(8)}, {}},
      {"inizio in 8: solo cella 3", {inizio(8), fine(9)}, {punto(3)}},
      {"inizio in 13: solo cella 8", {inizio(13), fine(14)}, {punto(8)}},
      {"inizio in 14: celle 9 e 3", {inizio(14), fine(15)}, {punto(9), punto(3)}},
      {"inizio in 20: celle 15 e 9", {inizio(20), fine(21)}, {punto(15), punto(9)}},
      {"inizio in 21: celle 16, 10 e 3", {inizio(21), fine(22)}, {punto(16), punto(10), punto(3)}},
  };
  for (const Caso& c : casi) {
    verifica(c);
  }
}

TEST(AggiungiAbbattimenti, DentroEDopoIlRallentamento) {
  const std::vector<Posa> avvicinamento = {punto(95), punto(89), punto(82)};
  const auto con = [&](std::vector<Posa> altri) {
    std::vector<Posa> tutti = avvicinamento;
    tutti.insert(tutti.end(), altri.begin(), altri.end());
    return tutti;
  };
  const Caso casi[] = {
      {"100-130 a 60: 108, 116, 124",
       {inizio(100), fine(130)},
       con({punto(108), punto(116), punto(124)})},
      {"109 km/h: ancora punti interni",
       {inizio(100, 109), fine(130, 109)},
       con({punto(108), punto(116), punto(124)})},
      {"con un segnale in 135: punto in 134",
       {inizio(100), fine(130), segnale(135)},
       con({punto(108), punto(116), punto(124), punto(134)})},
      {"110 km/h: nessun punto interno, il segnale dopo la fine si",
       {inizio(100, 110), fine(130, 110), segnale(135)},
       con({punto(134)})},
      {"segnale a 12 celle dalla fine",
       {inizio(100), fine(130), segnale(142)},
       con({punto(108), punto(116), punto(124), punto(141)})},
      {"segnale a 13 celle dalla fine: ignorato",
       {inizio(100), fine(130), segnale(143)},
       con({punto(108), punto(116), punto(124)})},
      {"solo il primo segnale dopo la fine",
       {inizio(100), fine(130), segnale(133), segnale(137)},
       con({punto(108), punto(116), punto(124), punto(132)})},
      {"segnale dopo la fine con 134 presa: punto in 133",
       {inizio(100), fine(130), segnale(135), cartello(134)},
       con({punto(108), punto(116), punto(124), punto(133)})},
      {"segnale dopo la fine senza posto: errore 13 alla cella di fine",
       {inizio(100), fine(130), segnale(135), cartello(134), cartello(133)},
       con({punto(108), punto(116), punto(124)}),
       13,
       6500},
      {"108 presa: 107, poi 115 e 123",
       {inizio(100), fine(130), cartello(108)},
       con({punto(107), punto(115), punto(123)})},
      {"108 e 107 prese: 109, poi 117 e 125",
       {inizio(100), fine(130), cartello(108), cartello(107)},
       con({punto(109), punto(117), punto(125)})},
      {"107, 108 e 109 prese: errore 13 e nessun altro punto interno",
       {inizio(100), fine(130), cartello(107), cartello(108), cartello(109)},
       con({}),
       13,
       5400},
  };
  for (const Caso& c : casi) {
    verifica(c);
  }
}

// The pass never leaves the track: a slow-down with no end cell is walked to the last cell,
// a point that would fall past it is not placed, and the signal search stops there.
TEST(AggiungiAbbattimenti, NonEsceDalPercorso) {
  const Caso casi[] = {
      {"senza fine: punto in 18, la camminata si ferma in 20",
       {inizio(10)},
       {punto(5), punto(18)},
       0,
       kNessunaPosizione,
       20},
      {"senza fine a 110 km/h: nessun punto interno",
       {inizio(10, 110)},
       {punto(5)},
       0,
       kNessunaPosizione,
       20},
      {"punto dovuto sull'ultima cella presa con la penultima: errore 13",
       {inizio(10), cartello(18), cartello(17)},
       {punto(5)},
       13,
       900,
       18},
      {"segnale sull'ultima cella dopo la fine",
       {inizio(10), fine(12), segnale(14)},
       {punto(5), punto(13)},
       0,
       kNessunaPosizione,
       14},
      {"percorso di tre celle: nessun lavoro", {avviso(1), inizio(2)}, {}, 0, kNessunaPosizione, 2},
  };
  for (const Caso& c : casi) {
    verifica(c);
  }
  Scenario vuoto;
  aggiungi_abbattimenti(vuoto);
  EXPECT_TRUE(vuoto.percorso.empty());
}

}  // namespace
