// The compile as one function: the two source texts in; the model, every problem in order,
// the warnings and the three file images out. It touches no file and shows nothing: the
// builder, each tool and each server wrap it in their own manners. Any two byte strings give
// a result; nothing the texts hold makes it throw (only running out of memory does).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/esito_compilazione.h"
#include "compiler/memorizza_dati.h"
#include "compiler/provenienze.h"
#include "compiler/sorgenti_da_leggere.h"
#include "model/scenario.h"

struct OpzioniCompilazione {
  // The identity, as Windows-1252 bytes: the model holds it, the codes are computed from it,
  // and the problems name the sources by the file names it gives.
  std::string nome_scenario;
  std::string numero_treno;
  bool con_tracciato = true;  // false: no plan is built and there is no plan file
};

// The bytes of the three files the simulator loads. The plan's bytes are those the model's
// plan holds: valid while the compile that made them lives and its plan is not changed.
struct Immagini {
  std::string_view tracciato;  // empty when no plan is built
  std::string voci;
  std::string percorso;
};

struct Compilazione {
  Compilazione() = default;
  // Moved, never copied: the plan's image points into the model of this very compile.
  Compilazione(Compilazione&&) noexcept = default;
  Compilazione& operator=(Compilazione&&) noexcept = default;
  Compilazione(const Compilazione&) = delete;
  Compilazione& operator=(const Compilazione&) = delete;
  ~Compilazione() = default;

  // The model as the compile leaves it; its error state (`codice_errore`,
  // `posizione_errore`) is the builder's.
  Scenario scenario;
  // Every problem recorded in the data, in order: the parse's, then the pass's. The error
  // state holds the code of the last one.
  std::vector<Problema> problemi;
  std::vector<Avviso> avvisi;
  // A stamp that found its field taken (code 1250 or 1251), at the row whose item holds cell
  // 1 when a row put one there: the builder's run ends there with its message.
  std::optional<Problema> timbri;
  // A failure after the parse that no file could carry (code 0, with its reason): a track
  // without cell 1, a text too long for its 16-bit length. The builder's run ends there too.
  std::optional<Problema> guasto;
  // The sources the builder's parse deletes once it has read them (or when it fails).
  bool linea_eliminata = false;
  bool treno_eliminato = false;
  // For each cell the row whose item it holds.
  Provenienze provenienze;
  // For each entry the text field its text was read from (a station's name in its row); an
  // empty place for an entry no row gave a text.
  std::array<Luogo, kNumeroVoci> campi_testo{};
  // None when the parse left no track, or on a stamp conflict or a failure.
  std::optional<Immagini> immagini;

  // Whether the run would write its binary files.
  bool ha_immagini() const { return immagini.has_value(); }
};

// The compile over a reader of its two sources: texts in memory, or the builder's folder,
// reached at the moments the parse asks for them. The sources deleted are the reader's
// business (`linea_eliminata` and `treno_eliminato` stay false).
Compilazione compila(SorgentiDaLeggere& sorgenti, const OpzioniCompilazione& opzioni,
                     Tracciato spazio = Tracciato{});

// An absent text is a source that does not exist, as a missing file is for the builder.
Compilazione compila(std::optional<std::string_view> linea, std::optional<std::string_view> treno,
                     const OpzioniCompilazione& opzioni);
// The same, building the plan in the storage of `spazio` when it is large enough: a caller
// that compiles many lines in turn saves fresh memory for each plan, whose first touch costs
// more than computing it.
Compilazione compila(std::optional<std::string_view> linea, std::optional<std::string_view> treno,
                     const OpzioniCompilazione& opzioni, Tracciato spazio);

// The steps after the parse, on a model whose parse left a track: the pass, the stamps and
// the images, or the stamp conflict or failure that stops them. `lettura` is what the parse
// left besides the model.
void completa_compilazione(Compilazione& c, const EsitoLettura& lettura);

// The pass: the automatic speed
// points; a problem it finds is recorded in the model's error state and comes back, at the
// row whose item it is about.
std::optional<Problema> passata(Scenario& s, const Provenienze& provenienze);
