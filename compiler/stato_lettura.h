// What one parse keeps besides the model: the source being read and where its rows begin, the
// running state of the fills, the sign entries and the plan, the rows the items of the track
// come from, and the last problem recorded, with its place. Shared by the two phases of the
// parser.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/avvisi.h"
#include "compiler/esito_compilazione.h"
#include "compiler/lettore_campi.h"
#include "compiler/provenienze.h"
#include "compiler/riempi_celle.h"
#include "model/scenario.h"
#include "compiler/sorgenti_da_leggere.h"

// How a row handler leaves the reading of its source.
enum class Esito {
  prosegui,       // next row
  fine_sorgente,  // the row lay beyond the track: go on as if the source had ended
  arresto,        // a data error: close and delete the source, end the parse
};

// A number read from a source, with the place of its field.
struct Campo {
  int32_t valore = 0;
  Luogo luogo;
};

// Where the two values of a kilometre reference were read, for the check that runs after
// both sources.
struct CampiProgressiva {
  Luogo posizione;
  Luogo valore;
};

struct StatoLettura {
  StatoLettura(Scenario& scenario, SorgentiDaLeggere& da_leggere)
      : s(scenario), sorgenti(da_leggere) {}

  Scenario& s;
  SorgentiDaLeggere& sorgenti;

  std::optional<LettoreCampi> sorgente;  // the source open for reading, if any
  Sorgente quale = Sorgente::linea;      // the source being read or last read
  std::string nome_sorgente;             // its file's name

  std::string parola_chiave;  // the keyword field of the row being read
  Luogo riga_corrente;        // where the last row read begins (its keyword field)

  int32_t voce_cartello = kPrimaVoceCartello;  // next entry for a sign text, counting down
  int32_t metro_tracciato = 0;
  Riempimento pendenze = riempimento_pendenze();
  Riempimento velocita = riempimento_velocita();
  Riempimento aderenze = riempimento_aderenze();
  int32_t indice_stazione = 1;
  Luogo stazione_precedente;  // the row of the last station entered
  // By slot: entries 81, 82, 83.
  std::array<CampiProgressiva, 3> progressive;

  Provenienze provenienze;
  std::vector<Problema> problemi;  // every one, in the order recorded
  Luogo riga_lunghezza;              // the row that gave the track its length
  // By entry: where the text field of the row that wrote the entry's text begins.
  std::array<Luogo, kNumeroVoci> campi_testo;
  RaccoltaAvvisi avvisi;
  bool riga_riconosciuta = false;  // a row kind took the keyword of the row being read

  LettoreCampi& in() { return *sorgente; }
  // Where the last field read begins.
  Luogo luogo_campo() const;

  // Opens the source `q`, whose file is named `nome`; a missing or unreadable one fails.
  void apri(Sorgente q, const std::string& nome);
  // Closes the source and deletes its file.
  void chiudi_ed_elimina();

  // Reads the rows of a main section, each through `riga`, until the source ends, a row lies
  // beyond the track or a data error stops it; in that last case the source is closed and
  // deleted and the result is false.
  bool leggi_righe(Esito (*riga)(StatoLettura&));

  // Reads a 32-bit number with the place of its field.
  Campo leggi_campo();

  // A row of (position, value) of one layer: reads both, checks the position, fills.
  Esito riga_di_riempimento(Riempimento& r, RigheOrdinate tipo);

  // The row at `posizione` lies on the track (with `margine` 800 for a station row);
  // otherwise records error 15 at the position's field.
  bool controlla_posizione(const Campo& posizione, int64_t margine = 100);

  // The row being read, on its way into the track through a recorder.
  Registrazione registrazione() { return {provenienze, riga_corrente}; }
  // After a recorder: a code it set, or one left earlier, ends the parse at this row; a cell
  // the recorder found taken names the row whose item is there, and a code left earlier the
  // place where it was recorded.
  Esito dopo_registratore(const Campo& posizione, const Registrazione& r);

  // Records a problem in the error state and here, with its place.
  void registra(int32_t codice, const Luogo& dove, std::optional<Luogo> nota = std::nullopt,
                std::string motivo = {});
  // Records a data error; the caller returns Esito::arresto. The second form also records the
  // row's position.
  Esito arresta(int32_t codice, const Luogo& dove);
  Esito arresta(int32_t codice, const Campo& posizione, std::optional<Luogo> nota = std::nullopt);
};
