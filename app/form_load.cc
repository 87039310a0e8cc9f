#include "app/form_load.h"

#include "compiler/memorizza_percorso.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "platform/piattaforma.h"
#include "sources/codifica_1252.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

void Form_Load(Scenario& s, const std::string& cartella) {
  s.nome_scenario = in_1252(kNomeScenario);
  s.numero_treno = in_1252(kNumeroTreno);
  piattaforma::mostra_attesa();

  // Both sources must exist before the compile reads them back; the notes come before the
  // slow-down order, which comes before the card.
  s.indice = dati_linea(s, cartella);
  s.indice = dati_treno(s, cartella);
  s.indice = dati_note(s, cartella);
  s.indice = dati_rallentamenti(s, cartella);
  s.indice = dati_scheda(s, cartella);
  memorizza_percorso(s, cartella, 1);
}
