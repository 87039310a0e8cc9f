#include "app/uscita.h"

#include "platform/piattaforma.h"

Uscita uscita_della_corsa(const EsitoCompilazione& esito) {
  if (esito.codice != 0) {
    return {piattaforma::kStatoErrore, "genera_scenario: " + descrizione_problema(esito)};
  }
  if (!esito.file_scritti) {
    return {piattaforma::kStatoErrore, "genera_scenario: nessun percorso, nessun file binario"};
  }
  return {};
}
