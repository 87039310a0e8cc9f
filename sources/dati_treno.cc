#include "sources/dati_treno.h"

#include <array>
#include <string_view>

#include "sources/scrivi_righe.h"

// The run of train 4417 from Tavena to Crostia C.L.V., designed once: this source, the
// timetable card, the slow-down order and the notes all describe it. Positions are metres
// along the route; before the branch at 98250 the card shows the place at position p at
// kilometre 100.949 - p / 1000 (within 50 m), falling along the run.
//
//   position  station               cat  length  on the card        time
//          0  TAVENA                  2     700  origin             6.18
//      10900  MORSELLO                4     400  stop 60 s          6.28 - 6.29
//      14350  PIANCORTO              28     200  passing            (6.31+)
//      17800  ROVAGNANO              12     500  stop 30 s          6.35+ - 6.36
//      21250  SERVIANA               22     300  stop 30 s          6.39+ - 6.40
//      24650  LOCRINO                12     400  passing            (6.42+)
//      28300  BORGO SALVIO            4     500  stop 60 s          6.47 - 6.48
//      31700  CERVANO                25     200  passing            (6.51)
//      36200  VALDENNA               12     400  stop 30 s          6.57+ - 6.58
//      39550  ORSEA                  22     300  passing            (7.00)
//      43400  ROCCAFORNA              4     500  stop 60 s          7.05 - 7.06
//      47100  POGGIOLUNGO            22     300  stop 30 s          7.09+ - 7.10
//      50650  SAN VITO DEI MARLONI   12     400  passing            (7.12)
//      54300  FRASSINETO              4     500  stop 60 s          7.16 - 7.17
//      57750  LE CAPANNE             28     200  passing            (7.20)
//      61200  CORNIOLA               28     200  passing            (7.23)
//      64850  VILLA ARDENZA          12     400  stop 30 s          7.27+ - 7.28
//      68400  PRATOLUNGO              4     700  stop 60 s          7.32 - 7.33
//      71900  SELVAROSSA             25     200  passing            (7.35)
//      74000  MONTE SAVIO            12     400  stop 30 s          7.38+ - 7.39
//      79100  FORNOVECCHIO            4     500  stop 60 s          7.47 - 7.48
//      82600  CARPINETA              28     200  passing            (7.51)
//      85600  ALBAROSSA              22     300  stop 30 s          7.54+ - 7.55
//      89350  SANTA LIBERA           12     400  stop 30 s          7.59+ - 8.00
//      92750  TORRE DEI MORI         25     200  passing            (8.02+)
//      95050  CALANCHI               22     300  stop 30 s          8.06+ - 8.07
//      97250  CROSTIA BORGO          25     200  passing            (8.08+)
//      97800  CROSTIA                27     200  stop 30 s          8.11+ - 8.12
//     100750  CROSTIA C.L.V.          6     500  destination        8.15
//
// Times are those of the card (a + is the half minute; passing times in brackets are
// only on the card); the station rows hold the departure, the arrival at the end. The
// clock starts at 6.30: the train leaves 12 minutes late.
// Card passing points that are not stations: Bivio Cave Serralta (6300), Bivio
// Vallesecca (98450, the branch to Crostia C.L.V.) and the kilometre posts where the
// speed limit changes. Most [vel_limite] rows stand at a speed board of the line source
// and take its rank A speed; the card shows every one but 25300, 76000 and 99650.
// Slow-downs: 9200-9500 at 70 km/h (after post 92, Tavena - Morsello), 41700-41900 at 30
// (after post 60, Orsea - Roccaforna), 86750-87350 at 50 (after post 15, Albarossa -
// Santa Libera); the first has its warning board and the four cells before it.
// Signals: a distant signal (sx 1) about 1200 m before each home signal (sx 2) at 17
// stations and at Bivio Cave Serralta; starting signals after Morsello, Borgo Salvio and
// Pratolungo; two signals of the branch at 98650 and 99600. Every item (board, sign, stop
// marker, slow-down cell, signal) has a cell of its own, and the cells next to signals
// and slow-downs are left free for the speed points added after parsing.

