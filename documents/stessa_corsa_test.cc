// One run, three views: the timetable card and the slow-down order describe the run that
// the train source holds and that the compiled files carry to the simulator. Each file is
// read back as written and parsed (the compiled ones with the readers of the binary files);
// nothing is taken from the data that produced it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "compiler/leggi_binario.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "model/nomi_file.h"
#include "prove/righe_scritte.h"
#include "prove/scenario_compilato.h"
#include "sources/dati_treno.h"
#include "strumenti/ispezione/riepilogo.h"

namespace {

// The card's chainage of route position p, in metres, before the branch at 98250 m.
constexpr int32_t kOrigineProgressiva = 100949;
constexpr int32_t kInizioDiramazione = 98250;
constexpr int32_t kTolleranza = 50;

int32_t progressiva_di(int32_t p) {
  return kOrigineProgressiva - p;
}

std::string rifila(const std::string& t) {
  const size_t a = t.find_first_not_of(' ');
  return a == std::string::npos ? std::string() : t.substr(a, t.find_last_not_of(' ') - a + 1);
}

std::string maiuscolo(std::string t) {
  std::transform(t.begin(), t.end(), t.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return t;
}

std::optional<int32_t> velocita(const std::string& campo) {
  return rifila(campo).empty() ? std::nullopt : intero(campo);
}

// A time field "h.mm" followed by "+" or a blank, in seconds after midnight.
std::optional<int32_t> ora(const std::string& campo) {
  if (campo.size() != 5 || campo[1] != '.' || rifila(campo).empty()) {
    return std::nullopt;
  }
  const int32_t secondi = (std::stoi(campo.substr(0, 1)) * 60 + std::stoi(campo.substr(2, 2))) * 60;
  return secondi + (campo[4] == '+' ? 30 : 0);
}

struct RigaScheda {
  std::string nome;
  int32_t progressiva = 0;  // metres
  std::optional<int32_t> limite;
  std::optional<int32_t> marcia;    // running speed
  std::optional<int32_t> arrivo;    // stops and destination
  std::optional<int32_t> partenza;  // origin and stops
  std::optional<int32_t> transito;  // passing points
};

std::vector<RigaScheda> scheda() {
  const auto righe = testo_del_lavoro(dati_scheda).righe;
  std::vector<RigaScheda> out;
  if (righe.size() != 62) {
    ADD_FAILURE() << "la scheda non ha 62 righe";
    return out;
  }
  for (size_t i = 14; i < 58; ++i) {
    const std::string& r = righe[i];
    if (r.size() < 84) {
      ADD_FAILURE() << "riga corta: " << r;
      continue;
    }
    RigaScheda x;
    x.nome = rifila(r.substr(31, 28));
    const std::string km = rifila(r.substr(14, 10));
    const size_t punto = km.find('.');
    x.progressiva = std::stoi(km.substr(0, punto)) * 1000 + std::stoi(km.substr(punto + 1));
    x.limite = velocita(r.substr(2, 5));
    x.marcia = velocita(r.substr(8, 5));
    const std::string orario = r.substr(60, 17);
    const auto primo = ora(orario.substr(2, 5));
    const auto secondo = ora(orario.substr(12, 5));
    if (i == 14) {
      x.partenza = secondo;
    } else if (primo && secondo) {
      x.arrivo = primo;
      x.partenza = secondo;
    } else if (primo) {
      x.arrivo = primo;
    } else {
      x.transito = ora(orario.substr(7, 5));
    }
    out.push_back(x);
  }
  return out;
}

const std::vector<RigaScheda>& righe_scheda() {
  static const std::vector<RigaScheda> r = scheda();
  return r;
}

const FileScritto& treno() {
  static const FileScritto file = testo_del_lavoro(dati_treno);
  return file;
}

std::vector<std::vector<int32_t>> valori_di(std::string_view chiave) {
  std::vector<std::vector<int32_t>> out;
  for (const auto& riga : treno().righe) {
    const auto f = campi(riga);
    if (f.front() != chiave) {
      continue;
    }
    std::vector<int32_t> v;
    for (size_t k = 1; k < f.size(); ++k) {
      v.push_back(intero(f[k]).value_or(0));
    }
    out.push_back(v);
  }
  return out;
}

struct Stazione {
  int32_t posizione;
  int32_t sosta;
  int32_t orario;
  std::string nome;
};

std::vector<Stazione> stazioni() {
  std::vector<Stazione> out;
  for (const auto& riga : treno().righe) {
    const auto f = campi(riga);
    if (f.front() != "stazione" || f.size() != 18) {
      continue;
    }
    const auto v = [&](size_t k) { return intero(f[k]).value_or(0); };
    out.push_back({v(1), v(13), v(14) * 3600 + v(15) * 60 + v(16), rifila(std::string(f[17]))});
  }
  return out;
}

// The card row of each station, found in running order; nullptr where the name is missing.
std::vector<const RigaScheda*> righe_delle_stazioni() {
  std::vector<const RigaScheda*> out;
  const auto& card = righe_scheda();
  auto da = card.begin();
  for (const Stazione& s : stazioni()) {
    const auto it =
        std::find_if(da, card.end(), [&](const RigaScheda& r) { return r.nome == s.nome; });
    out.push_back(it == card.end() ? nullptr : &*it);
    if (it != card.end()) {
      da = it + 1;
    }
  }
  return out;
}

TEST(StessaCorsa, OgniStazioneNellaSchedaInOrdine) {
  const auto st = stazioni();
  ASSERT_EQ(st.size(), 29u);
  const auto righe = righe_delle_stazioni();
  for (size_t i = 0; i < st.size(); ++i) {
    EXPECT_NE(righe[i], nullptr) << st[i].nome
                                 << " manca nella scheda, o non nell'ordine della corsa";
  }
}

TEST(StessaCorsa, OrariESosteDelleStazioni) {
  const auto st = stazioni();
  const auto righe = righe_delle_stazioni();
  ASSERT_EQ(righe.size(), st.size());
  for (size_t i = 0; i < st.size(); ++i) {
    const RigaScheda* r = righe[i];
    if (r == nullptr || st[i].orario == 0) {
      continue;
    }
    if (i + 1 == st.size()) {
      EXPECT_EQ(r->arrivo, st[i].orario) << st[i].nome;
      EXPECT_EQ(r->partenza, std::nullopt) << st[i].nome;
      continue;
    }
    EXPECT_EQ(r->partenza, st[i].orario) << st[i].nome;
    if (i > 0) {
      ASSERT_TRUE(r->arrivo.has_value()) << st[i].nome << " ha un orario ma non ferma";
      EXPECT_EQ(*r->partenza - *r->arrivo, st[i].sosta) << st[i].nome;
    }
  }
}

TEST(StessaCorsa, ProgressivaDelleStazioni) {
  const auto st = stazioni();
  const auto righe = righe_delle_stazioni();
  ASSERT_EQ(righe.size(), st.size());
  for (size_t i = 0; i < st.size(); ++i) {
    if (righe[i] != nullptr && st[i].posizione < kInizioDiramazione) {
      EXPECT_LE(std::abs(righe[i]->progressiva - progressiva_di(st[i].posizione)), kTolleranza)
          << st[i].nome;
    }
  }
}

TEST(StessaCorsa, VelocitaDellaSchedaComeQuelleDelTreno) {
  const auto profilo = valori_di("velocita");
  ASSERT_FALSE(profilo.empty());
  // The limit that holds at q: the speed of the last row at or before q.
  const auto limite_a = [&](int32_t q) {
    int32_t v = 0;
    for (const auto& r : profilo) {
      if (r.at(0) <= q) {
        v = r.at(1);
      }
    }
    return v;
  };
  int confrontate = 0;
  for (const RigaScheda& r : righe_scheda()) {
    const int32_t p = kOrigineProgressiva - r.progressiva;
    if (!r.limite || p < 0 || p >= kInizioDiramazione) {
      continue;
    }
    ++confrontate;
    bool trovata = limite_a(p - kTolleranza) == *r.limite;
    for (const auto& riga : profilo) {
      trovata = trovata || (riga.at(0) > p - kTolleranza && riga.at(0) <= p + kTolleranza &&
                            riga.at(1) == *r.limite);
    }
    EXPECT_TRUE(trovata) << r.nome << ": " << *r.limite << " km/h nella scheda, " << limite_a(p)
                         << " nel treno";
  }
  EXPECT_GT(confrontate, 0);
}

TEST(StessaCorsa, RallentamentiDopoIlCippoETraLeStazioni) {
  const auto ordine = testo_del_lavoro(dati_rallentamenti).righe;
  ASSERT_EQ(ordine.size(), 41u);
  const auto treno_rall = valori_di("rallentamento");
  ASSERT_EQ(treno_rall.size(), 3u);
  const auto st = stazioni();
  const auto righe = righe_delle_stazioni();
  for (size_t n = 0; n < 3; ++n) {
    const std::string& r = ordine[13 + 2 * n];
    ASSERT_EQ(r.size(), 82u) << r;
    const int32_t cippo = intero(r.substr(35, 12)).value_or(-1);
    const int32_t v = intero(r.substr(48, 10)).value_or(-1);
    const int32_t l = intero(r.substr(59, 9)).value_or(-1);
    const int32_t x = treno_rall[n].at(0);
    EXPECT_EQ(v, treno_rall[n].at(1)) << r;
    EXPECT_EQ(l, treno_rall[n].at(2)) << r;
    // The last whole-kilometre post that the train passes before the restriction begins.
    const int32_t inizio = progressiva_di(x);
    EXPECT_TRUE(cippo * 1000 > inizio && (cippo - 1) * 1000 <= inizio) << r;
    // The two stations, consecutive on the run, on either side of the restriction.
    const std::string coppia = rifila(r.substr(6, 28));
    const size_t trattino = coppia.find(" - ");
    ASSERT_NE(trattino, std::string::npos) << r;
    const std::string prima = maiuscolo(coppia.substr(0, trattino));
    const std::string dopo = maiuscolo(coppia.substr(trattino + 3));
    const auto it =
        std::find_if(st.begin(), st.end(), [&](const Stazione& s) { return s.nome == prima; });
    ASSERT_NE(it, st.end()) << prima;
    const size_t k = static_cast<size_t>(it - st.begin());
    ASSERT_LT(k + 1, st.size());
    EXPECT_EQ(st[k + 1].nome, dopo) << r;
    ASSERT_TRUE(righe[k] != nullptr && righe[k + 1] != nullptr) << r;
    EXPECT_GT(righe[k]->progressiva, inizio) << r;
    EXPECT_GT(progressiva_di(x + l), righe[k + 1]->progressiva) << r;
  }
}

// --- The card and the order against the compiled run -------------------------------------

// What the simulator loads, read back from the files of the built-in run.
const Riepilogo& compilato() {
  static const Riepilogo r = [] {
    const ScenarioCompilato& c = scenario_incorporato();
    return riepiloga(leggi_tracciato(c.tracciato).tracciato, leggi_voci(c.voci).voci,
                     leggi_percorso(c.percorso).percorso);
  }();
  return r;
}

// The card row of each compiled station, found in running order; nullptr where missing.
std::vector<const RigaScheda*> righe_delle_stazioni_compilate() {
  std::vector<const RigaScheda*> out;
  const auto& card = righe_scheda();
  auto da = card.begin();
  for (const StazioneLetta& s : compilato().stazioni) {
    const auto it =
        std::find_if(da, card.end(), [&](const RigaScheda& r) { return r.nome == s.nome; });
    out.push_back(it == card.end() ? nullptr : &*it);
    if (it != card.end()) {
      da = it + 1;
    }
  }
  return out;
}

// A station with a time in the entry file departs at it (the last one arrives), after a stop
// of as many seconds as the entry holds; one without a time is a passing point on the card.
TEST(StessaCorsaCompilata, OrariESosteComeNelFileDelleVoci) {
  const auto& st = compilato().stazioni;
  ASSERT_EQ(st.size(), 29u);
  const auto righe = righe_delle_stazioni_compilate();
  for (size_t i = 0; i < st.size(); ++i) {
    const RigaScheda* r = righe[i];
    ASSERT_NE(r, nullptr) << st[i].nome << " manca nella scheda, o non nell'ordine della corsa";
    if (st[i].orario == 0) {
      EXPECT_TRUE(r->transito.has_value()) << st[i].nome << " senza orario nel file, non transita";
      continue;
    }
    if (i + 1 == st.size()) {
      EXPECT_EQ(r->arrivo, st[i].orario) << st[i].nome;
      continue;
    }
    EXPECT_EQ(r->partenza, st[i].orario) << st[i].nome;
    if (i > 0) {
      ASSERT_TRUE(r->arrivo.has_value()) << st[i].nome << " ha un orario ma non ferma";
      EXPECT_EQ(*r->partenza - *r->arrivo, st[i].sosta) << st[i].nome;
    }
  }
}

// The card's chainage of every station is the kilometre reading of its position, through the
// references of the compiled line, the branch to Crostia C.L.V. included.
TEST(StessaCorsaCompilata, ProgressiveDalRiferimentoChilometrico) {
  const auto& st = compilato().stazioni;
  const auto righe = righe_delle_stazioni_compilate();
  for (size_t i = 0; i < st.size(); ++i) {
    const auto km = chilometrica(compilato().riferimenti, st[i].posizione);
    ASSERT_TRUE(km.has_value()) << st[i].nome;
    ASSERT_NE(righe[i], nullptr) << st[i].nome;
    EXPECT_LE(std::abs(righe[i]->progressiva - *km), kTolleranza)
        << st[i].nome << ": " << righe[i]->progressiva << " sulla scheda, " << *km
        << " dal riferimento";
  }
  // A passing point named after its kilometre post stands at that post.
  for (const RigaScheda& r : righe_scheda()) {
    if (r.nome.starts_with("Chilometro ")) {
      const std::string post = r.nome.substr(11);
      const size_t piu = post.find('+');
      ASSERT_NE(piu, std::string::npos) << r.nome;
      EXPECT_EQ(std::stoi(post.substr(0, piu)) * 1000 + std::stoi(post.substr(piu + 1)),
                r.progressiva)
          << r.nome;
    }
  }
}

// Each slow-down of the track file is a row of the order, in the same order: its speed, its
// length, the last kilometre post passed before it begins, and the two stations of the run
// around it.
TEST(StessaCorsaCompilata, RallentamentiComeNelFileDelPercorso) {
  const auto ordine = testo_del_lavoro(dati_rallentamenti).righe;
  ASSERT_EQ(ordine.size(), 41u);
  const auto& rall = compilato().rallentamenti;
  ASSERT_EQ(rall.size(), 3u);
  const auto& st = compilato().stazioni;
  for (size_t n = 0; n < rall.size(); ++n) {
    const std::string& r = ordine[13 + 2 * n];
    ASSERT_EQ(r.size(), 82u) << r;
    EXPECT_EQ(intero(r.substr(2, 3)), static_cast<int32_t>(n) + 1) << r;
    EXPECT_EQ(intero(r.substr(48, 10)), rall[n].velocita) << r;
    EXPECT_EQ(intero(r.substr(59, 9)), rall[n].fine - rall[n].inizio) << r;
    // The reading falls along the run: the post passed last is the next whole kilometre up.
    const auto km = chilometrica(compilato().riferimenti, rall[n].inizio);
    ASSERT_TRUE(km.has_value());
    const int32_t cippo = intero(r.substr(35, 12)).value_or(-1);
    EXPECT_TRUE(cippo * 1000 > *km && (cippo - 1) * 1000 <= *km)
        << r << "\n  inizio a " << rall[n].inizio << " m, km " << *km;
    const std::string coppia = rifila(r.substr(6, 28));
    const size_t trattino = coppia.find(" - ");
    ASSERT_NE(trattino, std::string::npos) << r;
    const std::string prima = maiuscolo(coppia.substr(0, trattino));
    const auto it =
        std::find_if(st.begin(), st.end(), [&](const StazioneLetta& s) { return s.nome == prima; });
    ASSERT_NE(it, st.end()) << prima;
    ASSERT_NE(it + 1, st.end()) << prima;
    EXPECT_EQ((it + 1)->nome, maiuscolo(coppia.substr(trattino + 3))) << r;
    EXPECT_LT(it->posizione, rall[n].inizio) << r;
    EXPECT_GT((it + 1)->posizione, rall[n].fine) << r;
  }
}

// Reading down the card, the running speed shown never exceeds the last limit shown above it
// (on its own row or an earlier one).
TEST(StessaCorsa, VelocitaDiMarciaMaiSopraLUltimoLimite) {
  std::optional<int32_t> limite;
  for (const RigaScheda& r : righe_scheda()) {
    if (r.limite) {
      limite = r.limite;
    }
    if (r.marcia) {
      ASSERT_TRUE(limite.has_value()) << r.nome << ": velocita' di marcia prima di ogni limite";
      EXPECT_LE(*r.marcia, *limite)
          << r.nome << ": " << *r.marcia << " km/h di marcia, ultimo limite " << *limite;
    }
  }
}

}  // namespace
