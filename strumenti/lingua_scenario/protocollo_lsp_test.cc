#include "strumenti/lingua_scenario/protocollo_lsp.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

// A client that takes every optional feature, and one that takes none.
CapacitaCliente tutto() {
  CapacitaCliente k;
  k.snippet = k.markdown_descrizione = k.markdown_firma = k.informazioni_collegate = true;
  k.simboli_gerarchici = k.suggerimenti = k.azioni_letterali = true;
  return k;
}
const CapacitaCliente kNiente;

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
  const json j = diagnostica_lsp(d, documento, tutto());
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
  const json a = diagnostica_lsp(avviso, documento, tutto());
  EXPECT_EQ(a["severity"], 2);
  EXPECT_EQ(a["code"], "riga_sconosciuta");
  EXPECT_FALSE(a.contains("relatedInformation"));
  const Diagnosi senza{Gravita::errore, {"/d/P_7-.txt", 1, 1}, {}, "x", "", {}};
  EXPECT_FALSE(diagnostica_lsp(senza, documento, tutto()).contains("code"));
  // A client without related information reads the note in the message, as a compiler
  // prints it.
  const json piatta = diagnostica_lsp(d, documento, kNiente);
  EXPECT_FALSE(piatta.contains("relatedInformation"));
  EXPECT_EQ(piatta["message"], "cella occupata\nP_linea.txt:2: la riga che la occupa");
  EXPECT_EQ(piatta["range"], j["range"]);
}

// A character without a byte is one character wide, not its field's width: "☃" takes one
// UTF-16 unit and three UTF-8 bytes, "😀" two units and four bytes.
TEST(ProtocolloLsp, ACharacterWithoutAByteSpansThatCharacter) {
  const TestoEditor t(
      "cartello_indicatore, 1000, PRIMO \xe2\x98\x83"
      "SECONDO\r\n"
      "x, \xf0\x9f\x98\x80"
      "abc\r\n");
  ASSERT_EQ(t.mancanti().size(), 2u);
  const auto documento = [&](const std::string&) {
    return DocumentoLsp{"file:///d/P_linea.txt", &t};
  };
  struct Caso {
    size_t mancante;
    UnitaPosizione unita;
    int inizio;
    int fine;
  };
  const Caso casi[] = {
      {0, UnitaPosizione::utf16, 33, 34},
      {0, UnitaPosizione::utf8, 33, 36},
      {1, UnitaPosizione::utf16, 3, 5},
      {1, UnitaPosizione::utf8, 3, 7},
  };
  for (const Caso& c : casi) {
    const CarattereMancante& m = t.mancanti()[c.mancante];
    const Diagnosi d{Gravita::errore,
                     {"/d/P_linea.txt", m.riga, m.colonna},
                     std::string(kCarattereSenzaByte),
                     "carattere che Windows-1252 non ha",
                     "",
                     {}};
    CapacitaCliente k;
    k.unita = c.unita;
    const json r = diagnostica_lsp(d, documento, k)["range"];
    EXPECT_EQ(r["start"]["character"], c.inizio) << c.mancante;
    EXPECT_EQ(r["end"]["character"], c.fine) << c.mancante;
    EXPECT_EQ(r["start"]["line"], r["end"]["line"]);
  }
}

const std::vector<VoceCompletamento> kVoci = {
    {"curvas", "curva a sinistra", true, {"inizio", "lunghezza"}},
    {"sabbia", "sabbia a bordo", false, {"sabbia"}}};

TEST(ProtocolloLsp, ACompletionIsASnippetWithAStopAtEachField) {
  const json j = completamento_lsp(kVoci, tutto());
  ASSERT_EQ(j.size(), 2u);
  EXPECT_EQ(j[0]["insertText"], "curvas${1|1,2,3,4,5,6|},  ${2:inizio},  ${3:lunghezza}");
  EXPECT_EQ(j[0]["insertTextFormat"], 2);
  EXPECT_EQ(j[1]["insertText"], "sabbia,  ${1:sabbia}");
  EXPECT_EQ(j[1]["label"], "sabbia");
  EXPECT_EQ(j[1]["detail"], "sabbia a bordo");
}

// Without snippets the keyword is inserted as it is; the fields are named in the detail.
TEST(ProtocolloLsp, ACompletionIsPlainTextForAClientWithoutSnippets) {
  const json j = completamento_lsp(kVoci, kNiente);
  ASSERT_EQ(j.size(), 2u);
  for (const json& v : j) {
    EXPECT_EQ(v["insertTextFormat"], 1);
    EXPECT_EQ(v["insertText"].get<std::string>().find('$'), std::string::npos) << v;
  }
  EXPECT_EQ(j[0]["insertText"], "curvas");
  EXPECT_EQ(j[0]["detail"], "curva a sinistra: curvas1-6, inizio, lunghezza");
  EXPECT_EQ(j[1]["insertText"], "sabbia");
}

