#include "sources/dati_treno.h"

#include <array>
#include <string_view>

#include "model/nomi_file.h"
#include "platform/file_system.h"
#include "sources/scrivi_righe.h"

namespace {

constexpr std::array<std::string_view, 0> kLinee{};

}  // namespace

int32_t dati_treno(const Scenario& s, const std::string& cartella) {
  return scrivi_righe(righe_con_sentinella(kLinee), piattaforma::percorso_in(cartella, nome_sorgente_treno(s)));
}
