#include "prove/andata_e_ritorno.h"

#include "compiler/compila.h"
#include "strumenti/decompila_scenario/decompilazione.h"
#include "strumenti/decompila_scenario/prova_di_compilazione.h"

std::string andata_e_ritorno(std::string_view linea, std::string_view treno) {
  const Identita id{"Prova", "1"};
  const OpzioniCompilazione opzioni = opzioni_di_compilazione(id);
  const Compilazione prima = compila(linea, treno, opzioni);
  if (!prima.ha_immagini() || prima.scenario.codice_errore != 0) {
    return "";
  }
  const std::array<std::string_view, kNumeroFileBinari> attesi = immagini_in_ordine(prima);
  const Decompilazione d =
      decompila(id, attesi[kFileTracciato], attesi[kFileVoci], attesi[kFilePercorso]);
  if (!d.sorgenti) {
    const Difetto& f = d.difetti.front();
    return "non decompilato: file " + std::to_string(f.file) + ", byte " + std::to_string(f.byte) +
           ", " + f.dove + ": " + f.descrizione;
  }
  const Compilazione dopo = compila(d.sorgenti->linea, d.sorgenti->treno, opzioni);
  if (dopo.scenario.codice_errore != 0) {
    return "le sorgenti ricavate si compilano con l'errore " +
           std::to_string(dopo.scenario.codice_errore);
  }
  const std::array<std::string_view, kNumeroFileBinari> ottenuti = immagini_in_ordine(dopo);
  for (int f = 0; f < kNumeroFileBinari; ++f) {
    if (const auto diff =
            prima_differenza(static_cast<FileBinario>(f), attesi[static_cast<size_t>(f)],
                             ottenuti[static_cast<size_t>(f)])) {
      return "il file " + std::to_string(f) + " differisce al byte " + std::to_string(diff->byte) +
             " (" + diff->dove + "): " + diff->descrizione;
    }
  }
  return "";
}
