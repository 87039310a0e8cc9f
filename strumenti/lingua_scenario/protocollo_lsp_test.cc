#include "strumenti/lingua_scenario/protocollo_lsp.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

TEST(ProtocolloLsp, FileUrisAndPaths) {
  struct Caso {
    const char* percorso;
    const char* uri;
  };
  const Caso casi[] = {
      {"/tmp/Prova_linea.txt", "file:///tmp/Prova_linea.txt"},
      {"/tmp/a b/CITT\xc3\x80_7-.txt", "file:///tmp/a%20b/CITT%C3%80_7-.txt"},
      {"C:/Linee/Prova_linea.txt", "file:///C:/Linee/Prova_linea.txt"},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(uri_di(c.percorso), c.uri);
    EXPECT_EQ(percorso_di(c.uri), c.percorso);
  }
  EXPECT_EQ(percorso_di("file:///tmp/%7e%zz"), "/tmp/~%zz");
  EXPECT_FALSE(percorso_di("untitled:Prova_linea.txt").has_value());
}

TEST(ProtocolloLsp, TheServerCountsInUtf8OnlyWhenOffered) {
  struct Caso {
    const char* capacita;
    UnitaPosizione unita;
  };
  const Caso casi[] = {
      {R"({})", UnitaPosizione::utf16},
      {R"({"general": {"positionEncodings": ["utf-16"]}})", UnitaPosizione::utf16},
      {R"({"general": {"positionEncodings": ["utf-32", "utf-8"]}})", UnitaPosizione::utf8},
      {R"({"general": {"positionEncodings": []}})", UnitaPosizione::utf16},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(unita_offerta(json::parse(c.capacita)), c.unita) << c.capacita;
  }
  EXPECT_STREQ(nome_unita(UnitaPosizione::utf8), "utf-8");
  EXPECT_STREQ(nome_unita(UnitaPosizione::utf16), "utf-16");
}

// "È" is one byte of the compile, one UTF-16 unit and two UTF-8 bytes; "😀" has no byte and
// is one byte '?' of the compile, two UTF-16 units and four UTF-8 bytes.
TEST(ProtocolloLsp, PlacesInEachEncodingFromByteColumns) {
  const TestoEditor t("x\r\n\xc3\x88\xf0\x9f\x98\x80, 5\r\n");
  struct Caso {
    UnitaPosizione unita;
    int carattere;  // of the byte column 4, the "5"
  };
  for (const Caso c : {Caso{UnitaPosizione::utf16, 5}, Caso{UnitaPosizione::utf8, 8}}) {
    const json r = intervallo_lsp(&t, {{1, 4}, {1, 5}}, c.unita);
    EXPECT_EQ(r["start"], json({{"line", 1}, {"character", c.carattere}}));
    EXPECT_EQ(r["end"], json({{"line", 1}, {"character", c.carattere + 1}}));
    const std::optional<PuntoByte> p =
        punto_byte(t, {{"line", 1}, {"character", c.carattere}}, c.unita);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(*p, (PuntoByte{1, 4}));
  }
  EXPECT_FALSE(punto_byte(t, {{"line", 3}, {"character", 0}}, UnitaPosizione::utf16));
  EXPECT_THROW(punto_byte(t, {{"line", "uno"}}, UnitaPosizione::utf16), json::exception);
  EXPECT_EQ(intervallo_lsp(nullptr, {{1, 3}, {1, 4}}, UnitaPosizione::utf16)["end"],
            json({{"line", 0}, {"character", 0}}));
}

