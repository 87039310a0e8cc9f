// compila_scenario run as an author runs it: sources written into a folder, the program started
// with arguments, its messages, exit status and files looked at.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "generati/versione.h"
#include "model/codici_errore.h"
#include "prove/cartella_temporanea.h"
#include "prove/processo_di_prova.h"
#include "prove/scenario_compilato.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

using piattaforma::CartellaTemporanea;

constexpr std::string_view kLinea = "Tavena_Crostia_linea.txt";
constexpr std::string_view kTreno = "Tavena_Crostia_4417-.txt";
constexpr std::string_view kTracciato = "Tavena_Crostia_linea.dat";
constexpr std::string_view kVoci = "Tavena_Crostia_4417.sim";
constexpr std::string_view kPercorso = "Tavena_Crostia_4417.dat";

const std::string& linea_incorporata() {
  static const std::string testo = testo_delle_righe(dati_linea());
  return testo;
}
const std::string& treno_incorporato() {
  static const std::string testo = testo_delle_righe(dati_treno());
  return testo;
}

// `testo` with its one occurrence of `da` replaced by `a`.
std::string con(std::string testo, std::string_view da, std::string_view a) {
  const size_t i = testo.find(da);
  EXPECT_NE(i, std::string::npos) << "non trovato: " << da;
  if (i != std::string::npos) {
    EXPECT_EQ(testo.find(da, i + 1), std::string::npos) << "trovato due volte: " << da;
    testo.replace(i, da.size(), a);
  }
  return testo;
}

// Line (from 1) and column (from 1) of the first occurrence of `campo` in the first line that
// holds `riga`.
struct Punto {
  int riga = 0;
  int colonna = 0;
  std::string testo;  // the whole line
};
Punto punto_di(const std::string& sorgente, std::string_view riga, std::string_view campo) {
  std::istringstream in(sorgente);
  std::string l;
  for (int n = 1; std::getline(in, l); ++n) {
    if (!l.empty() && l.back() == '\r') {
      l.pop_back();
    }
    if (l.find(riga) != std::string::npos) {
      const size_t c = l.find(campo);
      EXPECT_NE(c, std::string::npos) << campo << " non e' in " << l;
      return {n, static_cast<int>(c) + 1, l};
    }
  }
  ADD_FAILURE() << "nessuna riga con " << riga;
  return {};
}

// What a message at `p` of file `percorso` looks like: the header, the line, the caret.
std::string messaggio(const std::string& percorso, const Punto& p, std::string_view resto) {
  return percorso + ":" + std::to_string(p.riga) + ":" + std::to_string(p.colonna) + ": " +
         std::string(resto) + "\n" + p.testo + "\n" + std::string(p.colonna - 1, ' ') + "^\n";
}

// A folder with the two sources and an output folder beside them.
class Autore {
 public:
  explicit Autore(std::string linea = linea_incorporata(), std::string treno = treno_incorporato())
      : linea_(std::move(linea)), treno_(std::move(treno)) {
    sorgenti_.scrivi(kLinea, linea_);
    sorgenti_.scrivi(kTreno, treno_);
  }
  // Checks, whatever happened, that the program left both sources as they were.
  ~Autore() {
    EXPECT_EQ(sorgenti_.leggi(kLinea), linea_) << "sorgente della linea cambiata";
    EXPECT_EQ(sorgenti_.leggi(kTreno), treno_) << "sorgente del treno cambiata";
  }

  std::string linea() const { return sorgenti_.file(kLinea); }
  std::string treno() const { return sorgenti_.file(kTreno); }
  const CartellaTemporanea& uscita() const { return uscita_; }
  // Another file in the sources' folder.
  std::string accanto(std::string_view nome, const std::string& testo) const {
    sorgenti_.scrivi(nome, testo);
    return sorgenti_.file(nome);
  }
  const std::string& testo_linea() const { return linea_; }
  const std::string& testo_treno() const { return treno_; }

