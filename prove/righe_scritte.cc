#include "prove/righe_scritte.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <stdexcept>

std::vector<std::string> righe_scritte(std::string_view byte) {
  std::vector<std::string> righe;
  size_t inizio = 0;
  while (inizio < byte.size()) {
    const size_t fine = byte.find_first_of("\r\n", inizio);
    if (fine == std::string_view::npos) {
      throw std::invalid_argument("ultima riga senza CR LF");
    }
    if (byte.compare(fine, 2, "\r\n") != 0) {
      throw std::invalid_argument("CR o LF isolato dopo la riga " + std::to_string(righe.size()));
    }
    righe.emplace_back(byte.substr(inizio, fine - inizio));
    inizio = fine + 2;
  }
  return righe;
}

FileScritto testo_del_lavoro(Scrittore scrittore) {
  const Righe righe = scrittore();
  FileScritto file;
  file.righe_dichiarate = static_cast<int32_t>(righe_prima_della_sentinella(righe));
  file.byte = testo_delle_righe(righe);
  file.righe = righe_scritte(file.byte);
  return file;
}

std::vector<std::string_view> campi(std::string_view riga) {
  std::vector<std::string_view> out;
  size_t inizio = 0;
  for (;;) {
    const size_t virgola = riga.find(',', inizio);
    out.push_back(riga.substr(inizio, virgola - inizio));
    if (virgola == std::string_view::npos) {
      return out;
    }
    inizio = virgola + 1;
  }
}

std::optional<int32_t> intero(std::string_view campo) {
  const size_t primo = campo.find_first_not_of(' ');
  if (primo == std::string_view::npos) {
    return std::nullopt;
  }
  campo = campo.substr(primo, campo.find_last_not_of(' ') - primo + 1);
  int32_t valore = 0;
  const char* fine = campo.data() + campo.size();
  const auto [ptr, errore] = std::from_chars(campo.data(), fine, valore);
  if (errore != std::errc() || ptr != fine) {
    return std::nullopt;
  }
  return valore;
}

bool contiene(const std::vector<std::string>& righe, std::string_view riga) {
  return std::find(righe.begin(), righe.end(), riga) != righe.end();
}

std::vector<std::pair<size_t, std::string>> intestazioni(const std::vector<std::string>& righe) {
  std::vector<std::pair<size_t, std::string>> trovate;
  for (size_t i = 0; i < righe.size(); ++i) {
    if (righe[i].starts_with("[")) {
      trovate.emplace_back(i, righe[i]);
    }
  }
  return trovate;
}

void posizioni_in_ordine(const std::vector<int32_t>& posizioni, int32_t primo, int32_t ultimo,
                         std::string_view cosa, int32_t massimo) {
  ASSERT_FALSE(posizioni.empty()) << cosa;
  EXPECT_EQ(posizioni.front(), primo) << cosa;
  EXPECT_EQ(posizioni.back(), ultimo) << cosa;
  for (size_t i = 0; i < posizioni.size(); ++i) {
    EXPECT_EQ(posizioni[i] % 50, 0) << cosa << " " << posizioni[i];
    EXPECT_TRUE(posizioni[i] >= 0 && posizioni[i] <= massimo) << cosa << " " << posizioni[i];
    if (i > 0) {
      EXPECT_LT(posizioni[i - 1], posizioni[i]) << cosa;
    }
  }
}
