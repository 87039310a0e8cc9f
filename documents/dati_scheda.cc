#include "documents/dati_scheda.h"

#include <array>
#include <string_view>

#include "sources/scrivi_righe.h"

namespace {

// One entry per line of the timetable card, in file order.
constexpr auto kLinee = std::to_array<std::string_view>({
    "  ___________________                                                ______________",
    " |                   |                  SCHEDA                      |              |",
    " |   TRENO n. 4417   |                 da: TAVENA                   |    V140 A    |",
    " |___________________|                  a: CROSTIA C.L.V.           |     120%     |",
    "                                                                    |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |     REGIONALE     |              |      300T         |",
    " |___________________|              |___________________|",
    "",
    "  _________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km | No  |  Localita' di Servizio     |     Orario      | Rec |",
    " | Lim.|Marc.|          | Rs  |                            |                 |     |",
    " |_____|_____|__________|_____|____________________________|_________ _______|_____|",
    " |  30 |  30 |  100.949 |     | TAVENA                     |            6.18 |     | ",
    " |  85 |  85 |  100.150 |     | Chilometro 100+150         |       6.19+     |     | ",
    " | 105 | 100 |   98.900 |     | Chilometro 98+900          |       6.20+     |     |",
    " | 120 | 115 |   95.000 |     | Chilometro 95+000          |       6.23+     |     |",
    " |     |     |   94.676 |     | Bivio Cave Serralta        |       6.24      |     |",
    " |  90 |  90 |   90.500 |     | Chilometro 90+500          |       6.26+     |     |",
    " | 120 |     |   90.045 |     | MORSELLO                   |  6.28      6.29 | 0,5 |",
    " |     |     |   86.587 |     | PIANCORTO                  |       6.31+     |     |",
    " |  95 |  95 |   83.750 |     | Chilometro 83+750          |       6.34      |     |",
    " |     |     |   83.129 |     | ROVAGNANO                  |  6.35+     6.36 |     |",
    " | 105 | 105 |   82.350 |     | Chilometro 82+350          |       6.36+     |     |",
    " |     |     |   79.671 |     | SERVIANA                   |  6.39+     6.40 |     |",
    " |  75 |  75 |   77.050 |     | Chilometro 77+050          |       6.42      |     |",
    " |     |     |   76.325 |     | LOCRINO                    |       6.42+     |     |",
    " |     |     |   72.663 |     | BORGO SALVIO               |  6.47      6.48 | 0,5 |",
    " |     |     |   69.256 |     | CERVANO                    |       6.51      |     |",
    " |  85 |  85 |   67.350 |     | Chilometro 67+350          |       6.53      |     |",
    " |  95 |     |   64.727 |     | VALDENNA                   |  6.57+     6.58 |     | ",
    " |     |     |   61.371 |     | ORSEA                      |       7.00      |     |",
    " |     |     |   57.566 |     | ROCCAFORNA                 |  7.05      7.06 | 0,5 |",
    " | 135 | 120 |   56.750 |     | Chilometro 56+750          |       7.06+     |     |",
    " |     |     |   53.853 |     | POGGIOLUNGO                |  7.09+     7.10 |     |",
    " | 100 | 100 |   50.950 |     | Chilometro 50+950          |       7.11+     |     |",
    " |     |     |   50.293 |     | SAN VITO DEI MARLONI       |       7.12      |     |",
    " |     |     |   46.631 |     | FRASSINETO                 |  7.16      7.17 | 0,5 |",
    " |  65 |  65 |   44.950 |     | Chilometro 44+950          |       7.18      |     |",
    " |  90 |  90 |   43.173 |     | LE CAPANNE                 |       7.20      |     |",
    " |     |     |   39.776 |     | CORNIOLA                   |       7.23      |     |",
    " |     |     |   36.114 |     | VILLA ARDENZA              |  7.27+     7.28 |     |",
    " | 120 | 120 |   34.950 |     | Chilometro 34+950          |       7.29      |     |",
    " |     |     |   32.554 |     | PRATOLUNGO                 |  7.32      7.33 | 0,5 | ",
    " |     |     |   29.045 |     | SELVAROSSA                 |       7.35      |     |",
    " |  60 |  60 |   28.450 |     | Chilometro 28+450          |       7.35+     |     |",
    " |     |     |   26.964 |     | MONTE SAVIO                |  7.38+     7.39 |     |",
    " |     |  60 |   21.823 |     | FORNOVECCHIO               |  7.47      7.48 | 0,5 |",
    " |     |     |   18.375 |     | CARPINETA                  |       7.51      |     |",
    " |  75 |     |   15.376 |     | ALBAROSSA                  |  7.54+     7.55 |     |",
    " |     |     |   11.612 |     | SANTA LIBERA               |  7.59+     8.00 | 0,5 |",
    " |     |     |    8.205 |     | TORRE DEI MORI             |       8.02+     |     |",
    " |     |     |    5.920 |     | CALANCHI                   |  8.06+     8.07 |     | ",
    " |     |     |    3.676 |     | CROSTIA BORGO              |       8.08+     |     |",
    " |     |     |    3.184 |     | CROSTIA                    |  8.11+     8.12 |     |",
    " |  65 |  60 |  311.762 |     | Bivio Vallesecca           |       8.13      |     |",
    " |     |     |  314.050 |     | CROSTIA C.L.V.             |  8.15           |     |",
    " |_____|_____|__________|_____|____________________________|_________________|_____|",
    "",
    "",
    "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.",
});

}  // namespace

Righe dati_scheda() {
  return righe_con_sentinella(kLinee);
}