  EsitoProcesso compila(std::vector<std::string> altri = {}) const {
    std::vector<std::string> argomenti = {linea(), treno(), "--cartella", uscita_.percorso()};
    argomenti.insert(argomenti.end(), altri.begin(), altri.end());
    return esegui_con_argomenti(COMPILA_SCENARIO_ESEGUIBILE, argomenti);
  }

 private:
  std::string linea_;
  std::string treno_;
  CartellaTemporanea sorgenti_;
  CartellaTemporanea uscita_;
};

EsitoProcesso esegui(const std::vector<std::string>& argomenti) {
  return esegui_con_argomenti(COMPILA_SCENARIO_ESEGUIBILE, argomenti);
}

std::vector<nlohmann::json> righe_json(const std::string& uscita) {
  std::vector<nlohmann::json> oggetti;
  std::istringstream in(uscita);
  for (std::string riga; std::getline(in, riga);) {
    oggetti.push_back(nlohmann::json::parse(riga));
  }
  return oggetti;
}

// --- The example ---------------------------------------------------------------------------------

TEST(Esempio, SiCompilaNegliStessiByteDelCostruttore) {
  CartellaTemporanea cartella;
  const EsitoProcesso scritto = esegui({"--esempio", cartella.percorso()});
  ASSERT_EQ(scritto.stato, 0) << scritto.errori;
  EXPECT_EQ(cartella.leggi(kLinea), linea_incorporata());
  EXPECT_EQ(cartella.leggi(kTreno), treno_incorporato());

  const EsitoProcesso compilato =
      esegui({cartella.file(kLinea), cartella.file(kTreno), "--cartella", cartella.percorso()});
  EXPECT_EQ(compilato.stato, 0);
  // Its one warning is the timetable's last stretch, which no train can keep.
  EXPECT_EQ(compilato.errori.find("avviso: "), compilato.errori.rfind("avviso: "))
      << compilato.errori;
  EXPECT_NE(compilato.errori.find(": avviso: da CROSTIA a CROSTIA C.L.V.: 3 min in orario, "
                                  "almeno 4 min 3 s ai soli limiti "
                                  "[orario-impossibile-con-ogni-treno]\n"),
            std::string::npos)
      << compilato.errori;
  const ScenarioCompilato& costruttore = scenario_incorporato();
  EXPECT_TRUE(cartella.leggi(kTracciato) == costruttore.tracciato);
  EXPECT_TRUE(cartella.leggi(kVoci) == costruttore.voci);
  EXPECT_TRUE(cartella.leggi(kPercorso) == costruttore.percorso);
  EXPECT_EQ(cartella.leggi(kLinea), linea_incorporata()) << "la sorgente e' cambiata";
  EXPECT_EQ(cartella.leggi(kTreno), treno_incorporato()) << "la sorgente e' cambiata";
}

// An author's edited example is never overwritten.
TEST(Esempio, NonSovrascriveSorgentiGiaPresenti) {
  CartellaTemporanea cartella;
  cartella.scrivi(kTreno, "mio");
  const EsitoProcesso e = esegui({"--esempio", cartella.percorso()});
  EXPECT_EQ(e.stato, 2);
  EXPECT_NE(e.errori.find(std::string(kTreno)), std::string::npos) << e.errori;
  EXPECT_EQ(cartella.leggi(kTreno), "mio");
  EXPECT_FALSE(cartella.esiste(kLinea));
}

// --- Errors: the place, the source line, the caret --------------------------------------------

struct CasoErrore {
  const char* caso;
  bool nella_linea;  // which source is changed, and where the error lies
  const char* da;    // the changed text
  const char* a;
  const char* campo;  // the field the caret must stand under, in the changed line
  int32_t codice;
  const char* motivo;  // for a run-time failure
};

