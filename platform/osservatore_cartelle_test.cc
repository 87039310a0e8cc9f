#include "platform/osservatore_cartelle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/disco.h"
#include "prove/cartella_temporanea.h"

namespace {

using namespace std::chrono_literals;

// The names reported within a short while.
std::set<std::string> nomi(piattaforma::OsservatoreCartelle& o, size_t cartella) {
  std::set<std::string> n;
  for (auto c = o.attendi(2000ms); !c.empty(); c = o.attendi(50ms)) {
    for (const auto& f : c) {
      if (f.cartella == cartella) {
        n.insert(f.nome);
      }
    }
  }
  return n;
}

// An editor's save: another file written, then renamed over the old one.
TEST(OsservatoreCartelle, UnSalvataggioPerRinominaSiVede) {
  piattaforma::CartellaTemporanea a;
  piattaforma::CartellaTemporanea b;
  a.scrivi("linea.txt", "uno");
  piattaforma::OsservatoreCartelle o({a.percorso(), b.percorso()});
  EXPECT_TRUE(o.attendi(20ms).empty());
  a.scrivi("linea.txt.nuovo", "due");
  std::filesystem::rename(a.file("linea.txt.nuovo"), a.file("linea.txt"));
  EXPECT_TRUE(nomi(o, 0).contains("linea.txt"));
  b.scrivi("treno.txt", "tre");
  EXPECT_EQ(nomi(o, 1), std::set<std::string>{"treno.txt"});
}

TEST(OsservatoreCartelle, UnaCartellaCheNonCeFallisce) {
  piattaforma::CartellaTemporanea a;
  EXPECT_THROW(piattaforma::OsservatoreCartelle({a.file("manca")}), piattaforma::ErroreFile);
}

}  // namespace
