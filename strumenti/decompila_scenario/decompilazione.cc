#include "strumenti/decompila_scenario/decompilazione.h"

#include "strumenti/decompila_scenario/linea_decompilata.h"
#include "strumenti/decompila_scenario/prova_di_compilazione.h"
#include "strumenti/decompila_scenario/stato_decompilazione.h"
#include "strumenti/decompila_scenario/treno_decompilato.h"

Decompilazione decompila(const Identita& identita, std::string_view tracciato,
                         std::string_view voci, std::string_view percorso) {
  Decompilazione d;
  const Ispezione ispezione = ispeziona_byte(identita, tracciato, voci, percorso);
  if (!ispezione.difetti.empty()) {
    d.difetti = ispezione.difetti;
    return d;
  }
  StatoDecompilazione s = stato_iniziale(ispezione);
  LineaDecompilata linea;
  TrenoDecompilato treno;
  ricava_linea(s, linea);
  // The stations before the signs, which find the end of the stations' entries; the train's
  // items before the boards that stop markers cover, which take their cells first.
  ricava_treno(s, treno);
  completa_linea(s, linea);
  if (!s.difetti.empty()) {
    d.difetti = std::move(s.difetti);
    return d;
  }
  return prova_di_compilazione(identita, {tracciato, voci, percorso}, testo_linea(linea), treno,
                               s.celle);
}
