#include "strumenti/lingua_scenario/canale_lsp.h"

#include <gtest/gtest.h>

#include <istream>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

// A chunk of input, `volte` times over.
struct Pezzo {
  std::string testo;
  size_t volte = 1;
};

// An input that hands its bytes over in the chunks it was given, as a pipe does: a read never
// returns more than the current chunk.
class Pezzi : public std::streambuf {
 public:
  explicit Pezzi(std::vector<Pezzo> pezzi) : pezzi_(std::move(pezzi)) {}

  // Whether a byte was asked for after the last: a pipe would have waited for it.
  bool chiesto_oltre() const { return chiesto_oltre_; }

 protected:
  int_type underflow() override {
    while (prossimo_ < pezzi_.size() &&
           (pezzi_[prossimo_].testo.empty() || dati_ == pezzi_[prossimo_].volte)) {
      ++prossimo_;
      dati_ = 0;
    }
    if (prossimo_ == pezzi_.size()) {
      chiesto_oltre_ = true;
      return traits_type::eof();
    }
    std::string& p = pezzi_[prossimo_].testo;
    ++dati_;
    setg(p.data(), p.data(), p.data() + p.size());
    return traits_type::to_int_type(p.front());
  }

 private:
  std::vector<Pezzo> pezzi_;
  size_t prossimo_ = 0;
  size_t dati_ = 0;  // how many times the current chunk was handed over
  bool chiesto_oltre_ = false;
};

// The bodies read until the input ends; "<nessuno>" for a message whose body was refused.
std::vector<std::string> corpi(std::vector<Pezzo> pezzi) {
  Pezzi buffer(std::move(pezzi));
  std::istream in(&buffer);
  std::vector<std::string> letti;
  while (const std::optional<MessaggioLetto> m = leggi_messaggio(in)) {
    letti.push_back(m->corpo.value_or("<nessuno>"));
  }
  return letti;
}

TEST(LeggiMessaggio, TheHeaderGivesTheBodyOrRefusesIt) {
  struct Caso {
    const char* ingresso;
    std::optional<std::string> corpo;
  };
  const Caso casi[] = {
      {"Content-Length: 2\r\n\r\n{}", "{}"},
      {"content-LENGTH: 2\r\n\r\n{}", "{}"},
      {"Content-Length:2\r\n\r\n{}", "{}"},
      {"Content-Length: \t2 \t\r\n\r\n{}", "{}"},
      // Another header beside it, before or after; line ends of LF alone.
      {"Content-Type: application/vscode-jsonrpc\r\nContent-Length: 2\r\n\r\n{}", "{}"},
      {"Content-Length: 2\r\nContent-Type: x\r\n\r\n{}", "{}"},
      {"Content-Length: 2\n\n{}", "{}"},
      // Blank lines before a header are skipped.
      {"\r\n\r\nContent-Length: 2\r\n\r\n{}", "{}"},
      // The length counts bytes, and a body may hold what looks like a header's end.
      {"Content-Length: 8\r\n\r\n\"\xC3\xA8\r\n\r\n\"", "\"\xC3\xA8\r\n\r\n\""},
      {"Content-Length: 0\r\n\r\n", ""},
      // No usable length: no body.
      {"Content-Type: x\r\n\r\n", std::nullopt},
      {"Content-Length: \r\n\r\n", std::nullopt},
      {"Content-Length: abc\r\n\r\n", std::nullopt},
      {"Content-Length: 2x\r\n\r\n{}", std::nullopt},
      {"Content-Length: -2\r\n\r\n{}", std::nullopt},
      {"Content-Length: 99999999999999999999999\r\n\r\n{}", std::nullopt},
      {"Content-Lengthy: 2\r\n\r\n{}", std::nullopt},
      // A second length that is wrong spoils the first.
      {"Content-Length: 2\r\nContent-Length: x\r\n\r\n{}", std::nullopt},
  };
  for (const Caso& c : casi) {
    std::istringstream in(c.ingresso);
    const std::optional<MessaggioLetto> m = leggi_messaggio(in);
    ASSERT_TRUE(m.has_value()) << c.ingresso;
    EXPECT_EQ(m->corpo, c.corpo) << c.ingresso;
  }
}

