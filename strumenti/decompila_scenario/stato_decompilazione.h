// What the line half and the train half of the decompiler share, passed to each by reference:
// the files as the inspector read them, the cells as the rows left them, the faults found so
// far, and what the train half finds that the line half needs after it. With the small steps
// both halves take on it: a value as the rows write it, a packed field taken apart, a text
// checked against what the source reader reads back, a layer of cells as fill rows.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "compiler/riempi_celle.h"
#include "model/formato_percorso.h"
#include "model/formato_voci.h"
#include "model/scenario.h"
#include "strumenti/decompila_scenario/righe_allineate.h"
#include "strumenti/ispezione/ispezione.h"

struct StatoDecompilazione {
  const Ispezione& ispezione;
  // The cells of the file, with cell 1's two stamps set back to 0: they are put there after
  // every row, so what a row left there had to be 0.
  std::vector<Cella> celle;
  std::vector<Difetto> difetti;  // in the order found; the texts are given only without any
  // Found by the train half; the line's covered boards and its signs read them after it.
  std::set<int64_t> fermate_usate;  // stop markers that cover an item found
  int fine_stazioni = 1;            // the first entry after the stations'
};

StatoDecompilazione stato_iniziale(const Ispezione& ispezione);

// A value as the rows write it.
std::string cifre(int64_t v);

// The floor quotient and the remainder from 0 to b - 1: a packed field a * b + r taken apart.
std::pair<int64_t, int64_t> dividi_in_basso(int64_t v, int64_t b);

const Voce& voce(const StatoDecompilazione& s, int k);
void difetto_voce(StatoDecompilazione& s, int k, CampoVoce campo, std::string descrizione);
void difetto_cella(StatoDecompilazione& s, int64_t k, CampoCella campo, std::string descrizione);

// Whether entry k's text is read back by the source reader as it stands (the reader skips the
// spaces before a text and ends it at a comma or a line end); a fault on entry k when not.
bool testo_scrivibile(StatoDecompilazione& s, int k);

// A stop marker writes only its kind and first value: an item that stood in its cell before
// leaves the other values there.
bool con_resti(const Cella& c);

// A layer of the cells (`r.campo`) as fill rows, each value as the row writes it.
void strato(const StatoDecompilazione& s, RigheAllineate& righe, const Riempimento& r,
            int64_t (*valore)(uint8_t));
