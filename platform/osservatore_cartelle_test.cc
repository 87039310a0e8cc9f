#include "platform/osservatore_cartelle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
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

// Whether the last event for `nome` said the file is whole.
bool ultimo_completo(piattaforma::OsservatoreCartelle& o, const std::string& nome) {
  std::optional<bool> completo;
  for (auto c = o.attendi(2000ms); !c.empty(); c = o.attendi(50ms)) {
    for (const auto& f : c) {
      if (f.nome == nome) {
        completo = f.completo;
      }
    }
  }
  EXPECT_TRUE(completo.has_value()) << "nessun evento per " << nome;
  return completo.value_or(false);
}

// A file renamed into place or closed after writing can be read at once; one removed, or
// created and still open, may still change.
TEST(OsservatoreCartelle, DiceQuandoIlFileEIntero) {
  piattaforma::CartellaTemporanea a;
  a.scrivi("linea.txt", "uno");
  piattaforma::OsservatoreCartelle o({a.percorso()});

  a.scrivi(".linea.txt.nuovo", "due");
  std::filesystem::rename(a.file(".linea.txt.nuovo"), a.file("linea.txt"));
  EXPECT_TRUE(ultimo_completo(o, "linea.txt")) << "rinominato al suo posto";

  std::filesystem::remove(a.file("linea.txt"));
  EXPECT_FALSE(ultimo_completo(o, "linea.txt")) << "eliminato";

#ifndef _WIN32
  // Only this system reports the close of a file written in place.
  {
    std::ofstream aperto(a.file("linea.txt"), std::ios::binary);
    aperto << "quattro";
    aperto.flush();
    EXPECT_FALSE(ultimo_completo(o, "linea.txt")) << "creato e ancora aperto";
  }
  EXPECT_TRUE(ultimo_completo(o, "linea.txt")) << "chiuso";

  a.scrivi("linea.txt", "cinque");
  EXPECT_TRUE(ultimo_completo(o, "linea.txt")) << "riscritto e chiuso";
#endif
}

TEST(OsservatoreCartelle, UnaCartellaCheNonCeFallisce) {
  piattaforma::CartellaTemporanea a;
  EXPECT_THROW(piattaforma::OsservatoreCartelle({a.file("manca")}), piattaforma::ErroreFile);
}

}  // namespace
