#include "documents/dati_rallentamenti.h"

#include <array>
#include <string_view>

#include "sources/scrivi_righe.h"

namespace {

// One entry per line of the slow-down order, in file order.
constexpr auto kLinee = std::to_array<std::string_view>({
    "",
    "                               Modulo M. 3",
    "                           ORDINE DI RALLENTAMENTO",
    " ________________________________________________________________________________",
    "  Linea  Tavena - Crostia C.L.V.",
    "",
    "  Si ordina al macchinista del treno 4417 di effettuare i seguenti rallentamenti",
    "  _______________________________________________________________________________",
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
    " |___|____________________________|____________|__________|_________|____________|",
    " |   |                            |            |          |         |            |",
    " | 1 | Tavena - Morsello          |     92     |    70    |   300   |   ---      |",
    " |   |                            |            |          |         |            |",
    " | 2 | Orsea - Roccaforna         |     60     |    30    |   200   |   ---      |",
    " |   |                            |            |          |         |            |",
    " | 3 | Albarossa - Santa Libera   |     15     |    50    |   600   |   ---      |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |   |                            |            |          |         |            |",
    " |___|____________________________|____________|__________|_________|____________|",
    "",
    "              Prescrizioni specifiche",
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    " B - Interessa anche la stazione di.......",
    " D - Rallentamento N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
});

}  // namespace

Righe dati_rallentamenti() {
  return righe_con_sentinella(kLinee);
}
