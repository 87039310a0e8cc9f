#include "strumenti/lingua_scenario/coppia_sorgenti.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "sources/codifica_1252.h"
#include "strumenti/comune/diagnosi_compilazione.h"

namespace {

constexpr std::string_view kSuffissoLinea = "_linea.txt";
constexpr std::string_view kSuffissoTreno = "-.txt";

std::pair<std::string, std::string> cartella_e_nome(const std::string& percorso) {
  const size_t barra = percorso.find_last_of("/\\");
  if (barra == std::string::npos) {
    return {".", percorso};
  }
  return {percorso.substr(0, barra), percorso.substr(barra + 1)};
}

// What a source's file name says: line or train, the scenario's name and the train's number.
struct NomeSorgente {
  GenereSorgente genere = GenereSorgente::linea;
  std::string scenario;
  std::string treno;
};

std::optional<NomeSorgente> nome_sorgente(const std::string& nome) {
  if (nome.size() > kSuffissoLinea.size() && nome.ends_with(kSuffissoLinea)) {
    return NomeSorgente{GenereSorgente::linea, nome.substr(0, nome.size() - kSuffissoLinea.size()),
                        ""};
  }
  if (nome.ends_with(kSuffissoTreno)) {
    const std::string base = nome.substr(0, nome.size() - kSuffissoTreno.size());
    const size_t sotto = base.rfind('_');
    if (sotto != std::string::npos && sotto > 0 && sotto + 1 < base.size()) {
      return NomeSorgente{GenereSorgente::treno, base.substr(0, sotto), base.substr(sotto + 1)};
    }
  }
  return std::nullopt;
}

// The source at `percorso`: the editor's text when it is open, the disk's otherwise.
std::optional<Fonte> fonte(const std::string& percorso, const DocumentiAperti& aperti,
                           piattaforma::Disco& disco) {
  const auto a = std::find_if(aperti.begin(), aperti.end(),
                              [&](const auto& e) { return e.second.percorso == percorso; });
  if (a != aperti.end()) {
    return Fonte{percorso, a->second.testo};
  }
  try {
    if (disco.esiste(percorso)) {
      return Fonte{percorso, std::make_shared<const TestoEditor>(da_1252(disco.leggi(percorso)))};
    }
  } catch (const piattaforma::ErroreFile&) {
    // A file that cannot be read is compiled as one that is missing.
  }
  return std::nullopt;
}

// The names of the train sources of `scenario` in `cartella`, open or on the disk, by name.
std::vector<std::string> sorgenti_treno(const std::string& cartella, const std::string& scenario,
                                        const DocumentiAperti& aperti, piattaforma::Disco& disco) {
  std::vector<std::string> nomi;
  const auto del_treno = [&](const std::string& nome) {
    const std::optional<NomeSorgente> n = nome_sorgente(nome);
    return n && n->genere == GenereSorgente::treno && n->scenario == scenario;
  };
  for (const auto& [u, aperta] : aperti) {
    const auto [c, nome] = cartella_e_nome(aperta.percorso);
    if (c == cartella && del_treno(nome)) {
      nomi.push_back(nome);
    }
  }
  try {
    for (const std::string& nome : disco.elenca(cartella)) {
      if (del_treno(nome)) {
        nomi.push_back(nome);
      }
    }
  } catch (const piattaforma::ErroreFile&) {
    // A folder that cannot be listed gives no train source.
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

}  // namespace

CoppiaCompilata compila_coppia(const std::string& proprio, const DocumentiAperti& aperti,
                               piattaforma::Disco& disco) {
  CoppiaCompilata k;
  const auto [cartella, nome] = cartella_e_nome(proprio);
  const std::optional<NomeSorgente> n = nome_sorgente(nome);
  OpzioniCompilazione opzioni;
  if (!n) {
    // A file of neither name is compiled as a line source alone.
    k.linea = fonte(proprio, aperti, disco).value_or(Fonte{proprio, nullptr});
    k.treno = Fonte{proprio + ".treno", nullptr};
    opzioni.nome_scenario = "sorgente";
    opzioni.numero_treno = "0";
  } else {
    opzioni.nome_scenario = TestoEditor(n->scenario).byte_1252();
    const std::string linea = cartella + "/" + n->scenario + std::string(kSuffissoLinea);
    std::string treno = proprio;
    std::string numero = n->treno;
    if (n->genere == GenereSorgente::linea) {
      const std::vector<std::string> nomi = sorgenti_treno(cartella, n->scenario, aperti, disco);
      treno.clear();
      numero = "0";
      if (!nomi.empty()) {
        treno = cartella + "/" + nomi.front();
        numero = nome_sorgente(nomi.front())->treno;
      }
    }
    opzioni.numero_treno = TestoEditor(numero).byte_1252();
    k.linea = fonte(linea, aperti, disco).value_or(Fonte{linea, nullptr});
    k.treno = treno.empty() ? Fonte{cartella + "/-", nullptr}
                            : fonte(treno, aperti, disco).value_or(Fonte{treno, nullptr});
  }
  const auto testo = [](const Fonte& f) -> std::optional<std::string_view> {
    if (!f.testo) {
      return std::nullopt;
    }
    return f.testo->byte_1252();
  };
  k.c = compila(testo(k.linea), testo(k.treno), opzioni);
  k.nome_linea = opzioni.nome_scenario + std::string(kSuffissoLinea);
  k.nome_treno = opzioni.nome_scenario + "_" + opzioni.numero_treno + std::string(kSuffissoTreno);
  return k;
}

GenereSorgente genere_del_file(const std::string& percorso) {
  const std::optional<NomeSorgente> n = nome_sorgente(cartella_e_nome(percorso).second);
  return n ? n->genere : GenereSorgente::linea;
}

bool stesso_scenario(const std::string& a, const std::string& b) {
  const auto [cartella_a, nome_a] = cartella_e_nome(a);
  const auto [cartella_b, nome_b] = cartella_e_nome(b);
  const std::optional<NomeSorgente> na = nome_sorgente(nome_a);
  const std::optional<NomeSorgente> nb = nome_sorgente(nome_b);
  return na && nb && cartella_a == cartella_b && na->scenario == nb->scenario;
}

std::vector<Diagnosi> diagnosi_del_file(const CoppiaCompilata& k, const Fonte& per) {
  const auto della_coppia = [&k](const std::string& percorso) {
    return percorso == k.linea.percorso || percorso == k.treno.percorso;
  };
  // The file that takes the problems of a file that is missing: the one that is there.
  const Fonte& primo = k.linea.testo ? k.linea : k.treno;
  std::vector<Diagnosi> del_file;
  if (per.testo) {
    for (const CarattereMancante& m : per.testo->mancanti()) {
      del_file.push_back({Gravita::errore,
                          {per.percorso, m.riga, m.colonna},
                          std::string("carattere-senza-byte"),
                          "carattere che Windows-1252 non ha",
                          {},
                          {}});
    }
  }
  const auto autore = [](const Fonte& f, const std::string& nome) {
    return SorgenteAutore{f.percorso, nome, f.testo ? f.testo->byte_1252() : std::string()};
  };
  for (Diagnosi d : diagnosi_della_compilazione(
           k.c, {autore(k.linea, k.nome_linea), autore(k.treno, k.nome_treno)})) {
    const bool nella_coppia = della_coppia(d.posto.file);
    if (nella_coppia ? d.posto.file != per.percorso : &per != &primo) {
      continue;
    }
    d.posto.file = per.percorso;
    std::erase_if(d.note, [&](const Nota& n) { return !della_coppia(n.posto.file); });
    del_file.push_back(std::move(d));
  }
  return del_file;
}
