#include "compiler/codici_gara.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "compiler/errore.h"

namespace {

Scenario con_identita(const std::string& treno, const std::string& nome) {
  Scenario s;
  s.voci[kVoceRipetizione].testo = treno;
  s.voci[kVoceScenario].testo = nome;
  return s;
}

TEST(MinuscoloWindows1252, SoloLeMaiuscoleDellaCodifica) {
  const struct {
    uint8_t dentro, fuori;
  } casi[] = {
      {'A', 'a'},   {'Z', 'z'},   {'@', '@'},   {'[', '['},   {'a', 'a'},   {'1', '1'},
      {'_', '_'},   {0xC0, 0xE0}, {0xC8, 0xE8}, {0xD6, 0xF6}, {0xD7, 0xD7}, {0xD8, 0xF8},
      {0xDE, 0xFE}, {0xDF, 0xDF}, {0xBF, 0xBF}, {0xE0, 0xE0}, {0xFF, 0xFF}, {0x8A, 0x9A},
      {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}, {0x9A, 0x9A}, {0x80, 0x80}, {0x00, 0x00},
  };
  for (const auto& c : casi) {
    const std::string dentro(1, static_cast<char>(c.dentro));
    EXPECT_EQ(minuscolo_1252(dentro), std::string(1, static_cast<char>(c.fuori)))
        << "byte 0x" << std::hex << int{c.dentro};
  }
}

TEST(CodiciGara, EsempioDelleDueSommeEMaiuscoleUguali) {
  for (const char* nome : {"abcdefghijklmnop", "ABCDEFGHIJKLMNOP", "AbCdEfGhIjKlMnOp"}) {
    Scenario s = con_identita("1234567890", nome);
    EXPECT_EQ(codice_gara_og(s), 2085) << nome;
    EXPECT_EQ(codice_gara_st(s), 31285) << nome;
    EXPECT_EQ(testo_del_codice(s), "1234567890abcdefghijklmnopppqqrrssttuuvvzzbbddffhhmm") << nome;
  }
}

TEST(CodiciGara, TestoDelCodiceDelloScenarioIncorporato) {
  Scenario s = con_identita("4417", "Tavena_Crostia");
  EXPECT_EQ(testo_del_codice(s), "4417tavena_crostiappqqrrssttuuvvzzbbddffhhmm");
}

TEST(CodiciGara, LaCodaCompletaUnIdentitaCorta) {
  // First 25 bytes: "1ppqqrrssttuuvvzzbbddffhh".
  Scenario s = con_identita("1", "");
  EXPECT_EQ(codice_gara_og(s), 2711);
  EXPECT_EQ(codice_gara_st(s), 35284);
}

TEST(CodiciGara, OltreIl25esimoByteNonConta) {
  Scenario corto = con_identita("1234567890", "abcdefghijklmno");
  Scenario lungo = con_identita("1234567890", "abcdefghijklmnoXYZ\xC0");
  EXPECT_EQ(codice_gara_og(corto), codice_gara_og(lungo));
  EXPECT_EQ(codice_gara_st(corto), codice_gara_st(lungo));
}

TEST(CodiciGara, IlNumeroDelTrenoVienePrima) {
  Scenario s = con_identita("ab", "cd");
  Scenario scambiato = con_identita("cd", "ab");
  EXPECT_EQ(codice_gara_st(s), 35839);
  EXPECT_EQ(codice_gara_st(scambiato), 35831);
}

TEST(CodiciGara, LettereAccentateMaiuscoleComeMinuscole) {
  Scenario maiuscole = con_identita("4417", "\xC8\xD6\x8A\x9F");
  Scenario minuscole = con_identita("4417", "\xE8\xF6\x9A\xFF");
  EXPECT_EQ(codice_gara_og(maiuscole), codice_gara_og(minuscole));
  EXPECT_EQ(codice_gara_st(maiuscole), codice_gara_st(minuscole));
}

Scenario da_timbrare() {
  Scenario s = con_identita("1234567890", "abcdefghijklmnop");
  s.percorso.resize(3);
  return s;
}

TEST(ApplicaTimbri, MarcheECodiciNellaVoce85ENellaCella1) {
  Scenario s = da_timbrare();
  s.percorso[1].genere = kSegnale;  // only the two value fields are checked and written
  s.percorso[1].valore_3 = 7;
  applica_timbri(s);
  EXPECT_EQ(s.voci[kVoceScenario].dato_1, 610);
  EXPECT_EQ(s.voci[kVoceScenario].orario, 31285);
  EXPECT_EQ(s.percorso[1].valore_1, 5121);
  EXPECT_EQ(s.percorso[1].valore_2, 2085);
  EXPECT_EQ(s.percorso[1].genere, kSegnale);
  EXPECT_EQ(s.percorso[1].valore_3, 7);
  EXPECT_EQ(s.percorso[0], Cella{});
  EXPECT_EQ(s.percorso[2], Cella{});
}

TEST(ApplicaTimbri, UnCampoGiaScrittoFermaLaCorsa) {
  const struct {
    const char* nome;
    void (*prepara)(Scenario&);
    const char* messaggio;
  } casi[] = {
      {"dato_1 della voce 85", [](Scenario& s) { s.voci[kVoceScenario].dato_1 = 1; },
       " Errore n. 1250"},
      {"valore_1 della cella 1", [](Scenario& s) { s.percorso[1].valore_1 = -1; },
       " Errore n. 1250"},
      {"orario della voce 85", [](Scenario& s) { s.voci[kVoceScenario].orario = 60; },
       " Errore n. 1251"},
      {"valore_2 della cella 1", [](Scenario& s) { s.percorso[1].valore_2 = 3; },
       " Errore n. 1251"},
  };
  for (const auto& c : casi) {
    Scenario s = da_timbrare();
    c.prepara(s);
    const Voce voce_prima = s.voci[kVoceScenario];
    const Cella cella_prima = s.percorso[1];
    try {
      applica_timbri(s);
      ADD_FAILURE() << c.nome << ": nessun errore";
    } catch (const ErroreTerminale& e) {
      EXPECT_STREQ(e.what(), c.messaggio) << c.nome;
    }
    if (std::string(c.messaggio).ends_with("1250")) {
      EXPECT_EQ(s.voci[kVoceScenario], voce_prima) << c.nome;
      EXPECT_EQ(s.percorso[1], cella_prima) << c.nome;
    } else {
      // The marks are in, the codes are not.
      EXPECT_EQ(s.voci[kVoceScenario].dato_1, 610) << c.nome;
      EXPECT_EQ(s.percorso[1].valore_1, 5121) << c.nome;
      EXPECT_EQ(s.voci[kVoceScenario].orario, voce_prima.orario) << c.nome;
      EXPECT_EQ(s.percorso[1].valore_2, cella_prima.valore_2) << c.nome;
    }
  }
}

TEST(ApplicaTimbri, SenzaCella1EUnGuasto) {
  for (size_t celle : {0u, 1u}) {
    Scenario s = da_timbrare();
    s.percorso.resize(celle);
    try {
      applica_timbri(s);
      ADD_FAILURE() << celle << " celle: nessun errore";
    } catch (const ErroreTerminale& e) {
      ADD_FAILURE() << celle << " celle: " << e.what();
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(s.voci[kVoceScenario].dato_1, 0);
  }
}

}  // namespace
