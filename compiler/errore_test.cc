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

}  // namespace
