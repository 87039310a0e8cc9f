// What a person reads out of the three binary files: the line's length and extent, the
// kilometre references, the stations in running order, the items on the track (signals,
// speed boards, sign boards, slow-downs, speed points, tunnels) and the speed-limit, gradient
// and adhesion layers as ranges. Positions are metres of chainage: an item placed in the cell
// after its position (signal, board, sign, slow-down) stands at 50 (k - 1) for cell k; a layer
// value of cell k covers the metres 50 k to 50 k + 50.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/tracciato_letto.h"
#include "model/scenario.h"

// A run of cells with one value: metres `da` to `a`, the value as the cell holds it.
struct Intervallo {
  int32_t da = 0;
  int32_t a = 0;
  int valore = 0;

  bool operator==(const Intervallo&) const = default;
};

// One kilometre reference as the compile ordered it (entries 81 to 83).
struct RiferimentoChilometrico {
  int voce = 0;
  int32_t posizione = 0;  // route position from which it applies
  int32_t valore = 0;     // metres
  int32_t verso = 0;      // 1: the reading falls along the run
};

// The kilometre reading along the route, as the crew documents use it: the reference with
// the greatest position not after p applies from that position on; the reading is its value
// less 100 m, minus p when the reading falls along the run, plus p otherwise. A cleared
// reference (all three values 0) applies nowhere.
struct TrattoChilometrico {
  int32_t da = 0;  // route position from which it applies
  int64_t base = 0;
  int segno = 1;  // reading = base + segno * p
};
std::vector<TrattoChilometrico> tratti_chilometrici(
    const std::vector<RiferimentoChilometrico>& riferimenti);

// The reading of route position p in metres; none before the first reference that applies.
std::optional<int32_t> chilometrica(const std::vector<RiferimentoChilometrico>& riferimenti,
                                    int32_t p);

// The three references of the entries, in the order of their slots.
std::vector<RiferimentoChilometrico> riferimenti_chilometrici(
    const std::array<Voce, kNumeroVoci>& voci);

// A reading in metres as the crew documents write it, in kilometres with three decimals:
// 90050 is "90.050"; "-" for none.
std::string chilometri(std::optional<int32_t> metri);

struct StazioneLetta {
  int voce = 0;
  std::string nome;  // UTF-8
  int32_t posizione = 0;
  int32_t inizio_area = 0;
  int32_t fine_area = 0;
  int categoria = 0;
  int sosta = 0;               // seconds
  int32_t orario = 0;          // seconds after midnight; 0 = none
  int32_t cella_fermata = -1;  // the cell of its stop marker, -1 = none
  std::optional<int32_t> chilometrica;
};

struct SegnaleLetto {
  int32_t cella = 0;
  int32_t posizione = 0;
  std::array<int, 4> valori{};
  int tempo = 0;
};

struct CartelloVelocita {
  int32_t cella = 0;
  int32_t posizione = 0;
  std::array<int, 3> velocita{};  // ranks A, B and C, km/h
  std::array<int, 3> aggiunta{};  // the second speed packed with each, km/h
  int strisce = 0;
};

struct CartelloTesto {
  int32_t cella = 0;
  int32_t posizione = 0;
  int voce = 0;
  std::string testo;  // UTF-8
};

struct RallentamentoLetto {
  int32_t inizio = 0;  // metres
  int32_t fine = 0;
  int velocita = 0;
  std::optional<int32_t> avviso;  // position of its warning board
};

struct Abbattimento {
  int32_t cella = 0;
  int32_t posizione = 0;
  int velocita = 0;  // 0 for a point without a speed
};

struct Estensione {
  bool esiste = false;
  double min_x = 0;
  double max_x = 0;
  double min_y = 0;
  double max_y = 0;
};

struct Riepilogo {
  int32_t lunghezza = 0;  // metres, entry 84
  int32_t celle = 0;
  int32_t punti = 0;
  Estensione estensione;
  int numero_vetture = 0;
  int massa_frenata = 0;  // per cent
  int sabbia = 0;
  std::array<int, 3> orologio{};         // hours, minutes, seconds
  std::array<int32_t, 3> sfondo{};       // background values one, two, three
  std::array<int32_t, 3> ripetizione{};  // signal repetition: two values and the code
  std::vector<RiferimentoChilometrico> riferimenti;
  std::vector<StazioneLetta> stazioni;
  std::vector<SegnaleLetto> segnali;
  std::vector<CartelloVelocita> cartelli_velocita;
  std::vector<CartelloTesto> cartelli_testo;
  std::vector<RallentamentoLetto> rallentamenti;
  std::vector<Abbattimento> abbattimenti;
  std::vector<Intervallo> gallerie;          // tunnel kind, 0 left out
  std::vector<Intervallo> velocita_massima;  // km/h
  std::vector<Intervallo> pendenza;          // per mille plus 100, as the cell holds it
  std::vector<Intervallo> aderenza;
};

Riepilogo riepiloga(const TracciatoLetto& tracciato, const std::array<Voce, kNumeroVoci>& voci,
                    const std::vector<Cella>& percorso);

// A time of day in seconds after midnight as h:mm:ss.
std::string ora_del_giorno(int32_t secondi);

// The summary as lines of text, in UTF-8.
std::string testo_riepilogo(const Riepilogo& r);
