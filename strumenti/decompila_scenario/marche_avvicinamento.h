// The approach marks of the train source's rows. A station, a slow-down or a signal marks
// cells before it; rows that mark the same cell write over each other, so the row whose value
// the cell shows goes after the others. The marks also give each signal its class, which its
// own cell keeps only as the low digit of a packed field. Used by the train half of the
// decompiler to find the signals' classes and the order of the rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "model/scenario.h"
#include "strumenti/decompila_scenario/ordine_righe.h"

// A signal marks this many cells before it, every second one.
inline constexpr int64_t kAvvicinamenti = 4;

// The rows of the train source whose order can matter, each as its kind and its place among
// the rows of that kind.
enum class GenereRigaDaOrdinare { stazione, rallentamento, segnale };
struct RigaDaOrdinare {
  GenereRigaDaOrdinare genere;
  size_t indice;
};

// A row's write into the approach mark of a cell: a station's value is its own, a signal's
// its class and `b`, its count of two cells back.
struct MarcaScritta {
  size_t nodo;
  int64_t b = 0;
  std::optional<uint8_t> valore;
};

struct MarcheDelTreno {
  std::vector<RigaDaOrdinare> nodi;                        // stations first
  std::map<int64_t, std::vector<MarcaScritta>> per_cella;  // the rows that mark each cell
  std::vector<int64_t> celle_segnali;                      // of each signal
  std::vector<std::optional<int64_t>> classi;              // of each signal
  std::vector<std::pair<size_t, size_t>> sotto_fermata;    // a node and the station after it
  size_t numero_stazioni = 0;
};

// The new node's index.
size_t aggiungi_nodo(MarcheDelTreno& t, RigaDaOrdinare riga);

// The class sx * 3 + dx that a signal with fourth value `quarto` has when its mark `b`
// (b cells of two before it) holds `m`; none when no class gives both.
std::optional<int64_t> classe_dalla_marca(int64_t m, int64_t b, int64_t quarto);

// What the row of `w` writes into its cell, when that is known.
std::optional<uint8_t> valore_della_marca(const MarcheDelTreno& t, const MarcaScritta& w);

// Sets the class of every signal of `t` from the marks that `celle` show.
void classi_dei_segnali(MarcheDelTreno& t, const std::vector<Cella>& celle);

// Whether a row found writes the approach mark that cell c shows.
bool marca_spiegata(const MarcheDelTreno& t, const std::vector<Cella>& celle, int64_t c);

// The order of the nodes: the rows that write what a cell shows after the others that mark
// it, a row whose item a stop marker covers before its station.
OrdineRighe ordina_il_treno(const MarcheDelTreno& t, const std::vector<Cella>& celle);
