#include "compiler/memorizza_percorso.h"

#include <gtest/gtest.h>

#include "platform/cartella_temporanea.h"

namespace {

TEST(MemorizzaPercorso, SvuotaTutteLeVociCompresaLaZero) {
  piattaforma::CartellaTemporanea cartella;
  Scenario s;
  for (Voce& v : s.voci) {
    v.categoria = 3;
    v.testo = "vecchio";
    v.orario = 99;
    v.dato_5 = -1;
  }
  s.codice_errore = 15;
  memorizza_percorso(s, cartella.percorso(), 1);
  for (size_t i = 0; i < s.voci.size(); ++i) {
    if (i == kVoceScenario || i == kVoceRipetizione) {
      continue;  // the parser puts the identity texts here
    }
    EXPECT_EQ(s.voci[i], Voce{}) << "voce " << i;
  }
  EXPECT_EQ(s.con_tracciato, 1);
}

}  // namespace
