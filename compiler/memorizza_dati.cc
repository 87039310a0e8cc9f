#include "compiler/memorizza_dati.h"

#include "compiler/errore_esecuzione.h"
#include "compiler/fase_linea.h"
#include "compiler/fase_treno.h"
#include "compiler/sorgenti_su_disco.h"
#include "compiler/stato_lettura.h"
#include "model/nomi_file.h"

namespace {

// Any failure while reading: close what is open, delete whichever source still exists.
void abbandona(StatoLettura& l, const Luogo& dove, std::string motivo) {
  l.sorgente.reset();
  l.sorgenti.elimina_se_esiste(Sorgente::linea);
  l.sorgenti.elimina_se_esiste(Sorgente::treno);
  l.registra(kErroreEsecuzione, dove, std::nullopt, std::move(motivo));
}

// A failure the reader raised is at its field; any other, at the last row read, or, before
// the first row of the source, at the last field read.
Luogo luogo_del_guasto(const StatoLettura& l, const ErroreEsecuzione& e) {
  if (e.riga() > 0) {
    return {l.nome_sorgente, e.riga(), e.colonna()};
  }
  if (l.riga_corrente.riga == 0 && l.sorgente) {
    return l.luogo_campo();
  }
  return l.riga_corrente;
}

}  // namespace

EsitoLettura memorizza_dati(Scenario& s, SorgentiDaLeggere& sorgenti) {
  StatoLettura l{s, sorgenti};
  try {
    s.voci[kVoceScenario].testo = s.nome_scenario;
    s.voci[kVoceRipetizione].testo = s.numero_treno;
    l.nome_sorgente = nome_sorgente_linea(s);
    l.riga_corrente = {l.nome_sorgente, 0, 0};
    if (!sorgenti.esiste(Sorgente::linea)) {
      l.registra(kLineaMancante, l.riga_corrente);
    } else if (fase_linea(l)) {
      fase_treno(l);
    }
  } catch (const ErroreEsecuzione& e) {
    abbandona(l, luogo_del_guasto(l, e), e.motivo());
  } catch (const ErroreSorgente& e) {
    abbandona(l, {l.nome_sorgente, 0, 0}, "impossibile " + e.operazione());
  }
  return {std::move(l.problemi), std::move(l.provenienze), std::move(l.riga_lunghezza),
          std::move(l.campi_testo), std::move(l.avvisi).prendi()};
}

EsitoLettura memorizza_dati(Scenario& s, piattaforma::Disco& disco, const std::string& cartella) {
  SorgentiSuDisco sorgenti(disco, cartella, s);
  return memorizza_dati(s, sorgenti);
}
