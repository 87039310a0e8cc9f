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

// Sweeps the folder for temporary files of the run's own names once more when the run leaves
// by a failure: one whose removal failed on the way gets a second try.
class PuliziaFinale {
 public:
  PuliziaFinale(piattaforma::Disco& disco, const std::string& cartella,
                const std::vector<std::string>& nomi)
      : disco_(disco), cartella_(cartella), nomi_(nomi) {}
  ~PuliziaFinale() {
    if (attiva_) {
      try {
        disco_.elimina_temporanei(cartella_, nomi_);
      } catch (const std::exception&) {
        // The failure that ends the run is the one to report; the next run sweeps again.
      }
    }
  }
  PuliziaFinale(const PuliziaFinale&) = delete;
  PuliziaFinale& operator=(const PuliziaFinale&) = delete;

  // The run went well: the last sweep is made, and its own failure reported, by the caller.
  void congeda() { attiva_ = false; }

 private:
  piattaforma::Disco& disco_;
  const std::string& cartella_;
  const std::vector<std::string>& nomi_;
  bool attiva_ = true;
};

}  // namespace

std::vector<std::string> file_della_corsa(const Scenario& s) {
  return {nome_sorgente_linea(s), nome_sorgente_treno(s), nome_note(s),      nome_rallentamenti(s),
          nome_scheda(s),         nome_file_tracciato(s), nome_file_voci(s), nome_file_percorso(s)};
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
  const auto presa = disco.blocca(cartella);
  // Temporary files that a killed run left: with the folder held, none can be a live run's.
  const std::vector<std::string> nomi = file_della_corsa(s);
  disco.elimina_temporanei(cartella, nomi);
  PuliziaFinale pulizia(disco, cartella, nomi);
  scrivi_testi(s, disco, cartella);
  EsitoCompilazione esito = memorizza_percorso(s, disco, cartella, 1);
  pulizia.congeda();
  disco.elimina_temporanei(cartella, nomi);
  return esito;
}
