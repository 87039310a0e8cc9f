#include "strumenti/compila_scenario/osservazione.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "platform/disco_in_memoria.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

using nlohmann::json;

const std::string kLinea = "/autore/linea.txt";
const std::string kTreno = "/autore/treno.txt";

// A watched compile over a disk in memory, one compile after another.
struct Osservazione {
  piattaforma::DiscoInMemoria disco;
  RichiestaCompilazione richiesta;
  StatoOsservazione stato;
  int numero = 0;

  Osservazione() {
    disco.file[kLinea] = testo_delle_righe(dati_linea());
    disco.file[kTreno] = testo_delle_righe(dati_treno());
    richiesta.linea = kLinea;
    richiesta.treno = kTreno;
    richiesta.cartella = "/uscita";
    richiesta.identita = {"Valle", "12"};
  }

  EventoCompilazione compila() {
    ++numero;
    return compila_e_descrivi(disco, richiesta, numero, 1000 + numero, stato);
  }

  void sostituisci(const std::string& file, const std::string& da, const std::string& a) {
    std::string& testo = disco.file.at(file);
    const size_t dove = testo.find(da);
    ASSERT_NE(dove, std::string::npos) << da;
    testo.replace(dove, da.size(), a);
  }

  // The page's data made afresh from the files the compile left, with the timetable's check
  // of those files.
  json dati_dai_file() {
    const Ispezione i = ispeziona(disco, richiesta.cartella, richiesta.identita);
    const Marcia m = verifica_marcia(i.voci, i.percorso, ParametriMarcia{});
    return json::parse(
        testo_json(dati_pagina(i, riepiloga(i.tracciato, i.voci, i.percorso), &m)));
  }
};

// The data inside a page's script element.
json dati_della_pagina(const std::string& pagina) {
  const std::string inizio = "<script type=\"application/json\" id=\"dati\">";
  const size_t da = pagina.find(inizio);
  EXPECT_NE(da, std::string::npos);
  const size_t a = pagina.find("</script>", da);
  return json::parse(pagina.substr(da + inizio.size(), a - da - inizio.size()));
}

// Each event carries what the files hold: the same data as a page made from them afresh,
// whether the edit left the plan as it was (its reduction is then kept from the compile
// before) or moved it.
TEST(CompilaEDescrivi, OgniEventoPortaIDatiDeiFileScritti) {
  Osservazione o;
  const json primo = json::parse(testo_evento(o.compila()));
  EXPECT_EQ(primo["numero"], 1);
  EXPECT_EQ(primo["rilevato"], 1001);
  EXPECT_EQ(primo["dati"], o.dati_dai_file());
  EXPECT_TRUE(primo["cambiamenti"].empty());

  struct Modifica {
    const char* cosa;
    std::string file, da, a;
    bool pianta_cambia;
  };
  const Modifica modifiche[] = {
      {"una velocita' del treno", kTreno, "velocita,     800,    85", "velocita,     800,    60",
       false},
      {"una curva della linea", kLinea, "curvad5,  1650 , 300", "curvas5,  1650 , 300", true},
      {"la curva come prima", kLinea, "curvas5,  1650 , 300", "curvad5,  1650 , 300", true},
  };
  json prima = primo;
  for (const Modifica& m : modifiche) {
    SCOPED_TRACE(m.cosa);
    o.sostituisci(m.file, m.da, m.a);
    const json e = json::parse(testo_evento(o.compila()));
    EXPECT_EQ(e["numero"], o.numero);
    EXPECT_FALSE(e["errore"]);
    EXPECT_FALSE(e["cambiamenti"].empty());
    EXPECT_EQ(e["dati"], o.dati_dai_file());
    // The plan is read again only when it changed, and the inspection is a fresh one's.
    EXPECT_EQ(o.stato.tracciato.ripresa, !m.pianta_cambia);
    const Ispezione daccapo = ispeziona(o.disco, o.richiesta.cartella, o.richiesta.identita);
    ASSERT_TRUE(o.stato.ultima_valida.has_value());
    EXPECT_EQ(o.stato.ultima_valida->ispezione.difetti, daccapo.difetti);
    EXPECT_EQ(o.stato.ultima_valida->ispezione.tracciato.valori(), daccapo.tracciato.valori());
    EXPECT_EQ(e["dati"]["pianta_fine"] != prima["dati"]["pianta_fine"], m.pianta_cambia);
    bool pianta_tra_i_cambiamenti = false;
    for (const json& c : e["cambiamenti"]) {
      pianta_tra_i_cambiamenti = pianta_tra_i_cambiamenti || c["cosa"] == "pianta";
    }
    EXPECT_EQ(pianta_tra_i_cambiamenti, m.pianta_cambia);
    prima = e;
  }
}