TEST(ProtocolloLsp, AProblemWithANoteInTheOtherFile) {
  const TestoEditor treno("[generale]\r\nsegnale, 1000, 1\r\n");
  const TestoEditor linea("[generale]\r\ncartello_indicatore, 1000, PRIMO\r\n");
  Diagnosi d{Gravita::errore, {"/d/P_7-.txt", 2, 10}, int32_t{16}, "cella occupata", "", {}};
  d.note.push_back({{"/d/P_linea.txt", 2, 22}, "la riga che la occupa", ""});
  const auto documento = [&](const std::string& f) {
    return f == "/d/P_linea.txt" ? DocumentoLsp{"file:///d/P_linea.txt", &linea}
                                 : DocumentoLsp{"file:///d/P_7-.txt", &treno};
  };
  const json j = diagnostica_lsp(d, documento, UnitaPosizione::utf16);
  EXPECT_EQ(j, json::parse(R"({
    "range": {"start": {"line": 1, "character": 9}, "end": {"line": 1, "character": 13}},
    "severity": 1, "source": "lingua_scenario", "message": "cella occupata", "code": 16,
    "relatedInformation": [{"message": "la riga che la occupa", "location": {
      "uri": "file:///d/P_linea.txt",
      "range": {"start": {"line": 1, "character": 21}, "end": {"line": 1, "character": 25}}}}]
  })"));
  const Diagnosi avviso{Gravita::avviso,
                        {"/d/P_7-.txt", 0, 0},
                        std::string("riga_sconosciuta"),
                        "riga sconosciuta",
                        "",
                        {}};
  const json a = diagnostica_lsp(avviso, documento, UnitaPosizione::utf16);
  EXPECT_EQ(a["severity"], 2);
  EXPECT_EQ(a["code"], "riga_sconosciuta");
  EXPECT_FALSE(a.contains("relatedInformation"));
  const Diagnosi senza{Gravita::errore, {"/d/P_7-.txt", 1, 1}, {}, "x", "", {}};
  EXPECT_FALSE(diagnostica_lsp(senza, documento, UnitaPosizione::utf16).contains("code"));
}

TEST(ProtocolloLsp, ACompletionIsASnippetWithAStopAtEachField) {
  const json j = completamento_lsp({{"curvas", "curva a sinistra", true, {"inizio", "lunghezza"}},
                                    {"sabbia", "sabbia a bordo", false, {"sabbia"}}});
  ASSERT_EQ(j.size(), 2u);
  EXPECT_EQ(j[0]["insertText"], "curvas${1|1,2,3,4,5,6|},  ${2:inizio},  ${3:lunghezza}");
  EXPECT_EQ(j[1]["insertText"], "sabbia,  ${1:sabbia}");
  EXPECT_EQ(j[1]["label"], "sabbia");
  EXPECT_EQ(j[1]["detail"], "sabbia a bordo");
}

TEST(ProtocolloLsp, AHoverInMarkdown) {
  const json j = descrizione_lsp({"segnale", "segnale", {"cella 21", "pendenza: 0 per mille"}});
  EXPECT_EQ(j["contents"]["kind"], "markdown");
  EXPECT_EQ(j["contents"]["value"], "**segnale**: segnale\n- cella 21\n- pendenza: 0 per mille");
}

TEST(ProtocolloLsp, AnOutlineHeaderSpansItsRowsAndSelectsItsLine) {
  const TestoEditor t("[generale]\r\nstazione, 0\r\n");
  const json j = simboli_lsp(
      t,
      {{"[generale]",
        GenereSimbolo::sezione,
        {{0, 0}, {1, 11}},
        {{0, 0}, {0, 10}},
        {{"A (0 m)", GenereSimbolo::stazione, {{1, 0}, {1, 11}}, {{1, 0}, {1, 11}}, {}}}}},
      UnitaPosizione::utf16);
  ASSERT_EQ(j.size(), 1u);
  EXPECT_EQ(j[0]["kind"], 3);
  EXPECT_EQ(j[0]["range"]["end"], json({{"line", 1}, {"character", 11}}));
  EXPECT_EQ(j[0]["selectionRange"]["end"], json({{"line", 0}, {"character", 10}}));
  ASSERT_EQ(j[0]["children"].size(), 1u);
  EXPECT_EQ(j[0]["children"][0]["kind"], 20);
  EXPECT_FALSE(j[0]["children"][0].contains("children"));
}

}  // namespace