// One data error in each phase and in the pass, and a run-time failure with its reason: each
// printed at its field, with the source line and the caret; the files are still written.
TEST(Errori, AlCampoConLaRigaELAccento) {
  const CasoErrore casi[] = {
      {"sezione generale", true, "ripetizione segnali 4 codici,    0    ,0",
       "ripetizione segnali 4 codici,    10    ,0", "10", 3, ""},
      {"sezione principale della linea", true, "curvas5,  700 , 700 ", "curvax,  700 , 700 ",
       "curvax", 103, ""},
      {"fase del treno", false, "stazione,   10900,", "stazione,   10910,", "10910", 8, ""},
      {"passata dopo la lettura", false, "[segnali]",
       "abbattimento, 8900, 0\r\nabbattimento, 8950, 0\r\nabbattimento, 9000, 0\r\n[segnali]",
       "rallentamento", 12, ""},
      {"valore che non e' un numero", false, "sabbia,    300", "sabbia,    3x0", "3x0", 25,
       ": numero atteso"},
      {"valore che non sta nel campo", false, "sabbia,    300", "sabbia,    99999", "99999", 25,
       ": valore fuori intervallo"},
  };
  for (const CasoErrore& c : casi) {
    SCOPED_TRACE(c.caso);
    const std::string da = c.da, a = c.a;
    const Autore autore(c.nella_linea ? con(linea_incorporata(), da, a) : linea_incorporata(),
                        c.nella_linea ? treno_incorporato() : con(treno_incorporato(), da, a));
    const EsitoProcesso e = autore.compila();
    EXPECT_EQ(e.stato, 1);
    const std::string& sorgente = c.nella_linea ? autore.testo_linea() : autore.testo_treno();
    const std::string percorso = c.nella_linea ? autore.linea() : autore.treno();
    // The caret of a pass problem stands at the row it names: its keyword.
    const std::string riga_cambiata =
        c.codice == 12 ? "rallentamento,    9200"
                       : a.substr(a.rfind('\n') == std::string::npos ? 0 : a.rfind('\n') + 1);
    const Punto p = punto_di(sorgente, riga_cambiata, c.campo);
    EXPECT_EQ(e.errori, messaggio(percorso, p,
                                  "errore " + std::to_string(c.codice) + ": " +
                                      std::string(significato(c.codice)) + c.motivo));
    EXPECT_TRUE(autore.uscita().esiste(kVoci))
        << "i file si scrivono come li scrive il costruttore";
  }
}

// A problem that involves an earlier row points at it with a note, in the same form; one the
// train source meets because the line source left it comes after that one and says where it
// was left.
TEST(Errori, UnaNotaPerLaRigaPrecedente) {
  {
    const Autore autore(
        con(linea_incorporata(), "cartello_indicatore,  6000,", "cartello_indicatore,  4560,"));
    const EsitoProcesso e = autore.compila();
    EXPECT_EQ(e.stato, 1);
    const Punto errore = punto_di(autore.testo_linea(), "cartello_indicatore,  4560,", "4560");
    const Punto prima = punto_di(autore.testo_linea(), "cartello_indicatore,  4550,", "cartello");
    EXPECT_EQ(e.errori,
              messaggio(autore.linea(), errore, "errore 6: " + std::string(significato(6))) +
                  messaggio(autore.linea(), prima,
                            "nota: la cella e' gia' occupata dall'elemento di questa riga"));
  }
  {
    const Autore autore(linea_incorporata(), con(treno_incorporato(), "stazione,   14350, 28,",
                                                 "stazione,   11000, 28,"));
    const EsitoProcesso e = autore.compila();
    const Punto errore = punto_di(autore.testo_treno(), "stazione,   11000", "11000");
    const Punto prima = punto_di(autore.testo_treno(), "stazione,   10900", "stazione");
    EXPECT_EQ(e.errori,
              messaggio(autore.treno(), errore, "errore 22: " + std::string(significato(22))) +
                  messaggio(autore.treno(), prima, "nota: la stazione precedente"));
  }
  {
    const Autore autore(
        con(linea_incorporata(), "pendenza,  100200 , 0 ", "pendenza,  200200 , 0 "));
    const EsitoProcesso e = autore.compila();
    EXPECT_EQ(e.stato, 1);
    const Punto fermata = punto_di(autore.testo_treno(), "rallentamento,    9200", "9200");
    const Punto lasciato = punto_di(autore.testo_linea(), "pendenza,  200200", "200200");
    // Both problems, in the order found: the row beyond the end, then the row it stops.
    EXPECT_EQ(e.errori, messaggio(autore.linea(), lasciato,
                                  "errore 15: " + std::string(significato(15))) +
                            messaggio(autore.treno(), fermata,
                                  "errore 15: " + std::string(significato(15)) +
                                      " (trovato a questa riga, che ferma la lettura)") +
                            messaggio(autore.linea(), lasciato,
                                      "nota: l'elemento oltre la fine del percorso e' qui"));
  }
}

