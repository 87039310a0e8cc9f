// The scenario notes as written: their lines, and the accented letters as single
// Windows-1252 bytes.
#include "documents/dati_note.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/nomi_file.h"
#include "prove/righe_scritte.h"

namespace {

const FileScritto& note() {
  static const FileScritto file = testo_del_lavoro(dati_note);
  return file;
}

TEST(DatiNote, RigheEVuote) {
  const auto& r = note().righe;
  ASSERT_EQ(r.size(), 15u);
  EXPECT_EQ(note().righe_dichiarate, 15);
  EXPECT_EQ(r[0], "                  Treno 4417 sul percorso Tavena - Crostia");
  EXPECT_EQ(r[2], " Note sullo scenario:");
  for (size_t linea = 1; linea <= r.size(); ++linea) {
    const std::string& riga = r[linea - 1];
    EXPECT_LE(riga.size(), 92u) << "riga " << linea;
    const bool vuota = linea == 2 || linea == 4 || linea == 10 || linea == 13;
    EXPECT_EQ(riga.empty(), vuota) << "riga " << linea;
    if (linea >= 5 && !vuota) {
      EXPECT_TRUE(riga.size() > 1 && riga[0] == ' ' && riga[1] != ' ')
          << "riga " << linea << " non comincia con uno spazio solo";
    }
  }
}

TEST(DatiNote, LettereAccentateInUnByte) {
  const std::string& byte = note().byte;
  for (const char lettera : {'\xE0', '\xE8', '\xEC', '\xF9'}) {
    EXPECT_NE(byte.find(lettera), std::string::npos) << std::hex << (lettera & 0xFF);
  }
  for (const char c : byte) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b < 0x80 || b == 0xE0 || b == 0xE8 || b == 0xEC || b == 0xF9)
        << "byte " << std::hex << static_cast<int>(b);
  }
}

}  // namespace
