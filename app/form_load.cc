#include "app/form_load.h"

#include "compiler/memorizza_percorso.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "model/nomi_file.h"
#include "platform/cartella_in_uso.h"
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

std::vector<std::string> file_della_corsa(const Scenario& s) {
  std::vector<std::string> nomi;
  for (const FileDellaCorsa f : kFileDellaCorsa) {
    nomi.push_back(nome_file(f, identita_di(s)));
  }
  return nomi;
}

void scrivi_testi(const Scenario& s, piattaforma::Disco& disco, const std::string& cartella) {
  for (const Testo& t : kTesti) {
    scrivi_righe(disco, t.righe(), disco.percorso_in(cartella, t.nome(s)));
  }
}

EsitoCompilazione Form_Load(Scenario& s, piattaforma::Disco& disco, const std::string& cartella) {
  s.nome_scenario = in_1252(kNomeScenario);
  s.numero_treno = in_1252(kNumeroTreno);
  piattaforma::mostra_attesa();
  // Another run in the same folder would read sources that this one rewrites, or rewrite
  // them under it: the whole run, from before its first write, is this folder's only one.
  // Temporary files that a killed run left are swept once the folder is held, when none can be
  // a live run's, and again at the end.
  piattaforma::CartellaInUso uso(disco, cartella, file_della_corsa(s));
  scrivi_testi(s, disco, cartella);
  EsitoCompilazione esito = memorizza_percorso(s, disco, cartella, 1);
  uso.concludi();
  return esito;
}
