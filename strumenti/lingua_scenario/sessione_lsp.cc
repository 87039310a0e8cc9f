#include "strumenti/lingua_scenario/sessione_lsp.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "strumenti/lingua_scenario/canale_lsp.h"

namespace {

void scrivi(std::ostream& out, const std::vector<nlohmann::json>& messaggi) {
  for (const nlohmann::json& m : messaggi) {
    scrivi_messaggio(out, m.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  }
}

}  // namespace

int servi(std::istream& in, std::ostream& out, ServizioSorgenti& servizio,
          const std::function<bool()>& in_attesa) {
  while (const std::optional<MessaggioLetto> m = leggi_messaggio(in)) {
    if (m->scartato > 0) {
      scrivi(out, ServizioSorgenti::messaggio_troppo_lungo(m->scartato));
    } else if (!m->corpo) {
      scrivi(out, {ServizioSorgenti::errore_di_lettura()});
    } else {
      const nlohmann::json messaggio = nlohmann::json::parse(*m->corpo, nullptr, false);
      scrivi(out, messaggio.is_discarded() ? std::vector{ServizioSorgenti::errore_di_lettura()}
                                           : servizio.accogli(messaggio));
    }
    if (servizio.finito()) {
      break;
    }
    if (!in_attesa()) {
      scrivi(out, servizio.pubblica_in_attesa());
    }
  }
  return servizio.stato_uscita();
}