TEST(LeggiMessaggio, AnInputThatEndsInTheHeaderHasNoMessage) {
  for (const char* ingresso : {"", "\r\n", "Content-Length: 2", "Content-Length: 2\r\n"}) {
    std::istringstream in(ingresso);
    EXPECT_FALSE(leggi_messaggio(in).has_value()) << ingresso;
  }
}

TEST(LeggiMessaggio, ABodyTooLongIsSkippedAndTheNextMessageRead) {
  // A mebibyte of spaces handed over again and again, and one byte more.
  const std::string mebibyte(size_t{1} << 20, ' ');
  const size_t volte = kCorpoMassimo / mebibyte.size();
  ASSERT_EQ(volte * mebibyte.size(), kCorpoMassimo);
  EXPECT_EQ(corpi({{"Content-Length: " + std::to_string(kCorpoMassimo + 1) + "\r\n\r\n"},
                   {mebibyte, volte},
                   {" "},
                   {"Content-Length: 2\r\n\r\n{}"}}),
            (std::vector<std::string>{"<nessuno>", "{}"}));
}

// A message is read up to its last byte and no further, as the editor may send nothing more
// until it is answered: a body read or skipped, in one read or in many.
TEST(LeggiMessaggio, NoByteIsAskedForAfterTheMessage) {
  const std::string mebibyte(size_t{1} << 20, ' ');
  const std::string troppo = "Content-Length: " + std::to_string(kCorpoMassimo + 3) + "\r\n\r\n";
  const std::vector<std::vector<Pezzo>> ingressi = {
      {{"Content-Length: 2\r\n\r\n{}"}},
      {{"Content-Length: 2\r\n\r\n{"}, {"}"}},
      {{troppo}, {mebibyte, kCorpoMassimo / mebibyte.size()}, {"[]["}},
      {{troppo}, {mebibyte, kCorpoMassimo / mebibyte.size()}, {"["}, {"]["}},
  };
  for (size_t i = 0; i < ingressi.size(); ++i) {
    Pezzi buffer(ingressi[i]);
    std::istream in(&buffer);
    const std::optional<MessaggioLetto> m = leggi_messaggio(in);
    ASSERT_TRUE(m.has_value()) << i;
    EXPECT_TRUE(m->corpo.has_value() != (m->scartato == kCorpoMassimo + 3)) << i;
    EXPECT_FALSE(buffer.chiesto_oltre()) << "ingresso " << i;
  }
}

TEST(LeggiMessaggio, AMessageSplitAnywhereIsReadWhole) {
  const std::string m = "Content-Length: 17\r\n\r\n{\"a\":[1,2],\"b\":3}";
  for (size_t taglio = 0; taglio <= m.size(); ++taglio) {
    EXPECT_EQ(corpi({{m.substr(0, taglio)}, {m.substr(taglio)}}),
              std::vector<std::string>{"{\"a\":[1,2],\"b\":3}"})
        << "tagliato al byte " << taglio;
  }
  // One byte at a time.
  std::vector<Pezzo> byte;
  for (const char c : m) {
    byte.push_back({std::string(1, c)});
  }
  EXPECT_EQ(corpi(byte), std::vector<std::string>{"{\"a\":[1,2],\"b\":3}"});
}

TEST(LeggiMessaggio, TwoMessagesInOneReadAreBothRead) {
  EXPECT_EQ(corpi({{"Content-Length: 2\r\n\r\n{}Content-Length: 7\r\n\r\n[1,2,3]"}}),
            (std::vector<std::string>{"{}", "[1,2,3]"}));
  // And the second one split across the next read.
  EXPECT_EQ(corpi({{"Content-Length: 2\r\n\r\n{}Content-Le"}, {"ngth: 7\r\n\r\n[1,"}, {"2,3]"}}),
            (std::vector<std::string>{"{}", "[1,2,3]"}));
}

TEST(ScriviMessaggio, WhatIsWrittenReadsBackAsTheSameBodies) {
  const std::vector<std::string> scritti = {"{}", "", "{\"t\":\"\xC3\xA8\\r\\n\"}\r\n\r\n"};
  std::ostringstream out;
  for (const std::string& c : scritti) {
    scrivi_messaggio(out, c);
  }
  EXPECT_EQ(out.str().substr(0, 22), "Content-Length: 2\r\n\r\n{");
  EXPECT_EQ(corpi({{out.str()}}), scritti);
}

}  // namespace
