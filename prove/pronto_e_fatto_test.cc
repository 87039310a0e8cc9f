#include "prove/pronto_e_fatto.h"

#include <gtest/gtest.h>

#include "platform/disco_in_memoria.h"

namespace {

TEST(ProntoEFatto, SegnalaProntoEFinisceAlFatto) {
  piattaforma::DiscoInMemoria disco;
  disco.file["/c/fatto"] = "";
  EXPECT_TRUE(segnala_pronto_e_attendi_fatto(disco, "/c", std::chrono::milliseconds(1000)));
  EXPECT_TRUE(disco.esiste("/c/pronto"));
}

TEST(ProntoEFatto, SenzaFattoSiArrendeAlTempoMassimo) {
  piattaforma::DiscoInMemoria disco;
  EXPECT_FALSE(segnala_pronto_e_attendi_fatto(disco, "/c", std::chrono::milliseconds(150)));
  EXPECT_TRUE(disco.esiste("/c/pronto"));
}

}  // namespace
