#include "strumenti/lingua_scenario/testo_editor.h"

#include <gtest/gtest.h>

namespace {

TEST(TestoEditor, ColumnsOfTheCompileBecomeTheEditorsOffsets) {
  // "È" and "à" are one byte of Windows-1252, one UTF-16 unit, two UTF-8 bytes; "😀" has no
  // byte, two UTF-16 units and four UTF-8 bytes.
  const TestoEditor t("prima\r\nÈ à, 12a\nx😀, 5");
  struct Caso {
    int riga;
    int colonna;
    int utf16;
    int utf8;
  };
  const Caso casi[] = {
      {0, 1, 0, 0}, {0, 6, 5, 5}, {1, 1, 0, 0}, {1, 5, 4, 6}, {2, 3, 3, 5}, {2, 6, 6, 8},
      {1, 99, 8, 10},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(t.carattere(c.riga, c.colonna, UnitaPosizione::utf16), c.utf16) << c.riga << c.colonna;
    EXPECT_EQ(t.carattere(c.riga, c.colonna, UnitaPosizione::utf8), c.utf8) << c.riga << c.colonna;
    if (c.colonna < 99) {
      EXPECT_EQ(t.colonna(c.riga, c.utf16, UnitaPosizione::utf16), c.colonna);
      EXPECT_EQ(t.colonna(c.riga, c.utf8, UnitaPosizione::utf8), c.colonna);
    }
  }
}

TEST(TestoEditor, TheCompilesBytesAndTheMissingCharacters) {
  const TestoEditor t("È€\r\nx😀y");
  EXPECT_EQ(t.byte_1252(), "\xC8\x80\r\nx?y");
  ASSERT_EQ(t.mancanti().size(), 1u);
  EXPECT_EQ(t.mancanti()[0].riga, 2);
  EXPECT_EQ(t.mancanti()[0].colonna, 2);
  EXPECT_EQ(t.righe(), 2);
  EXPECT_EQ(t.riga_1252(1), "x?y");
}

}  // namespace