// --- Warnings ----------------------------------------------------------------------------------

struct CasoAvviso {
  const char* tipo;
  bool nella_linea;
  const char* da;
  const char* a;
  const char* riga;   // a text of the line the warning stands on
  const char* campo;  // where in it
  std::vector<std::string> altri = {};
};

// Each kind of warning, printed at its place with its kind; the compile still succeeds, unless
// warnings are to count as errors.
TEST(Avvisi, OgniTipoAlSuoPosto) {
  const CasoAvviso casi[] = {
      {"riga-sconosciuta", false, "sabbia,    300", "sabbie,    300", "sabbie", "sabbie"},
      {"prima-di-generale", false, "[generale]\r\nnumero", "Treno 4417\r\n[generale]\r\nnumero",
       "Treno 4417", "Treno"},
      {"valori-in-piu", false, "sabbia,    300", "sabbia,    300, 5", "sabbia,    300, 5", "5"},
      {"valori-dalla-riga-dopo", false, "numero vetture,    5", "numero vetture\r\n    5",
       "numero vetture", "numero"},
      {"curva-ignorata",
       true,
       "curvas5,  700 , 700 ",
       "curvas5,  700 , 700 ",
       "curvas5,  700",
       "curvas5",
       {"--senza-tracciato"}},
      {"fuori-ordine", false, "velocita,    2050,   105", "velocita,     500,   105",
       "velocita,     500", "500"},
      {"sezione-ripetuta", false, "[codici]", "[Segnali] ", "[Segnali]", "["},
      {"testo-tagliato", false, "0, TAVENA", "0, TAVENA, CENTRALE", "TAVENA, CENTRALE", "CENTRALE"},
  };
  for (const CasoAvviso& c : casi) {
    SCOPED_TRACE(c.tipo);
    const std::string da = c.da, a = c.a;
    const Autore autore(c.nella_linea ? con(linea_incorporata(), da, a) : linea_incorporata(),
                        c.nella_linea ? treno_incorporato() : con(treno_incorporato(), da, a));
    const EsitoProcesso e = autore.compila(c.altri);
    EXPECT_EQ(e.stato, 0) << e.errori;
    const std::string percorso = c.nella_linea ? autore.linea() : autore.treno();
    const Punto p =
        punto_di(c.nella_linea ? autore.testo_linea() : autore.testo_treno(), c.riga, c.campo);
    const std::string testa =
        percorso + ":" + std::to_string(p.riga) + ":" + std::to_string(p.colonna) + ": avviso: ";
    EXPECT_EQ(e.errori.rfind(testa, 0), 0u) << e.errori;
    EXPECT_NE(e.errori.find(std::string("[") + c.tipo + "]\n" + p.testo + "\n" +
                            std::string(p.colonna - 1, ' ') + "^\n"),
              std::string::npos)
        << e.errori;

    std::vector<std::string> come_errori = c.altri;
    come_errori.push_back("--avvisi-come-errori");
    const EsitoProcesso severo = autore.compila(come_errori);
    EXPECT_EQ(severo.stato, 1);
    EXPECT_EQ(severo.errori.rfind(percorso + ":" + std::to_string(p.riga) + ":" +
                                      std::to_string(p.colonna) + ": errore: ",
                                  0),
              0u)
        << severo.errori;
  }
}

