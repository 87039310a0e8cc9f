#include "sources/scrivi_righe.h"

#include <stdexcept>

#include "platform/file_system.h"
#include "sources/codifica_1252.h"

Righe righe_con_sentinella(std::span<const std::string_view> linee) {
  if (linee.size() >= kCapacitaRighe) {
    throw std::logic_error("troppe righe per un elenco: " + std::to_string(linee.size()));
  }
  Righe righe;
  for (size_t i = 0; i < linee.size(); ++i) {
    righe[i] = linee[i];
  }
  righe[linee.size()] = kSentinella;
  return righe;
}

int32_t scrivi_righe(const Righe& righe, const std::string& percorso) {
  size_t fine = 0;
  while (fine < righe.size() && righe[fine] != kSentinella) {
    ++fine;
  }
  if (fine == righe.size()) {
    throw std::logic_error("elenco di righe senza \"" + std::string(kSentinella) + "\" per " +
                           percorso);
  }
  std::string contenuto;
  for (size_t i = 0; i < fine; ++i) {
    contenuto += in_1252(righe[i]);
    contenuto += "\r\n";
  }
  piattaforma::ricrea_file(percorso, contenuto);
  return static_cast<int32_t>(fine);
}
