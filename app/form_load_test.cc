#include "app/form_load.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/disco_reale.h"
#include "prove/cartella_temporanea.h"

namespace {

using piattaforma::CartellaTemporanea;

piattaforma::DiscoReale disco;

// The text files in the order their jobs run.
const std::vector<std::string> kTestiInOrdine = {
    "Tavena_Crostia_linea.txt",
    "Tavena_Crostia_4417-.txt",
    "Tavena_Crostia_4417_note.txt",
    "Tavena_Crostia_4417_rallentamenti.txt",
    "Tavena_Crostia_4417_scheda_treno.txt",
};

// A folder standing where one file should be stops the run at that file's job: the report
// names the file, the jobs before it have written theirs and the jobs after it do not run.
TEST(FormLoad, IlavoriGiranoInOrdineEDannoINomiAttesi) {
  for (size_t bloccato = 0; bloccato < kTestiInOrdine.size(); ++bloccato) {
    CartellaTemporanea cartella;
    std::filesystem::create_directory(cartella.file(kTestiInOrdine[bloccato]));
    Scenario s;
    try {
      Form_Load(s, disco, cartella.percorso());
      ADD_FAILURE() << "nessun errore con " << kTestiInOrdine[bloccato] << " bloccato";
    } catch (const piattaforma::ErroreFile& e) {
      EXPECT_EQ(e.percorso(), cartella.file(kTestiInOrdine[bloccato]));
    }
    for (size_t i = 0; i < kTestiInOrdine.size(); ++i) {
      if (i < bloccato) {
        EXPECT_TRUE(std::filesystem::is_regular_file(cartella.file(kTestiInOrdine[i])))
            << kTestiInOrdine[i] << " mancante con " << kTestiInOrdine[bloccato] << " bloccato";
      } else if (i > bloccato) {
        EXPECT_FALSE(cartella.esiste(kTestiInOrdine[i]))
            << kTestiInOrdine[i] << " scritto con " << kTestiInOrdine[bloccato] << " bloccato";
      }
    }
  }
}

// The built-in scenario compiles cleanly: no conflict in any recorder, every station within
// the limits, room for every automatic speed point.
TEST(FormLoad, LoScenarioIncorporatoSiCompilaSenzaErrori) {
  CartellaTemporanea cartella;
  Scenario s;
  Form_Load(s, disco, cartella.percorso());
  EXPECT_EQ(s.nome_scenario, "Tavena_Crostia");
  EXPECT_EQ(s.numero_treno, "4417");
  EXPECT_EQ(s.con_tracciato, 1);
  EXPECT_EQ(s.codice_errore, 0) << "posizione " << s.posizione_errore;
  EXPECT_EQ(s.ultima_cella, 2160);
  EXPECT_EQ(std::filesystem::file_size(cartella.file("Tavena_Crostia_4417.dat")), 32415u);
  EXPECT_EQ(std::filesystem::file_size(cartella.file("Tavena_Crostia_linea.dat")), 2159964u);
  EXPECT_FALSE(cartella.esiste("Tavena_Crostia_linea.txt"));
  EXPECT_FALSE(cartella.esiste("Tavena_Crostia_4417-.txt"));
}

}  // namespace