// --- JSON ----------------------------------------------------------------------------------------

// One object a line on standard output, warnings first and then the error, each read back
// with its place, severity, code and words; nothing else on standard output.
TEST(Json, UnOggettoPerProblemaCheSiRilegge) {
  const Autore autore(linea_incorporata(),
                      con(con(treno_incorporato(), "sabbia,    300", "sabbia,    300, 5"),
                          "stazione,   14350, 28,", "stazione,   11000, 28,"));
  const EsitoProcesso e = autore.compila({"--json"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_EQ(e.errori, "");
  const std::vector<nlohmann::json> oggetti = righe_json(e.uscita);
  ASSERT_EQ(oggetti.size(), 2u) << e.uscita;
  const Punto valore = punto_di(autore.testo_treno(), "sabbia,    300, 5", "5");
  EXPECT_EQ(oggetti[0], nlohmann::json::parse(R"({"file": ")" + autore.treno() + R"(", "line": )" +
                                              std::to_string(valore.riga) +
                                              R"(, "column": 17, "severity": "avviso",
      "code": "valori-in-piu",
      "message": "valore in piu' dopo quelli della riga: viene letto come parola chiave"})"));
  const Punto stazione = punto_di(autore.testo_treno(), "stazione,   11000", "11000");
  const nlohmann::json& errore = oggetti[1];
  EXPECT_EQ(errore.at("file"), autore.treno());
  EXPECT_EQ(errore.at("line"), stazione.riga);
  EXPECT_EQ(errore.at("column"), stazione.colonna);
  EXPECT_EQ(errore.at("severity"), "errore");
  EXPECT_EQ(errore.at("code"), 22);
  EXPECT_EQ(errore.at("message"), significato(22));
  ASSERT_EQ(errore.at("notes").size(), 1u);
  EXPECT_EQ(errore.at("notes")[0].at("line"), stazione.riga - 1);
  EXPECT_EQ(errore.at("notes")[0].at("column"), 1);
}

// --- Exit statuses, identity, arguments
// -----------------------------------------------------------

// --- The timetable's check ------------------------------------------------------------------

// The table of the stretches after the files written, one line each, the last one that no
// train can keep; with --json one object a stretch on standard output and the problems, as
// JSON, on standard error. The files are written as ever.
TEST(Marcia, LaTabellaOUnOggettoPerTratta) {
  const Autore autore;
  const EsitoProcesso tabella = autore.compila({"--marcia"});
  EXPECT_EQ(tabella.stato, 0) << tabella.errori;
  EXPECT_NE(tabella.uscita.find("scritto " + autore.uscita().file(kPercorso)), std::string::npos);
  EXPECT_NE(tabella.uscita.find("CROSTIA -> CROSTIA C.L.V.  3050  180 s"), std::string::npos)
      << tabella.uscita;
  EXPECT_EQ(tabella.uscita.substr(tabella.uscita.size() - 27), "impossibile-con-ogni-treno\n");

  const EsitoProcesso json = autore.compila({"--marcia", "--json"});
  EXPECT_EQ(json.stato, 0) << json.errori;
  const std::vector<nlohmann::json> tratte = righe_json(json.uscita);
  ASSERT_EQ(tratte.size(), 17u) << json.uscita;
  std::istringstream righe(json.uscita);
  for (std::string riga; std::getline(righe, riga);) {
    std::vector<std::string> chiavi;
    const nlohmann::ordered_json tratta = nlohmann::ordered_json::parse(riga);
    for (const auto& [chiave, valore] : tratta.items()) {
      chiavi.push_back(chiave);
    }
    EXPECT_EQ(chiavi, (std::vector<std::string>{"da", "a", "riga", "metri", "programmato_s",
                                                 "piu_veloce_s", "limite_s", "margine_s",
                                                 "esito"}));
  }
  EXPECT_EQ(tratte.front()["da"], "TAVENA");
  EXPECT_EQ(tratte.back()["da"], "CROSTIA");
  EXPECT_EQ(tratte.back()["a"], "CROSTIA C.L.V.");
  EXPECT_EQ(tratte.back()["metri"], 3050);
  EXPECT_EQ(tratte.back()["programmato_s"], 180);
  EXPECT_EQ(tratte.back()["esito"], "impossibile-con-ogni-treno");
  EXPECT_EQ(tratte.back()["riga"],
            punto_di(autore.testo_treno(), "CROSTIA C.L.V.", "CROSTIA C.L.V.").riga);
  const std::vector<nlohmann::json> problemi = righe_json(json.errori);
  ASSERT_EQ(problemi.size(), 1u) << json.errori;
  EXPECT_EQ(problemi[0]["code"], "orario-impossibile-con-ogni-treno");
  EXPECT_EQ(autore.uscita().nomi().size(), 3u);
}

// The timetable's warnings are warnings like the others; a bad parameter, in the file beside
// the sources or in an option, is an error at its place, and no check is made.
TEST(Marcia, AvvisiEParametri) {
  {
    const Autore autore;
    EXPECT_EQ(autore.compila({"--avvisi-come-errori"}).stato, 1);
  }
  {
    const Autore autore;
    const std::string file = autore.accanto("Tavena_Crostia_marcia.txt", "potenza_kw = 4200\n"
                                                                         "massa_carro_t = -3\n");
    const EsitoProcesso e = autore.compila({"--marcia"});
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.errori.rfind(file + ":2:", 0), 0u) << e.errori;
    EXPECT_NE(e.errori.find("nessuna verifica dell'orario"), std::string::npos) << e.errori;
    EXPECT_EQ(autore.uscita().nomi().size(), 3u) << "i file si scrivono lo stesso";
  }
  {
    const Autore autore;
    const EsitoProcesso e = autore.compila({"--marcia-parametro", "potenza=1"});
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.errori.find("compila_scenario: errore: --marcia-parametro potenza=1: "),
              std::string::npos)
        << e.errori;
  }
  {
    // A stronger train and a looser margin still cannot keep the last stretch.
    const Autore autore;
    autore.accanto("Tavena_Crostia_marcia.txt", "# piu' forte\npotenza_kw = 6000\n");
    const EsitoProcesso e = autore.compila({"--marcia", "--json", "--marcia-parametro",
                                            "soglia_stretto_percento=0"});
    EXPECT_EQ(e.stato, 0) << e.errori;
    EXPECT_EQ(righe_json(e.uscita).back()["esito"], "impossibile-con-ogni-treno");
  }
  const Autore autore;
  EXPECT_EQ(autore.compila({"--marcia", "--osserva"}).stato, 2);
}