namespace {

// One entry per line of the train source, in file order.
constexpr auto kLinee = std::to_array<std::string_view>({
    "[generale]",
    "numero vetture,    5",
    "percentuale massa frenata,    120",
    "sabbia,    300",
    "orologio,    6               30            0 ",
    "[aderenze]",
    "aderenza,   0,    100",
    "aderenza,   6500,    85",
    "aderenza,   9800,    90",
    "aderenza,   14000,    80",
    "aderenza,   18500,   100",
    "aderenza,   21300,    85",
    "aderenza,   24350,    80",
    "aderenza,   24600,   100",
    "aderenza,   30200,    70",
    "aderenza,   33000,    85",
    "aderenza,   40100,    80",
    "aderenza,   47000,    70",
    "aderenza,   52400,    85",
    "aderenza,   60000,    70",
    "aderenza,   66900,    90",
    "aderenza,   73800,    70",
    "aderenza,   80500,    80",
    "aderenza,   90800,   100",
    "[vel_limite]",
    "velocita,       0,    30",
    "velocita,     800,    85",
    "velocita,    2050,   105",
    "velocita,    5950,   120",
    "velocita,   10450,    90",
    "velocita,   10900,   120",
    "velocita,   17200,    95",
    "velocita,   18600,   105",
    "velocita,   23900,    75",
    "velocita,   25300,   100",
    "velocita,   33600,    85",
    "velocita,   36200,    95",
    "velocita,   44200,   135",
    "velocita,   50000,   100",
    "velocita,   56000,    65",
    "velocita,   57750,    90",
    "velocita,   66000,   120",
    "velocita,   72500,    60",
    "velocita,   76000,   100",
    "velocita,   85600,    75",
    "velocita,   98450,    65",
    "velocita,   99650,    30",
    "[stazioni]",
    "stazione,       0,  2,  700,  1, 0, 0,  4,1,0,  2,1,1,    1,   6,18, 0, TAVENA",
    "stazione,   10900,  4,  400,  1, 0, 0,  4,1,0,  2,1,1,   60,   6,29, 0, MORSELLO",
    "stazione,   14350, 28,  200,  0, 0, 0,  0,1,0,  0,1,0,    0,   0, 0, 0, PIANCORTO",
    "stazione,   17800, 12,  500,  1, 0, 0,  1,1,0,  2,1,0,   30,   6,36, 0, ROVAGNANO",
    "stazione,   21250, 22,  300,  0, 0, 0,  1,0,1,  0,0,1,   30,   6,40, 0, SERVIANA",
    "stazione,   24650, 12,  400,  1, 0, 0,  1,1,0,  2,1,0,    0,   0, 0, 0, LOCRINO",
    "stazione,   28300,  4,  500,  1, 0, 0,  4,1,0,  2,1,1,   60,   6,48, 0, BORGO SALVIO",
    "stazione,   31700, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CERVANO",
    "stazione,   36200, 12,  400,  1, 0, 0,  1,1,0,  2,1,0,   30,   6,58, 0, VALDENNA",
    "stazione,   39550, 22,  300,  0, 0, 0,  1,0,1,  0,0,1,    0,   0, 0, 0, ORSEA",
    "stazione,   43400,  4,  500,  1, 0, 0,  4,1,0,  2,1,1,   60,   7, 6, 0, ROCCAFORNA",
    "stazione,   47100, 22,  300,  0, 0, 0,  1,0,1,  0,0,1,   30,   7,10, 0, POGGIOLUNGO",
    "stazione,   50650, 12,  400,  1, 0, 0,  1,1,0,  2,1,0,    0,   0, 0, 0, SAN VITO DEI MARLONI",
    "stazione,   54300,  4,  500,  1, 0, 0,  4,1,0,  2,1,1,   60,   7,17, 0, FRASSINETO",
    "stazione,   57750, 28,  200,  0, 0, 0,  0,1,0,  0,1,0,    0,   0, 0, 0, LE CAPANNE",
    "stazione,   61200, 28,  200,  0, 0, 0,  0,1,0,  0,1,0,    0,   0, 0, 0, CORNIOLA",
    "stazione,   64850, 12,  400,  1, 0, 0,  1,1,0,  2,1,0,   30,   7,28, 0, VILLA ARDENZA",
    "stazione,   68400,  4,  700,  1, 0, 0,  4,1,0,  2,1,1,   60,   7,33, 0, PRATOLUNGO",
    "stazione,   71900, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, SELVAROSSA",
    "stazione,   74000, 12,  400,  1, 0, 0,  1,1,0,  2,1,0,   30,   7,39, 0, MONTE SAVIO",
    "stazione,   79100,  4,  500,  1, 0, 0,  4,1,0,  2,1,1,   60,   7,48, 0, FORNOVECCHIO",
    "stazione,   82600, 28,  200,  0, 0, 0,  0,1,0,  0,1,0,    0,   0, 0, 0, CARPINETA",
    "stazione,   85600, 22,  300,  0, 0, 0,  1,0,1,  0,0,1,   30,   7,55, 0, ALBAROSSA",
    "stazione,   89350, 12,  400,  1, 0, 0,  1,1,0,  2,1,0,   30,   8, 0, 0, SANTA LIBERA",
    "stazione,   92750, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, TORRE DEI MORI",
    "stazione,   95050, 22,  300,  0, 0, 0,  1,0,1,  0,0,1,   30,   8, 7, 0, CALANCHI",
    "stazione,   97250, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CROSTIA BORGO",
    "stazione,   97800, 27,  200,  0, 0, 0,  1,0,1,  4,0,1,   30,   8,12, 0, CROSTIA",
    "stazione,  100750,  6,  500,  1, 0, 0,  4,1,0,  4,1,1,    0,   8,15, 0, CROSTIA C.L.V.",
    "[rallentamenti]",
    "rallentamento,    9200,    70,  300, 0,  1,  0",
    "rallentamento,   41700,    30,  200, 0,  0,  0",
    "rallentamento,   86750,    50,  600, 0,  0,  0",
    "[segnali]",
    "segnale,    4500,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,    5700,   2, 2, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,    9300,   1, 5, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   10550,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   11200,   2, 2, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   16150,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   17350,   2, 3, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,   23000,   1, 5, 6,  0, 0,    0,  0,0,0, 0",
    "segnale,   24200,   2, 3, 1,  0, 0,    0,  0,0,0, 220",
    "segnale,   26650,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   27850,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   28700,   2, 2, 0,  0, 0,    0,  0,0,0, 230",
    "segnale,   34300,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   35750,   2, 3, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,   38000,   1, 4, 6,  0, 0,    0,  0,0,0, 0",
    "segnale,   39200,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   41550,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   42850,   2, 2, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,   45400,   1, 5, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   46700,   2, 3, 1,  0, 1,    0,  0,0,0, 0",
    "segnale,   48900,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   50150,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   52400,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   53750,   2, 2, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,   63150,   1, 5, 6,  0, 0,    0,  0,0,0, 0",
    "segnale,   64400,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   66550,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   67800,   2, 3, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,   68900,   2, 2, 1,  0, 0,    0,  0,0,0, 245",
    "segnale,   72350,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   73550,   2, 2, 3,  0, 1,    0,  0,0,0, 0",
    "segnale,   77250,   1, 4, 6,  0, 0,    0,  0,0,0, 0",
    "segnale,   78500,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   83900,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   85150,   2, 3, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,   87700,   1, 5, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   88900,   2, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   96250,   1, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   97450,   2, 2, 3,  0, 0,    0,  0,0,0, 0",
    "segnale,   98650,   2, 3, 1,  0, 0,    2,  2,1,0, 0",
    "segnale,   99600,   2, 2, 3,  1, 0,    2,  2,1,1, 230",
    "[codici]",
    "[fine]",
});

}  // namespace

Righe dati_treno() {
  return righe_con_sentinella(kLinee);
}
