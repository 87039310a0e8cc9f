// Warnings: what the source format takes without a word but an author almost never means. The
// parser tells the collector what it has just read at a few points; the collector keeps the
// little it needs to compare a row with the rows before it, and records the warnings with their
// places. It only looks: it reads no field, moves no reader and changes nothing in the model,
// so a compile leaves the same files and the same error state with it as without it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/esito_compilazione.h"
#include "compiler/lettore_campi.h"

// The row kinds whose rows must come in ascending order of position: each fills the track, or
// draws the plan, from the previous row onward.
enum class RigheOrdinate { pendenze, curve, montagne, velocita, aderenze };

class RaccoltaAvvisi {
 public:
  // A field read while the source is searched for "[generale]", which the parse ignores.
  void prima_di_generale(std::string_view campo, const Luogo& dove);
  // "[generale]" found at `dove`: the fields before it were ignored.
  void generale_trovata(std::string_view intestazione, const Luogo& dove);
  // The source `file` ended without "[generale]": none of it was read.
  void generale_mancante(const std::string& file);

  // A row has been read: its keyword at `riga`, whether a row kind took it, and the reader as
  // the row left it. In the general section of the line source only its own rows are taken.
  void riga_letta(std::string_view parola, const Luogo& riga, bool riconosciuta, bool con_tracciato,
                  bool in_generale, const LettoreCampi& in);

  // A row of an ordered kind that covers `inizio` to `fine` (the same for a point), with its
  // first value at `dove`.
  void in_ordine(RigheOrdinate tipo, int64_t inizio, int64_t fine, const Luogo& dove);

  // A station's or sign's text just read at `dove`: a comma ends it, and the rest of its line
  // never reaches the entry file.
  void testo_letto(const Luogo& dove, const LettoreCampi& in);

  std::vector<Avviso> prendi() && { return std::move(avvisi_); }

 private:
  struct Precedente {
    int64_t fine = 0;
    Luogo dove;
  };

  void aggiungi(TipoAvviso tipo, const Luogo& dove, std::string testo,
                std::optional<Luogo> nota = std::nullopt, std::string testo_nota = {});
  bool riga_gia_avvisata(const Luogo& dove) const;
  void intestazione(std::string_view testo, const Luogo& dove);

  std::vector<Avviso> avvisi_;
  std::vector<Avviso> prima_di_generale_;  // held until "[generale]" is found
  // The last line with a warning that makes the rest of that line read as keywords: the
  // fields that follow on it say nothing new.
  Luogo riga_avvisata_;
  std::string file_intestazioni_;
  std::vector<std::pair<std::string, Luogo>> intestazioni_;  // of the source being read
  std::array<std::optional<Precedente>, 5> precedenti_;
  bool curve_avvisate_ = false;
};
