#include "strumenti/decompila_scenario/compilazione_in_memoria.h"

#include "compiler/compila.h"
#include "sources/codifica_1252.h"

ImmaginiCompilate compila_in_memoria(const Identita& identita, std::string_view linea,
                                     std::string_view treno) {
  OpzioniCompilazione opzioni;
  opzioni.nome_scenario = in_1252(identita.scenario);
  opzioni.numero_treno = in_1252(identita.treno);
  const Compilazione c = compila(linea, treno, opzioni);
  ImmaginiCompilate r;
  r.codice = c.scenario.codice_errore;
  r.scritti = c.ha_immagini();
  if (r.scritti) {
    r.immagini = {std::string(c.immagini->tracciato), c.immagini->voci, c.immagini->percorso};
  }
  return r;
}
