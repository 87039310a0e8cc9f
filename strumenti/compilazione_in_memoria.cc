#include "strumenti/compilazione_in_memoria.h"

#include "compiler/errore.h"
#include "compiler/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "platform/disco_in_memoria.h"
#include "sources/codifica_1252.h"

namespace {

constexpr const char* kCartella = "/decompilato";

}  // namespace

ImmaginiCompilate compila_in_memoria(const Identita& identita, std::string_view linea,
                                     std::string_view treno) {
  Scenario s;
  s.nome_scenario = in_1252(identita.scenario);
  s.numero_treno = in_1252(identita.treno);
  piattaforma::DiscoInMemoria disco;
  disco.ricrea(disco.percorso_in(kCartella, nome_sorgente_linea(s)), linea);
  disco.ricrea(disco.percorso_in(kCartella, nome_sorgente_treno(s)), treno);
  ImmaginiCompilate r;
  try {
    const EsitoCompilazione e = memorizza_percorso(s, disco, kCartella, 1);
    r.codice = e.codice;
    r.scritti = e.file_scritti;
  } catch (const ErroreTerminale&) {
    // A stamp conflict: the builder writes nothing.
    return r;
  }
  if (r.scritti) {
    const std::array<std::string, kNumeroFileBinari> nomi = {
        nome_file_tracciato(s), nome_file_voci(s), nome_file_percorso(s)};
    for (size_t f = 0; f < nomi.size(); ++f) {
      r.immagini[f] = disco.leggi(disco.percorso_in(kCartella, nomi[f]));
    }
  }
  return r;
}