TEST(ProtocolloLsp, AHoverInMarkdownOrPlainText) {
  const DescrizioneRiga d{"segnale", "segnale", {"cella 21", "pendenza: 0 per mille"}};
  const json md = descrizione_lsp(d, tutto());
  EXPECT_EQ(md["contents"]["kind"], "markdown");
  EXPECT_EQ(md["contents"]["value"], "**segnale**: segnale\n- cella 21\n- pendenza: 0 per mille");
  const json semplice = descrizione_lsp(d, kNiente);
  EXPECT_EQ(semplice["contents"]["kind"], "plaintext");
  EXPECT_EQ(semplice["contents"]["value"], "segnale: segnale\ncella 21\npendenza: 0 per mille");
}

TEST(ProtocolloLsp, ASignatureDocumentedInMarkdownOrPlainText) {
  const FirmaRiga f{"velocita, posizione", "velocita massima", {{"posizione", "da 0 m"}}, 0};
  const json md = firma_lsp(f, tutto())["signatures"][0];
  EXPECT_EQ(md["documentation"], json({{"kind", "markdown"}, {"value", "velocita massima"}}));
  EXPECT_EQ(md["parameters"][0]["documentation"]["kind"], "markdown");
  const json semplice = firma_lsp(f, kNiente)["signatures"][0];
  EXPECT_EQ(semplice["documentation"], "velocita massima");
  EXPECT_EQ(semplice["parameters"][0]["documentation"], "da 0 m");
}

TEST(ProtocolloLsp, AHintAndAQuickFix) {
  const TestoEditor t("stazione,   10900, 4\r\n");
  const json h = suggerimento_lsp(t, {{0, 17}, "km 90.050"}, kNiente);
  EXPECT_EQ(h, json::parse(R"({"position": {"line": 0, "character": 17}, "label": "km 90.050",
                               "paddingLeft": true})"));
  const json c =
      correzione_lsp(t, "file:///d/P_7-.txt", {"posizione 10900", {{{{0, 12}, {0, 17}}, "10900"}}},
                     json({{"message", "x"}}), kNiente);
  EXPECT_EQ(c["kind"], "quickfix");
  EXPECT_EQ(c["diagnostics"], json::array({{{"message", "x"}}}));
  EXPECT_EQ(c["edit"]["changes"]["file:///d/P_7-.txt"][0]["newText"], "10900");
  EXPECT_EQ(c["edit"]["changes"]["file:///d/P_7-.txt"][0]["range"]["start"]["character"], 12);
}

TEST(ProtocolloLsp, AnOutlineHeaderSpansItsRowsAndSelectsItsLine) {
  const TestoEditor t("[generale]\r\nstazione, 0\r\n");
  const std::vector<SimboloSorgente> albero = {
      {"[generale]",
       GenereSimbolo::sezione,
       {{0, 0}, {1, 11}},
       {{0, 0}, {0, 10}},
       {{"A (0 m)", GenereSimbolo::stazione, {{1, 0}, {1, 11}}, {{1, 0}, {1, 11}}, {}}}}};
  const json j = simboli_lsp(t, "file:///d/P_7-.txt", albero, tutto());
  ASSERT_EQ(j.size(), 1u);
  EXPECT_EQ(j[0]["kind"], 3);
  EXPECT_EQ(j[0]["range"]["end"], json({{"line", 1}, {"character", 11}}));
  EXPECT_EQ(j[0]["selectionRange"]["end"], json({{"line", 0}, {"character", 10}}));
  ASSERT_EQ(j[0]["children"].size(), 1u);
  EXPECT_EQ(j[0]["children"][0]["kind"], 20);
  EXPECT_FALSE(j[0]["children"][0].contains("children"));
  // A flat list for a client without the tree: each row names its section.
  const json piatta = simboli_lsp(t, "file:///d/P_7-.txt", albero, kNiente);
  ASSERT_EQ(piatta.size(), 2u);
  EXPECT_EQ(piatta[0]["name"], "[generale]");
  EXPECT_EQ(piatta[0]["location"]["uri"], "file:///d/P_7-.txt");
  EXPECT_EQ(piatta[0]["location"]["range"]["end"], json({{"line", 1}, {"character", 11}}));
  EXPECT_FALSE(piatta[0].contains("containerName"));
  EXPECT_EQ(piatta[1]["name"], "A (0 m)");
  EXPECT_EQ(piatta[1]["kind"], 20);
  EXPECT_EQ(piatta[1]["containerName"], "[generale]");
  for (const json& x : piatta) {
    EXPECT_FALSE(x.contains("children"));
    EXPECT_FALSE(x.contains("selectionRange"));
  }
}

}  // namespace
