#include "app/form_load.h"

#include "compiler/memorizza_percorso.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "model/nomi_file.h"
#include "platform/piattaforma.h"
#include "sources/codifica_1252.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"
#include "sources/scrivi_righe.h"

namespace {

struct Testo {
  Righe (*righe)();
  std::string (*nome)(const Scenario&);
};

// The notes come before the slow-down order, which comes before the card.
constexpr Testo kTesti[] = {
    {dati_linea, nome_sorgente_linea},
    {dati_treno, nome_sorgente_treno},
    {dati_note, nome_note},
    {dati_rallentamenti, nome_rallentamenti},
    {dati_scheda, nome_scheda},
};

}  // namespace

void scrivi_testi(const Scenario& s, piattaforma::Disco& disco, const std::string& cartella) {
  for (const Testo& t : kTesti) {
    scrivi_righe(disco, t.righe(), disco.percorso_in(cartella, t.nome(s)));
  }
}

EsitoCompilazione Form_Load(Scenario& s, piattaforma::Disco& disco, const std::string& cartella) {
  s.nome_scenario = in_1252(kNomeScenario);
  s.numero_treno = in_1252(kNumeroTreno);
  piattaforma::mostra_attesa();
  scrivi_testi(s, disco, cartella);
  return memorizza_percorso(s, disco, cartella, 1);
}
