// The warnings of a compile, each found at its place, once, and only where the format takes
// something an author almost never means.
#include "compiler/avvisi.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "compiler/memorizza_percorso.h"
#include "prove/sorgenti_di_prova.h"

namespace {

using Righe = std::vector<std::string_view>;

const Righe kLinea = {"[generale]", "lunghezza percorso, 10000", "[curve]", "[fine]"};
const Righe kTreno = {"[generale]", "[fine]"};

std::string testo(const Righe& righe) {
  std::string t;
  for (std::string_view r : righe) {
    t += r;
    t += "\r\n";
  }
  return t;
}

struct Atteso {
  TipoAvviso tipo;
  Luogo luogo;
  std::optional<Luogo> nota = std::nullopt;
};

Luogo L(int riga, int colonna) {
  return {std::string(kLineaDiProva), riga, colonna};
}
Luogo T(int riga, int colonna) {
  return {std::string(kTrenoDiProva), riga, colonna};
}

TEST(Avvisi, OgniTipoAlSuoPostoUnaVolta) {
  const struct {
    const char* caso;
    Righe linea;
    Righe treno;
    int32_t con_tracciato;
    std::vector<Atteso> attesi;
  } casi[] = {
      {"parola chiave di nessun tipo: i valori dopo non ne danno altri",
       {"[generale]", "lunghezza percorso, 10000", "[curve]", "curvx5, 100, 200", "[fine]"},
       kTreno,
       1,
       {{TipoAvviso::riga_sconosciuta, L(4, 1)}}},
      {"riga principale nella sezione generale",
       {"[generale]", "lunghezza percorso, 10000", "pendenza, 850, 4", "[curve]", "[fine]"},
       kTreno,
       1,
       {{TipoAvviso::riga_sconosciuta, L(3, 1)}}},
      {"righe prima di [generale]: non i commenti, non le righe vuote",
       kLinea,
       {"titolo, sottotitolo", "- commento", "", "[generale]", "[fine]"},
       1,
       {{TipoAvviso::prima_di_generale, T(1, 1)}}},
      {"sorgente del treno senza [generale]",
       kLinea,
       {"numero vetture, 5", "sabbia, 300"},
       1,
       {{TipoAvviso::prima_di_generale, T(0, 0)}}},
      {"un valore in piu'",
       kLinea,
       {"[generale]", "sabbia, 300, 5", "[fine]"},
       1,
       {{TipoAvviso::valori_in_piu, T(2, 14)}}},
      {"una virgola in fondo alla riga",
       kLinea,
       {"[generale]", "sabbia, 300,", "[fine]"},
       1,
       {{TipoAvviso::valori_in_piu, T(2, 13)}}},
      {"il valore sulla riga dopo",
       kLinea,
       {"[generale]", "numero vetture", "5", "[fine]"},
       1,
       {{TipoAvviso::valori_dalla_riga_dopo, T(2, 1), T(3, 1)}}},
      {"curve senza tracciato: un avviso per tutte",
       {"[generale]", "lunghezza percorso, 10000", "[curve]", "curvas5, 100, 200",
        "curvad4, 500, 100", "[fine]"},
       kTreno,
       0,
       {{TipoAvviso::curva_ignorata, L(4, 1)}}},
      {"velocita fuori ordine",
       kLinea,
       {"[generale]", "velocita, 800, 60", "velocita, 500, 80", "velocita, 900, 90", "[fine]"},
       1,
       {{TipoAvviso::fuori_ordine, T(3, 11), T(2, 11)}}},
      {"curva che comincia dentro la precedente",
       {"[generale]", "lunghezza percorso, 10000", "[curve]", "curvas5, 100, 500",
        "curvad4, 500, 100", "curvad4, 600, 100", "[fine]"},
       kTreno,
       1,
       {{TipoAvviso::fuori_ordine, L(5, 10), L(4, 10)}}},
      {"galleria dentro la precedente",
       {"[generale]", "lunghezza percorso, 10000", "[montagne]", "montagna, 1000, 2000, 1",
        "montagna, 1500, 2500, 1", "[fine]"},
       kTreno,
       1,
       {{TipoAvviso::fuori_ordine, L(5, 11), L(4, 11)}}},
      {"sezione ripetuta",
       kLinea,
       {"[generale]", "[segnali]", "[Segnali] ", "[fine]"},
       1,
       {{TipoAvviso::sezione_ripetuta, T(3, 1), T(2, 1)}}},
      {"[generale] ripetuta nella linea",
       {"[generale]", "lunghezza percorso, 10000", "[curve]", "[generale]", "[fine]"},
       kTreno,
       1,
       {{TipoAvviso::sezione_ripetuta, L(4, 1), L(1, 1)}}},
      {"testo di cartello con una virgola",
       {"[generale]", "lunghezza percorso, 10000", "[indicazioni]",
        "cartello_indicatore, 4550, (A), B", "[fine]"},
       kTreno,
       1,
       {{TipoAvviso::testo_tagliato, L(4, 33), L(4, 28)}}},
      {"nome di stazione con una virgola",
       kLinea,
       {"[generale]", "stazione, 1000, 2, 400, 0,0,0, 0,0,0, 0,0,0, 1, 6,0,0, A, B", "[fine]"},
       1,
       {{TipoAvviso::testo_tagliato, T(2, 59), T(2, 56)}}},
      {"righe come le scrive il costruttore: nessun avviso",
       {"[generale]", "lunghezza percorso, 10000", "sfondo uno,    1", "[curve]",
        "curvas5,  700 , 700 ", "curvad5,  1400 , 300 ", "[pendenze]", "- una nota",
        "pendenza,  850 , 4 ", "pendenza,  900 ,-4 ", "[montagne]", "montagna, 1000, 2000, 1",
        "montagna, 2100, 2500, 11", "[cartelli]",
        "indicatori_vmax,  800,  85,  90,  90,  0,  ,  ,  ,  0", "[indicazioni]",
        "cartello_indicatore,  4550,   (A)( 1 m. )", "[fine]"},
       {"[generale]", "orologio,    6               30            0 ", "[vel_limite]",
        "velocita,       0,    30", "velocita,     800,    85", "[fine]"},
       1,
       {}},
  };
  for (const auto& c : casi) {
    SorgentiDiProva p;
    p.cartella.scrivi(kLineaDiProva, testo(c.linea));
    p.cartella.scrivi(kTrenoDiProva, testo(c.treno));
    const EsitoCompilazione e =
        memorizza_percorso(p.s, p.cartella.disco, p.cartella.percorso(), c.con_tracciato);
    std::string trovati;
    for (const Avviso& a : e.avvisi) {
      trovati += " " + std::string(nome_avviso(a.tipo)) + "@" + testo_del_luogo(a.luogo);
    }
    ASSERT_EQ(e.avvisi.size(), c.attesi.size()) << c.caso << ":" << trovati;
    for (size_t i = 0; i < c.attesi.size(); ++i) {
      EXPECT_EQ(nome_avviso(e.avvisi[i].tipo), nome_avviso(c.attesi[i].tipo)) << c.caso;
      EXPECT_EQ(e.avvisi[i].luogo, c.attesi[i].luogo) << c.caso;
      EXPECT_EQ(e.avvisi[i].nota, c.attesi[i].nota) << c.caso;
    }
  }
}

// A warning is an observation: a compile that gives one keeps its error state, and the rows it
// names are read as before.
TEST(Avvisi, NonCambianoLaLettura) {
  SorgentiDiProva p;
  p.linea_semplice(10000);
  p.treno_semplice({"sabbia, 300, 5", "velocita, 800, 60", "velocita, 500, 80"});
  const EsitoCompilazione e = memorizza_percorso(p.s, p.cartella.disco, p.cartella.percorso(), 1);
  EXPECT_EQ(e.avvisi.size(), 2u);
  EXPECT_EQ(e.codice, 0);
  EXPECT_EQ(p.s.voci[86].dato_1, 300);
}

}  // namespace
