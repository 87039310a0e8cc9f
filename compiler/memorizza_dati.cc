#include "compiler/memorizza_dati.h"

#include "compiler/errore_esecuzione.h"
#include "compiler/fase_linea.h"
#include "compiler/fase_treno.h"
#include "compiler/stato_lettura.h"
#include "model/nomi_file.h"

namespace {

// Any failure while reading: close what is open, delete whichever source still exists.
void abbandona(StatoLettura& l) {
  l.sorgente.reset();
  l.disco.elimina_se_esiste(l.disco.percorso_in(l.cartella, nome_sorgente_linea(l.s)));
  l.disco.elimina_se_esiste(l.disco.percorso_in(l.cartella, nome_sorgente_treno(l.s)));
  l.s.codice_errore = kErroreEsecuzione;
}

}  // namespace

void memorizza_dati(Scenario& s, piattaforma::Disco& disco, const std::string& cartella) {
  StatoLettura l{s, disco, cartella};
  try {
    s.voci[kVoceScenario].testo = s.nome_scenario;
    s.voci[kVoceRipetizione].testo = s.numero_treno;
    if (!disco.esiste(disco.percorso_in(cartella, nome_sorgente_linea(s)))) {
      s.codice_errore = kLineaMancante;
      return;
    }
    if (fase_linea(l)) {
      fase_treno(l);
    }
  } catch (const ErroreEsecuzione&) {
    abbandona(l);
  } catch (const piattaforma::ErroreFile&) {
    abbandona(l);
  }
}