TEST(Uscita, NessunPercorsoNessunFile) {
  const Autore autore(con(linea_incorporata(), "[generale]", "[generali]"));
  const EsitoProcesso e = autore.compila();
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find("errore 102: " + std::string(significato(102))), std::string::npos)
      << e.errori;
  EXPECT_FALSE(autore.uscita().esiste(kTracciato));
  EXPECT_FALSE(autore.uscita().esiste(kVoci));
  EXPECT_FALSE(autore.uscita().esiste(kPercorso));
}

// A model that the files cannot carry: a track whose length leaves no cell 1 for the stamps, a
// sign text longer than its 16-bit length tells. An error at its field, status 1, no binary
// file, not even the ones of an earlier compile touched.
TEST(Uscita, UnModelloCheIFileNonPortanoEUnErroreAlSuoCampo) {
  const struct {
    const char* caso;
    std::string linea;
    const char* riga;
    const char* campo;
  } casi[] = {
      {"nessuna cella 1",
       con(linea_incorporata(), "lunghezza percorso,    101000", "lunghezza percorso, -6976"),
       "lunghezza percorso, -6976", "lunghezza"},
      {"testo di 70000 byte",
       con(linea_incorporata(), "(SAN ROCCO)( 170 m.  )", std::string(70000, 'x')),
       "cartello_indicatore,  4550,", "xxx"},
  };
  for (const auto& c : casi) {
    const Autore autore(c.linea);
    for (std::string_view nome : {kTracciato, kVoci, kPercorso}) {
      autore.uscita().scrivi(nome, "di prima");
    }
    const EsitoProcesso e = autore.compila();
    EXPECT_EQ(e.stato, 1) << c.caso;
    const Punto p = punto_di(c.linea, c.riga, c.campo);
    const std::string intestazione =
        autore.linea() + ":" + std::to_string(p.riga) + ":" + std::to_string(p.colonna) + ": ";
    EXPECT_NE(e.errori.find(intestazione + "errore: i file binari non si possono scrivere: "),
              std::string::npos)
        << c.caso << ": " << e.errori;
    for (std::string_view nome : {kTracciato, kVoci, kPercorso}) {
      EXPECT_EQ(autore.uscita().leggi(nome), "di prima") << c.caso << ": " << nome;
    }
    EXPECT_EQ(autore.uscita().nomi().size(), 3u) << c.caso;
  }
}