// The timetable's check runs with each compile: its warnings stand with the problems, its
// figures in the page's data; a bad value in the parameters' file is an error at its place,
// named on the terminal's line, and leaves no check.
TEST(CompilaEDescrivi, LaVerificaDellOrario) {
  Osservazione o;
  const EventoCompilazione e = o.compila();
  const json c = json::parse(e.compilazione);
  bool avviso = false;
  for (const json& p : c["problemi"]) {
    avviso = avviso || (p["code"] == "orario-impossibile-con-ogni-treno" &&
                        p["file"] == kTreno && p["severity"] == "avviso");
  }
  EXPECT_TRUE(avviso) << c["problemi"].dump();
  EXPECT_FALSE(c["errore"]);
  EXPECT_EQ(json::parse(e.dati)["marcia"]["tratte"].back()["esito"],
            "impossibile-con-ogni-treno");

  o.disco.file["/autore/Valle_marcia.txt"] = "potenza_kw = -3\n";
  const EventoCompilazione guasta = o.compila();
  const json g = json::parse(guasta.compilazione);
  ASSERT_FALSE(g["problemi"].empty());
  EXPECT_EQ(g["problemi"].back()["file"], "/autore/Valle_marcia.txt");
  EXPECT_EQ(g["problemi"].back()["line"], 1);
  EXPECT_EQ(g["problemi"].back()["severity"], "errore");
  EXPECT_FALSE(json::parse(guasta.dati).contains("marcia"));
  EXPECT_NE(riga_compilazione(2, guasta).find("/autore/Valle_marcia.txt:1:"), std::string::npos)
      << riga_compilazione(2, guasta);
}

// The page served with an event holds the event's data, with the compile in it; while no
// file could be read, only the compile.
TEST(CompilaEDescrivi, LaPaginaTieneIDatiELaCompilazione) {
  Osservazione o;
  o.disco.file[kLinea] = "[generale]\r\n";  // no track: nothing is written
  const EventoCompilazione senza_file = o.compila();
  const json solo_compilazione = dati_della_pagina(pagina_evento(senza_file));
  EXPECT_EQ(solo_compilazione, json({{"compilazione", json::parse(senza_file.compilazione)}}));
  EXPECT_TRUE(json::parse(testo_evento(senza_file))["dati"].is_null());
  EXPECT_TRUE(solo_compilazione["compilazione"]["errore"]);

  o.disco.file[kLinea] = testo_delle_righe(dati_linea());
  const EventoCompilazione e = o.compila();
  json attesi = json::parse(e.dati);
  attesi["compilazione"] = json::parse(e.compilazione);
  EXPECT_EQ(dati_della_pagina(pagina_evento(e)), attesi);
  EXPECT_EQ(attesi["compilazione"]["numero"], 2);
}

// The files a compile writes are inspected as it holds them, never read back; a compile that
// writes nothing (no track) leaves the files of the one before, and those are read.
TEST(CompilaEDescrivi, LeImmaginiIspezionateInMemoria) {
  Osservazione o;
  o.disco.registra = true;
  const json primo = json::parse(testo_evento(o.compila()));
  std::vector<std::string> letti;
  for (const std::string& r : o.disco.registro) {
    if (r.rfind("aprire ", 0) == 0) {
      letti.push_back(r);
    }
  }
  EXPECT_EQ(letti, (std::vector<std::string>{"aprire " + kLinea, "aprire " + kTreno}));

  o.disco.registro.clear();
  o.disco.file[kLinea] = "[generale]\r\n";
  const json senza_binari = json::parse(testo_evento(o.compila()));
  EXPECT_TRUE(senza_binari["errore"]);
  // The files drawn are those of the first compile; a compile with an error has no check.
  json dati_dei_file = primo["dati"];
  dati_dei_file.erase("marcia");
  EXPECT_EQ(senza_binari["dati"], dati_dei_file);
  size_t letti_dall_uscita = 0;
  for (const std::string& r : o.disco.registro) {
    letti_dall_uscita += r.rfind("aprire " + o.richiesta.cartella + "/", 0) == 0 ? 1 : 0;
  }
  EXPECT_EQ(letti_dall_uscita, 3u);
}

