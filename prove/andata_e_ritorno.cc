#include "prove/andata_e_ritorno.h"

#include "strumenti/decompila_scenario/compilazione_in_memoria.h"
#include "strumenti/decompila_scenario/decompilazione.h"
#include "strumenti/decompila_scenario/prova_di_compilazione.h"

std::string andata_e_ritorno(std::string_view linea, std::string_view treno) {
  const Identita id{"Prova", "1"};
  const ImmaginiCompilate prima = compila_in_memoria(id, linea, treno);
  if (!prima.scritti || prima.codice != 0) {
    return "";
  }
  const Decompilazione d = decompila(id, prima.immagini[kFileTracciato], prima.immagini[kFileVoci],
                                     prima.immagini[kFilePercorso]);
  if (!d.sorgenti) {
    const Difetto& f = d.difetti.front();
    return "non decompilato: file " + std::to_string(f.file) + ", byte " + std::to_string(f.byte) +
           ", " + f.dove + ": " + f.descrizione;
  }
  const ImmaginiCompilate dopo = compila_in_memoria(id, d.sorgenti->linea, d.sorgenti->treno);
  if (dopo.codice != 0) {
    return "le sorgenti ricavate si compilano con l'errore " + std::to_string(dopo.codice);
  }
  for (int f = 0; f < kNumeroFileBinari; ++f) {
    if (const auto diff =
            prima_differenza(static_cast<FileBinario>(f), prima.immagini[static_cast<size_t>(f)],
                             dopo.immagini[static_cast<size_t>(f)])) {
      return "il file " + std::to_string(f) + " differisce al byte " + std::to_string(diff->byte) +
             " (" + diff->dove + "): " + diff->descrizione;
    }
  }
  return "";
}