// A file that cannot be read or written, or wrong arguments: status 2, one line that says why,
// and for the arguments the usage.
TEST(Uscita, FileEArgomentiSbagliati) {
  const Autore autore;
  const struct {
    const char* caso;
    std::vector<std::string> argomenti;
    std::string parte_del_messaggio;
    bool con_uso;
  } casi[] = {
      {"una sola sorgente", {autore.linea()}, "TRENO", true},
      {"tre sorgenti", {autore.linea(), autore.treno(), "x"}, "x", true},
      {"opzione sconosciuta", {autore.linea(), autore.treno(), "--veloce"}, "--veloce", true},
      {"opzione senza valore", {autore.linea(), autore.treno(), "--cartella"}, "--cartella", true},
      {"esempio con altro", {"--esempio", autore.uscita().percorso(), "--json"}, "--esempio", true},
  };
  for (const auto& c : casi) {
    const EsitoProcesso e = esegui(c.argomenti);
    EXPECT_EQ(e.stato, 2) << c.caso;
    EXPECT_EQ(e.errori.rfind("compila_scenario: ", 0), 0u) << c.caso << ": " << e.errori;
    EXPECT_NE(e.errori.find(c.parte_del_messaggio), std::string::npos)
        << c.caso << ": " << e.errori;
    EXPECT_EQ(e.errori.find("uso: compila_scenario") != std::string::npos, c.con_uso)
        << c.caso << ": " << e.errori;
  }
}

// A file that cannot be read or written is a problem of that file: its path heads the line,
// with what could not be done and why, and --json gives it as one more line of JSON.
TEST(Uscita, FileCheNonSiLeggonoONonSiScrivono) {
  const Autore autore;
  const struct {
    const char* caso;
    std::vector<std::string> argomenti;
    std::string percorso;
    const char* operazione;
  } casi[] = {
      {"sorgente mancante",
       {autore.linea(), autore.uscita().file(kTreno)},
       autore.uscita().file(kTreno),
       "aprire"},
      {"cartella d'uscita mancante",
       {autore.linea(), autore.treno(), "--cartella", autore.uscita().file("no")},
       autore.uscita().file("no"),
       ""},
  };
  for (const auto& c : casi) {
    const EsitoProcesso e = esegui(c.argomenti);
    EXPECT_EQ(e.stato, 2) << c.caso;
    EXPECT_EQ(e.errori.rfind(c.percorso, 0), 0u) << c.caso << ": " << e.errori;
    EXPECT_NE(e.errori.find(": errore: impossibile " + std::string(c.operazione)),
              std::string::npos)
        << c.caso << ": " << e.errori;
    std::vector<std::string> con_json = c.argomenti;
    con_json.push_back("--json");
    const EsitoProcesso j = esegui(con_json);
    EXPECT_EQ(j.stato, 2) << c.caso;
    EXPECT_EQ(j.uscita.rfind("{\"file\":\"" + c.percorso, 0), 0u) << c.caso << ": " << j.uscita;
  }
}

