#include "strumenti/lingua_scenario/coppia_sorgenti.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "model/nomi_file.h"
#include "sources/codifica_1252.h"
#include "strumenti/comune/diagnosi_compilazione.h"

namespace {

std::pair<std::string, std::string> cartella_e_nome(const std::string& percorso) {
  const size_t barra = percorso.find_last_of("/\\");
  if (barra == std::string::npos) {
    return {".", percorso};
  }
  return {percorso.substr(0, barra), percorso.substr(barra + 1)};
}

// A source's file name read by the naming rule: line or train, and its identity. A train
// source's scenario, when it is known, is taken as given, else its name splits at its last "_".
std::optional<NomeRiconosciuto> nome_sorgente(
    const std::string& nome, std::optional<std::string_view> scenario = std::nullopt) {
  std::optional<NomeRiconosciuto> n = riconosci_nome(nome, scenario);
  if (!n ||
      (n->file != FileDellaCorsa::sorgente_linea && n->file != FileDellaCorsa::sorgente_treno)) {
    return std::nullopt;
  }
  return n;
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
    const std::optional<NomeRiconosciuto> n = nome_sorgente(nome, scenario);
    return n && n->file == FileDellaCorsa::sorgente_treno && n->identita.scenario == scenario;
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
  const std::optional<NomeRiconosciuto> n = nome_sorgente(nome);
  OpzioniCompilazione opzioni;
  if (!n) {
    // A file of neither name is compiled as a line source alone.
    k.linea = fonte(proprio, aperti, disco).value_or(Fonte{proprio, nullptr});
    k.treno = Fonte{proprio + ".treno", nullptr};
    opzioni.nome_scenario = "sorgente";
    opzioni.numero_treno = "0";
  } else {
    const std::string& scenario = n->identita.scenario;
    opzioni.nome_scenario = TestoEditor(scenario).byte_1252();
    const std::string linea =
        cartella + "/" + nome_file(FileDellaCorsa::sorgente_linea, {scenario, ""});
    std::string treno = proprio;
    std::string numero = n->identita.treno;
    if (n->file == FileDellaCorsa::sorgente_linea) {
      const std::vector<std::string> nomi = sorgenti_treno(cartella, scenario, aperti, disco);
      treno.clear();
      numero = "0";
      if (!nomi.empty()) {
        treno = cartella + "/" + nomi.front();
        numero = nome_sorgente(nomi.front(), scenario)->identita.treno;
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
  const Identita compilata{opzioni.nome_scenario, opzioni.numero_treno};
  k.nome_linea = nome_file(FileDellaCorsa::sorgente_linea, compilata);
  k.nome_treno = nome_file(FileDellaCorsa::sorgente_treno, compilata);
  return k;
}

GenereSorgente genere_del_file(const std::string& percorso) {
  const std::optional<NomeRiconosciuto> n = nome_sorgente(cartella_e_nome(percorso).second);
  return n && n->file == FileDellaCorsa::sorgente_treno ? GenereSorgente::treno
                                                        : GenereSorgente::linea;
}

bool stesso_scenario(const std::string& a, const std::string& b) {
  const auto [cartella_a, nome_a] = cartella_e_nome(a);
  const auto [cartella_b, nome_b] = cartella_e_nome(b);
  std::optional<NomeRiconosciuto> na = nome_sorgente(nome_a);
  std::optional<NomeRiconosciuto> nb = nome_sorgente(nome_b);
  if (cartella_a != cartella_b || !na || !nb) {
    return false;
  }
  // A line source names its scenario whole: a train source is read against it.
  if (na->file == FileDellaCorsa::sorgente_linea) {
    nb = nome_sorgente(nome_b, na->identita.scenario);
  } else if (nb->file == FileDellaCorsa::sorgente_linea) {
    na = nome_sorgente(nome_a, nb->identita.scenario);
  }
  return na && nb && na->identita.scenario == nb->identita.scenario;
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
                          std::string(kCarattereSenzaByte),
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
