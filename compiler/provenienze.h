// Beside the track while the sources are read: for each cell, the source row whose item the
// cell holds. It is not part of the model and goes into no file. It lets a problem found
// later, by the pass, name the row that put its item on the track, and a row that finds its
// cell taken name the row that took it.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "compiler/esito_compilazione.h"

class Provenienze {
 public:
  // Cell k now holds an item of the row that begins at `riga`.
  void segna(int64_t k, const Luogo& riga);
  // The row whose item cell k holds; none for a cell that no row has put an item in.
  std::optional<Luogo> di(int64_t k) const;

 private:
  std::vector<Luogo> righe_;  // by cell; an empty file name for none
};

// One row on its way into the track through a recorder: the cells the recorder puts an item
// in are marked as coming from this row, and the taken cell that stops it is kept.
struct Registrazione {
  Registrazione(Provenienze& p, Luogo r) : provenienze(p), riga(std::move(r)) {}

  Provenienze& provenienze;
  Luogo riga;
  std::optional<int64_t> cella_occupata;

  void posa(int64_t k) { provenienze.segna(k, riga); }
  void trova_occupata(int64_t k) { cella_occupata = k; }
  // The row whose item was in the taken cell, if a cell was taken and a row put it there.
  std::optional<Luogo> nota() const;
};
