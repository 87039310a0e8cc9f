#include "platform/cartella_in_uso.h"

#include <gtest/gtest.h>

#include "platform/disco_in_memoria.h"

namespace piattaforma {
namespace {

const FileDaScrivere kNuovi[] = {{"a.dat", "nuovo a"}, {"b.sim", "nuovo b"}};

DiscoInMemoria disco_con_vecchi() {
  DiscoInMemoria d;
  d.file["/c/a.dat"] = "vecchio a";
  d.file["/c/b.sim"] = "vecchio b";
  d.file["/c/altro.txt"] = "altro";
  // A temporary that a killed run of another process left, and one of a name not in the set.
  d.file["/c/a.dat.tmp-77-3"] = "mezzo";
  d.file["/c/altro.txt.tmp-77-4"] = "non suo";
  return d;
}

TEST(CartellaInUso, ScriveLInsiemeESpazzaITemporaneiDeiSuoiNomi) {
  DiscoInMemoria d = disco_con_vecchi();
  EXPECT_EQ(scrivi_insieme(d, "/c", kNuovi), (std::vector<std::string>{"/c/a.dat", "/c/b.sim"}));
  EXPECT_EQ(d.file, (std::map<std::string, std::string>{{"/c/a.dat", "nuovo a"},
                                                         {"/c/b.sim", "nuovo b"},
                                                         {"/c/altro.txt", "altro"},
                                                         {"/c/altro.txt.tmp-77-4", "non suo"}}));
  EXPECT_TRUE(d.cartelle_bloccate.empty());
}

// Whichever operation fails, the old files stay whole, no temporary of the set is left, the
// folder is free again, and the failure goes on to the caller.
TEST(CartellaInUso, UnGuastoAQualunqueOperazioneLasciaIFileVecchi) {
  DiscoInMemoria riuscito = disco_con_vecchi();
  scrivi_insieme(riuscito, "/c", kNuovi);
  ASSERT_GT(riuscito.operazioni, 4);
  for (int64_t n = 0; n < riuscito.operazioni; ++n) {
    DiscoInMemoria d = disco_con_vecchi();
    d.guasto_all_operazione = n;
    bool fallito = false;
    try {
      scrivi_insieme(d, "/c", kNuovi);
    } catch (const ErroreFile&) {
      fallito = true;
    }
    EXPECT_TRUE(d.cartelle_bloccate.empty()) << "operazione " << n;
    const bool nuovi = d.file["/c/a.dat"] == "nuovo a";
    EXPECT_EQ(nuovi, d.file["/c/b.sim"] == "nuovo b") << "operazione " << n;
    if (!nuovi) {
      EXPECT_TRUE(fallito) << "operazione " << n;
      EXPECT_EQ(d.file["/c/a.dat"], "vecchio a") << "operazione " << n;
      EXPECT_EQ(d.file["/c/b.sim"], "vecchio b") << "operazione " << n;
    }
    for (const auto& [percorso, contenuto] : d.file) {
      // The first sweep may be the one that fails: its stale temporary then stays for the
      // next run, but none of this run's own.
      const bool temporaneo = Disco::e_temporaneo_di(percorso.substr(3), "a.dat") ||
                              Disco::e_temporaneo_di(percorso.substr(3), "b.sim");
      if (temporaneo) {
        EXPECT_EQ(percorso, "/c/a.dat.tmp-77-3") << "operazione " << n;
      }
    }
  }
}

TEST(CartellaInUso, UnaSecondaCorsaAspettaLaPrima) {
  DiscoInMemoria d;
  {
    CartellaInUso uso(d, "/c", {"a.dat"});
    EXPECT_TRUE(d.cartelle_bloccate.contains("/c"));
    // The in-memory disk reports a second hold as the caller's fault, where the real one waits.
    EXPECT_THROW(CartellaInUso(d, "/c", {"a.dat"}), std::logic_error);
    uso.concludi();
  }
  EXPECT_TRUE(d.cartelle_bloccate.empty());
}

}  // namespace
}  // namespace piattaforma
