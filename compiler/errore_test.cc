#include "compiler/errore.h"

#include <gtest/gtest.h>

namespace {

TEST(Errore, MessaggioConUnoSpazioPrimaEDopoN) {
  try {
    errore("1251");
    FAIL() << "errore e tornato";
  } catch (const ErroreTerminale& e) {
    EXPECT_STREQ(e.what(), " Errore n. 1251");
  }
}

TEST(DescrizioneCodice, OgniCodiceUsatoHaUnaDescrizione) {
  for (int32_t codice : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,  12,  13,
                         15, 16, 17, 18, 19, 20, 21, 22, 24, 25, 101, 102, 103}) {
    EXPECT_NE(descrizione_codice(codice), "codice sconosciuto") << codice;
  }
  for (int32_t codice : {0, 14, 23, 104, -1}) {
    EXPECT_EQ(descrizione_codice(codice), "codice sconosciuto") << codice;
  }
}

}  // namespace
