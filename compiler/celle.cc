#include "compiler/celle.h"

#include "compiler/errore_esecuzione.h"

int64_t dividi_arrotonda(int64_t numeratore, int64_t divisore) {
  int64_t q = numeratore / divisore;
  int64_t r = numeratore % divisore;
  if (r < 0) {
    q -= 1;
    r += divisore;
  }
  const int64_t doppio = 2 * r;
  if (doppio > divisore || (doppio == divisore && q % 2 != 0)) {
    q += 1;
  }
  return q;
}

Cella& cella(Scenario& s, int64_t k) {
  if (s.percorso.empty()) {
    throw ErroreEsecuzione(kMotivoPercorsoAssente);
  }
  if (k < 0 || k >= static_cast<int64_t>(s.percorso.size())) {
    throw ErroreEsecuzione(kMotivoCellaFuori);
  }
  return s.percorso[static_cast<size_t>(k)];
}

Voce& voce(Scenario& s, int64_t i) {
  if (i < 0 || i >= kNumeroVoci) {
    throw ErroreEsecuzione(kMotivoVoceFuori);
  }
  return s.voci[static_cast<size_t>(i)];
}

uint8_t in_8(int64_t v) {
  if (v < 0 || v > 255) {
    throw ErroreEsecuzione(kMotivoFuoriIntervallo);
  }
  return static_cast<uint8_t>(v);
}

int16_t in_16(int64_t v) {
  if (v < INT16_MIN || v > INT16_MAX) {
    throw ErroreEsecuzione(kMotivoFuoriIntervallo);
  }
  return static_cast<int16_t>(v);
}

int32_t in_32(int64_t v) {
  if (v < INT32_MIN || v > INT32_MAX) {
    throw ErroreEsecuzione(kMotivoFuoriIntervallo);
  }
  return static_cast<int32_t>(v);
}
