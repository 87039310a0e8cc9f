#include "sources/scrivi_righe.h"

#include <stdexcept>

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

size_t righe_prima_della_sentinella(const Righe& righe) {
  size_t fine = 0;
  while (fine < righe.size() && righe[fine] != kSentinella) {
    ++fine;
  }
  if (fine == righe.size()) {
    throw std::logic_error("elenco di righe senza \"" + std::string(kSentinella) + "\"");
  }
  return fine;
}

std::string testo_delle_righe(const Righe& righe) {
  const size_t fine = righe_prima_della_sentinella(righe);
  // A character takes one byte in Windows-1252 and at least one in UTF-8: the UTF-8 sizes
  // bound the file, so the buffer is sized once.
  size_t massimo = 0;
  for (size_t i = 0; i < fine; ++i) {
    massimo += righe[i].size() + 2;
  }
  std::string contenuto;
  contenuto.reserve(massimo);
  for (size_t i = 0; i < fine; ++i) {
    aggiungi_in_1252(contenuto, righe[i]);
    contenuto += "\r\n";
  }
  return contenuto;
}

int32_t scrivi_righe(piattaforma::Disco& disco, const Righe& righe, const std::string& percorso) {
  disco.ricrea(percorso, testo_delle_righe(righe));
  return static_cast<int32_t>(righe_prima_della_sentinella(righe));
}