TEST(Uscita, AiutoConLUso) {
  const EsitoProcesso e = esegui({"--help"});
  EXPECT_EQ(e.stato, 0);
  EXPECT_EQ(e.uscita.rfind("uso: compila_scenario LINEA TRENO", 0), 0u) << e.uscita;
  EXPECT_NE(e.uscita.find("--avvisi-come-errori"), std::string::npos);
}

// --version prints the name and the project's version, whatever else the line holds, and
// writes nothing.
TEST(Uscita, LaVersioneDelProgetto) {
  const Autore autore;
  for (const std::vector<std::string>& argomenti :
       {std::vector<std::string>{"--version"},
        {"--esempio", autore.uscita().percorso(), "--veloce", "--version"}}) {
    const EsitoProcesso e = esegui(argomenti);
    EXPECT_EQ(e.stato, 0) << e.errori;
    EXPECT_EQ(e.uscita, riga_della_versione("compila_scenario") + "\n");
    EXPECT_EQ(e.errori, "");
  }
  EXPECT_FALSE(autore.uscita().esiste(kLinea));
}

// Sources that do not follow the builder's names need the identity, and say which part is
// missing; given, it names the files.
TEST(Identita, DaiNomiODagliArgomenti) {
  CartellaTemporanea cartella;
  cartella.scrivi("linea.txt", linea_incorporata());
  cartella.scrivi("treno.txt", treno_incorporato());
  const std::string linea = cartella.file("linea.txt");
  const std::string treno = cartella.file("treno.txt");

  const EsitoProcesso senza = esegui({linea, treno, "--cartella", cartella.percorso()});
  EXPECT_EQ(senza.stato, 2);
  EXPECT_NE(senza.errori.find("--scenario NOME"), std::string::npos) << senza.errori;
  const EsitoProcesso senza_treno =
      esegui({linea, treno, "--cartella", cartella.percorso(), "--scenario", "Valle"});
  EXPECT_EQ(senza_treno.stato, 2);
  EXPECT_NE(senza_treno.errori.find("--treno NUMERO"), std::string::npos) << senza_treno.errori;
  EXPECT_EQ(cartella.leggi("linea.txt"), linea_incorporata());

  const EsitoProcesso dati = esegui(
      {linea, treno, "--cartella", cartella.percorso(), "--scenario", "Valle", "--treno", "12"});
  EXPECT_EQ(dati.stato, 0) << dati.errori;
  EXPECT_TRUE(cartella.esiste("Valle_linea.dat"));
  EXPECT_TRUE(cartella.esiste("Valle_12.sim"));
  EXPECT_TRUE(cartella.esiste("Valle_12.dat"));
  EXPECT_EQ(cartella.leggi("linea.txt"), linea_incorporata());
  EXPECT_EQ(cartella.leggi("treno.txt"), treno_incorporato());
}

// Without --cartella the files go into the folder the program is started in.
TEST(Identita, SenzaCartellaNellaCartellaCorrente) {
  const Autore autore;
  const EsitoProcesso e = esegui_con_argomenti(
      "/bin/sh", {"-c", "cd \"$0\" && exec \"$1\" \"$2\" \"$3\"", autore.uscita().percorso(),
                  COMPILA_SCENARIO_ESEGUIBILE, autore.linea(), autore.treno()});
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(autore.uscita().esiste(kPercorso));
}

}  // namespace
