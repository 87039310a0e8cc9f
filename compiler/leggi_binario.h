// The readers of the three binary scenario files, the exact inverse of their writers: each
// takes the bytes of one file and gives back the array they hold, so that writing it again
// gives the same bytes. Nothing in a file describes it, so a reader can only find where the
// bytes stop fitting the layout: a record cut off by the end of the file, a text longer than
// what is left, a tag that is none of the three, bytes left after the last record. Each such
// fault is reported with its byte offset and the record, cell or value it lies in; a reader
// keeps what it read before the fault and stops where the rest can no longer be told apart.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/tracciato_letto.h"
#include "model/formato_percorso.h"
#include "model/formato_voci.h"
#include "model/scenario.h"

// Where a file stops fitting its layout, and how.
struct DifettoBinario {
  int64_t byte = 0;       // offset in the file of the first byte concerned
  int64_t elemento = -1;  // entry, cell, or tagged number counted from the start of the plan
                          // file; -1 = the file as a whole
  std::string campo;      // the field concerned, empty when none
  std::string descrizione;
};

std::string_view nome_campo(CampoVoce c);
std::string_view nome_campo(CampoCella c);

struct LetturaTracciato {
  // The tagged numbers split into two equal columns, x then y (the file has no mark between
  // them). Does not exist when the file holds no whole point.
  TracciatoLetto tracciato;
  std::vector<DifettoBinario> difetti;
};
LetturaTracciato leggi_tracciato(std::string_view byte);
// The bytes of a plan file holding `t`: the inverse of leggi_tracciato.
std::string immagine_tracciato_letto(const TracciatoLetto& t);

struct LetturaVoci {
  std::array<Voce, kNumeroVoci> voci{};
  // Offset of each record in the file; -1 for a record that the file does not reach whole.
  std::array<int64_t, kNumeroVoci> inizio{};
  std::vector<DifettoBinario> difetti;
};
LetturaVoci leggi_voci(std::string_view byte);

struct LetturaPercorso {
  std::vector<Cella> percorso;  // the whole cells; a cut-off last cell is left out
  std::vector<DifettoBinario> difetti;
};
LetturaPercorso leggi_percorso(std::string_view byte);
