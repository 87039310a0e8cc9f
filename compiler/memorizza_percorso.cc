#include "compiler/memorizza_percorso.h"

#include "compiler/codici_gara.h"
#include "compiler/compila.h"
#include "compiler/scrivi_binario.h"
#include "model/nomi_file.h"

namespace {

// The error state of the model, with the place of the last problem recorded, and the
// warnings of the parse.
EsitoCompilazione esito(const Scenario& s, const std::optional<Problema>& problema,
                        const std::vector<Avviso>& avvisi) {
  EsitoCompilazione e;
  e.avvisi = avvisi;
  e.codice = s.codice_errore;
  e.posizione = s.posizione_errore;
  if (problema) {
    e.codice = problema->codice;
    e.luogo = problema->luogo;
    e.motivo = problema->motivo;
    e.nota = problema->nota;
  }
  return e;
}

std::optional<Problema> ultimo(const std::vector<Problema>& problemi) {
  return problemi.empty() ? std::nullopt : std::optional(problemi.back());
}

}  // namespace

EsitoCompilazione memorizza_percorso(Scenario& s, piattaforma::Disco& disco,
                                     const std::string& cartella, int32_t j) {
  s.con_tracciato = j;
  s.codice_errore = kNessunErrore;
  s.voci.fill(Voce{});
  const EsitoLettura lettura = memorizza_dati(s, disco, cartella);
  return completa_percorso(s, disco, cartella, lettura);
}

EsitoCompilazione completa_percorso(Scenario& s, piattaforma::Disco& disco,
                                    const std::string& cartella, const EsitoLettura& lettura) {
  if (s.percorso.empty()) {
    return esito(s, ultimo(lettura.problemi), lettura.avvisi);
  }
  std::optional<Problema> problema = ultimo(lettura.problemi);
  if (std::optional<Problema> della_passata = passata(s, lettura.provenienze)) {
    problema = std::move(della_passata);
  }
  applica_timbri(s);
  // The three files are written first and take their names together, so that a failure on
  // any of them leaves the three files of the run before.
  piattaforma::Sostituzione binari(disco);
  if (s.con_tracciato != 0) {
    scrivi_binario(binari, disco.percorso_in(cartella, nome_file_tracciato(s)), s.tracciato);
  }
  scrivi_binario(binari, disco.percorso_in(cartella, nome_file_voci(s)), s.voci);
  scrivi_binario(binari, disco.percorso_in(cartella, nome_file_percorso(s)), s.percorso);
  binari.completa();
  EsitoCompilazione e = esito(s, problema, lettura.avvisi);
  e.file_scritti = true;
  return e;
}
