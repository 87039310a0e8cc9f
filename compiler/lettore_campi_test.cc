#include "compiler/lettore_campi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/errore_esecuzione.h"

namespace {

// Reads `testo` with one operation per letter of `operazioni` (T = text, I = number) and
// returns what each read, numbers in decimal.
std::vector<std::string> leggi(const std::string& testo, const std::string& operazioni,
                               bool* alla_fine = nullptr) {
  LettoreCampi l(testo);
  std::vector<std::string> campi;
  for (char op : operazioni) {
    campi.push_back(op == 'T' ? l.leggi_testo() : std::to_string(l.leggi_intero()));
  }
  if (alla_fine != nullptr) {
    *alla_fine = l.alla_fine();
  }
  return campi;
}

TEST(LettoreCampi, RegoleDiLettura) {
  const struct {
    const char* testo;
    const char* operazioni;
    std::vector<std::string> attesi;
    bool alla_fine;
  } casi[] = {
      {"pendenza,  850 , 4 \r\n", "TII", {"pendenza", "850", "4"}, true},
      {"pendenza,  48300 ,-4 \r\n", "TII", {"pendenza", "48300", "-4"}, true},
      {"pendenza,  65650,   -12\r\nx", "TII", {"pendenza", "65650", "-12"}, false},
      {"orologio,    6               30            0 \r\n",
       "TIII",
       {"orologio", "6", "30", "0"},
       true},
      {"indicatori_vmax,  800,  85,  90,  90,  0,  ,  ,  ,  0\r\n",
       "TIIIIIIIII",
       {"indicatori_vmax", "800", "85", "90", "90", "0", "0", "0", "0", "0"},
       true},
      {"ripetizione segnali 4 codici,    0    ,0\r\n",
       "TII",
       {"ripetizione segnali 4 codici", "0", "0"},
       true},
      {",  ,\r\n", "III", {"0", "0", "0"}, true},
      {"007,-0012\r\n", "II", {"7", "-12"}, true},
      {"0000000000000000000000001\r\n", "I", {"1"}, true},
      {"[fine]", "T", {"[fine]"}, true},
      {"[fine]\r\n", "T", {"[fine]"}, true},
      {"[fine]\r\n\r\n", "TT", {"[fine]", ""}, true},
      {"a\nb\rc\r\nd", "TTTT", {"a", "b", "c", "d"}, true},
      {"   spazi prima e dopo   ,x", "TT", {"spazi prima e dopo   ", "x"}, true},
      {"cartello_indicatore,  4550,   (GALLERIA )( 170 m.  )\r\n",
       "TIT",
       {"cartello_indicatore", "4550", "(GALLERIA )( 170 m.  )"},
       true},
      {"\"tra virgolette\",1", "TI", {"\"tra virgolette\"", "1"}, true},
      {"- Altitudine iniziale Tavena = 36 m.\r\n[pendenze]",
       "TT",
       {"- Altitudine iniziale Tavena = 36 m.", "[pendenze]"},
       true},
      // A row with fewer values takes the missing ones from the following line.
      {"velocita, 800\r\n85\r\n", "TII", {"velocita", "800", "85"}, true},
  };
  for (const auto& c : casi) {
    bool alla_fine = false;
    EXPECT_EQ(leggi(c.testo, c.operazioni, &alla_fine), c.attesi) << c.testo;
    EXPECT_EQ(alla_fine, c.alla_fine) << c.testo;
  }
}

// Why a number cannot be read, told at the field.
std::string motivo_di(LettoreCampi& l, int32_t (LettoreCampi::*leggi)()) {
  try {
    (l.*leggi)();
  } catch (const ErroreEsecuzione& e) {
    return e.motivo();
  }
  return "letto";
}

TEST(LettoreCampi, ValoriNonLeggibiliFalliscono) {
  const struct {
    const char* testo;
    std::string_view motivo;
  } casi[] = {
      {"+5", kMotivoNumeroAtteso},
      {"1.5", kMotivoNumeroAtteso},
      {"-", kMotivoNumeroAtteso},
      {"12a", kMotivoNumeroAtteso},
      {"abc", kMotivoNumeroAtteso},
      {"4\t", kMotivoNumeroAtteso},
      {"- 4", kMotivoNumeroAtteso},
      {"2147483648", kMotivoFuoriIntervallo},
      {"-2147483649", kMotivoFuoriIntervallo},
      {"9999999999999999999999", kMotivoFuoriIntervallo},
  };
  for (const auto& c : casi) {
    LettoreCampi l(c.testo);
    EXPECT_EQ(motivo_di(l, &LettoreCampi::leggi_intero), c.motivo) << c.testo;
  }
  LettoreCampi limiti("2147483647,-2147483648");
  EXPECT_EQ(limiti.leggi_intero(), INT32_MAX);
  EXPECT_EQ(limiti.leggi_intero(), INT32_MIN);
}

TEST(LettoreCampi, LarghezzeDelleDestinazioni) {
  LettoreCampi l("255,256,-32768,32768,-1");
  EXPECT_EQ(l.leggi_intero_8(), 255);
  EXPECT_THROW(l.leggi_intero_8(), ErroreEsecuzione);
  EXPECT_EQ(l.leggi_intero_16(), -32768);
  try {
    l.leggi_intero_16();
    FAIL() << "32768 letto in 16 bit";
  } catch (const ErroreEsecuzione& e) {
    EXPECT_EQ(e.motivo(), kMotivoFuoriIntervallo);
    EXPECT_EQ(e.colonna(), 16);
  }
  EXPECT_THROW(l.leggi_intero_8(), ErroreEsecuzione);
}

TEST(LettoreCampi, LetturaOltreLaFineFallisce) {
  LettoreCampi vuoto("");
  EXPECT_TRUE(vuoto.alla_fine());
  EXPECT_THROW(vuoto.leggi_testo(), ErroreEsecuzione);
  LettoreCampi l("x,1\r\n");
  l.leggi_testo();
  l.leggi_intero();
  // The field that is not there would begin on the line after the last.
  try {
    l.leggi_intero();
    FAIL() << "letto oltre la fine";
  } catch (const ErroreEsecuzione& e) {
    EXPECT_EQ(e.motivo(), kMotivoFineDelFile);
    EXPECT_EQ(e.riga(), 2);
    EXPECT_EQ(e.colonna(), 1);
  }
  EXPECT_THROW(l.leggi_testo(), ErroreEsecuzione);
}

TEST(LettoreCampi, SaDoveIniziaOgniCampo) {
  LettoreCampi l("a,b\r\n  pendenza,  85x");
  l.leggi_testo();
  l.leggi_testo();
  EXPECT_EQ(l.leggi_testo(), "pendenza");
  EXPECT_EQ(l.riga(), 2);
  EXPECT_EQ(l.colonna(), 3);
  try {
    l.leggi_intero();
    FAIL() << "85x letto";
  } catch (const ErroreEsecuzione& e) {
    EXPECT_EQ(e.motivo(), kMotivoNumeroAtteso);
    EXPECT_EQ(e.riga(), 2);
    EXPECT_EQ(e.colonna(), 14);
  }
}

}  // namespace
