// What one parse keeps besides the model: the source being read and the running state of the
// fills, the sign entries and the plan. Shared by the two phases of the parser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "compiler/lettore_campi.h"
#include "compiler/riempi_celle.h"
#include "model/scenario.h"
#include "platform/disco.h"

// How a row handler leaves the reading of its source.
enum class Esito {
  prosegui,       // next row
  fine_sorgente,  // the row lay beyond the track: go on as if the source had ended
  arresto,        // a data error: close and delete the source, end the parse
};

struct StatoLettura {
  StatoLettura(Scenario& scenario, piattaforma::Disco& disco_sorgenti,
               const std::string& cartella_sorgenti)
      : s(scenario), disco(disco_sorgenti), cartella(cartella_sorgenti) {}

  Scenario& s;
  piattaforma::Disco& disco;
  const std::string& cartella;

  std::optional<LettoreCampi> sorgente;  // the source open for reading, if any
  std::string percorso_sorgente;

  std::string parola_chiave;  // the keyword field of the row being read

  int32_t voce_cartello = kPrimaVoceCartello;  // next entry for a sign text, counting down
  int32_t metro_tracciato = 0;
  Riempimento pendenze = riempimento_pendenze();
  Riempimento velocita = riempimento_velocita();
  Riempimento aderenze = riempimento_aderenze();
  int32_t indice_stazione = 1;

  LettoreCampi& in() { return *sorgente; }

  // Opens the file `nome` of the folder; a missing or unreadable file fails.
  void apri(const std::string& nome);
  // Closes the source and deletes its file.
  void chiudi_ed_elimina();

  // Reads the rows of a main section, each through `riga`, until the source ends, a row lies
  // beyond the track or a data error stops it; in that last case the source is closed and
  // deleted and the result is false.
  bool leggi_righe(Esito (*riga)(StatoLettura&));

  // A row of (position, value) of one layer: reads both, checks the position, fills.
  Esito riga_di_riempimento(Riempimento& r);

  // The row at `posizione` lies on the track (with `margine` 800 for a station row);
  // otherwise records error 15.
  bool controlla_posizione(int32_t posizione, int64_t margine = 100);

  // After a recorder: a code it set, or one left earlier, ends the parse at this row.
  Esito dopo_registratore(int32_t posizione);

  // Records a data error; the caller returns Esito::arresto.
  Esito arresta(int32_t codice);
  Esito arresta(int32_t codice, int32_t posizione);
};