// A station moved off its cell is an error that leaves the rows after it unread, and the
// files written without them. Its fix, with one real change, lists only that change, as if
// the error had never been there, and says that it counts from the last compile without one.
TEST(CompilaEDescrivi, DopoUnErroreICambiamentiDallUltimaValida) {
  const std::string stazione = "stazione,   17800,";
  const std::string spostata = "stazione,   17825,";
  const std::string velocita = "velocita,     800,    85";
  const std::string cambiata = "velocita,     800,    60";

  Osservazione diretta;  // the same real change, with no error in between
  diretta.compila();
  diretta.sostituisci(kTreno, velocita, cambiata);
  const json attesa = json::parse(testo_evento(diretta.compila()));
  ASSERT_FALSE(attesa["errore"]);
  ASSERT_FALSE(attesa["cambiamenti"].empty());
  EXPECT_FALSE(attesa["confronto_con_ultima_valida"]);

  Osservazione o;
  const json primo = json::parse(testo_evento(o.compila()));
  EXPECT_FALSE(primo["confronto_con_ultima_valida"]);
  o.sostituisci(kTreno, stazione, spostata);
  const EventoCompilazione con_errore = o.compila();
  const json errore = json::parse(testo_evento(con_errore));
  ASSERT_TRUE(errore["errore"]);
  ASSERT_FALSE(errore["dati"].is_null()) << "the compile with the error wrote its files";
  // Counted from the compile just before, which had no error.
  EXPECT_FALSE(errore["confronto_con_ultima_valida"]);
  ASSERT_TRUE(con_errore.primo_errore.has_value());
  EXPECT_EQ(con_errore.primo_errore->rfind(kTreno + ":", 0), 0u) << *con_errore.primo_errore;

  o.sostituisci(kTreno, spostata, stazione);
  o.sostituisci(kTreno, velocita, cambiata);
  const json corretto = json::parse(testo_evento(o.compila()));
  EXPECT_FALSE(corretto["errore"]);
  EXPECT_TRUE(corretto["confronto_con_ultima_valida"]);
  EXPECT_EQ(corretto["cambiamenti"], attesa["cambiamenti"]);
  EXPECT_EQ(corretto["dati"], attesa["dati"]);

  // Two errors in a row count both from the same compile, the one before the first error.
  o.sostituisci(kTreno, stazione, spostata);
  EXPECT_FALSE(json::parse(testo_evento(o.compila()))["confronto_con_ultima_valida"]);
  const json ancora = json::parse(testo_evento(o.compila()));
  EXPECT_TRUE(ancora["errore"]);
  EXPECT_TRUE(ancora["confronto_con_ultima_valida"]);
  EXPECT_EQ(ancora["cambiamenti"], errore["cambiamenti"]);
}

// The line printed for each compile: the count alone without an error, the first error's
// place and words with one.
TEST(RigaCompilazione, UnErroreNominaFileERiga) {
  EventoCompilazione pulita;
  pulita.problemi = 0;
  pulita.durata_ms = 27.8;
  EXPECT_EQ(riga_compilazione(3, pulita), "compilazione 3: 0 problemi, 27 ms");

  Osservazione o;
  o.sostituisci(kTreno, "stazione,   17800,", "stazione,   17825,");
  const EventoCompilazione e = o.compila();
  ASSERT_TRUE(e.primo_errore.has_value());
  const std::string riga = riga_compilazione(1, e);
  const json problema = json::parse(e.compilazione)["problemi"][0];
  const std::string posto = kTreno + ":" + std::to_string(problema["line"].get<int>()) + ":" +
                            std::to_string(problema["column"].get<int>()) + ": errore " +
                            std::to_string(problema["code"].get<int>()) + ": ";
  EXPECT_EQ(riga.rfind("compilazione 1: " + posto, 0), 0u) << riga;
  EXPECT_NE(riga.find(problema["message"].get<std::string>()), std::string::npos) << riga;
  EXPECT_NE(riga.find("(" + std::to_string(e.problemi) + " problemi, "), std::string::npos)
      << riga;
}

}  // namespace
