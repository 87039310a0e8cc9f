#include "strumenti/lingua_scenario/coppia_sorgenti.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

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

// The names of the files in `cartella`, open or on the disk, that `vale` takes: sorted, each
// once.
template <typename Vale>
std::vector<std::string> nomi_nella_cartella(const std::string& cartella,
                                             const DocumentiAperti& aperti,
                                             piattaforma::Disco& disco, Vale vale) {
  std::vector<std::string> nomi;
  for (const auto& [u, aperta] : aperti) {
    const auto [c, nome] = cartella_e_nome(aperta.percorso);
    if (c == cartella && vale(nome)) {
      nomi.push_back(nome);
    }
  }
  try {
    for (const std::string& nome : disco.elenca(cartella)) {
      if (vale(nome)) {
        nomi.push_back(nome);
      }
    }
  } catch (const piattaforma::ErroreFile&) {
    // A folder that cannot be listed gives only the open files.
  }
  std::sort(nomi.begin(), nomi.end());
  nomi.erase(std::unique(nomi.begin(), nomi.end()), nomi.end());
  return nomi;
}

// The scenario of the line source `nome`; none for a name of another file.
std::optional<std::string> scenario_della_linea(const std::string& nome) {
  const std::optional<NomeRiconosciuto> n = nome_sorgente(nome);
  if (!n || n->file != FileDellaCorsa::sorgente_linea) {
    return std::nullopt;
  }
  return n->identita.scenario;
}

// The train source `nome` read against the line's scenario; none when it is not one of it.
std::optional<NomeRiconosciuto> treno_dello_scenario(const std::string& nome,
                                                     const std::string& scenario) {
  std::optional<NomeRiconosciuto> n = nome_sorgente(nome, scenario);
  if (!n || n->file != FileDellaCorsa::sorgente_treno || n->identita.scenario != scenario) {
    return std::nullopt;
  }
  return n;
}

std::string nel_percorso(const std::string& cartella, const std::string& nome) {
  return cartella + "/" + nome;
}

}  // namespace

std::optional<std::string> linea_del_file(const std::string& percorso,
                                          const DocumentiAperti& aperti,
                                          piattaforma::Disco& disco) {
  // Not a structured binding: the lambda below captures the name, which clang 14 refuses.
  const std::pair<std::string, std::string> parti = cartella_e_nome(percorso);
  const std::string& cartella = parti.first;
  const std::string& nome = parti.second;
  const std::optional<NomeRiconosciuto> n = nome_sorgente(nome);
  if (!n) {
    return std::nullopt;
  }
  if (n->file == FileDellaCorsa::sorgente_linea) {
    return percorso;
  }
  // A scenario name and a train number may both hold "_": the line sources beside it say where
  // one ends.
  std::string scelta;
  for (const std::string& linea :
       nomi_nella_cartella(cartella, aperti, disco, [&nome](const std::string& altro) {
         const std::optional<std::string> scenario = scenario_della_linea(altro);
         return scenario && treno_dello_scenario(nome, *scenario).has_value();
       })) {
    if (linea.size() > scelta.size()) {
      scelta = linea;
    }
  }
  if (scelta.empty()) {
    scelta = nome_file(FileDellaCorsa::sorgente_linea, {n->identita.scenario, ""});
  }
  return nel_percorso(cartella, scelta);
}

std::vector<std::string> treni_della_linea(const std::string& linea, const DocumentiAperti& aperti,
                                           piattaforma::Disco& disco) {
  const auto [cartella, nome] = cartella_e_nome(linea);
  const std::optional<std::string> scenario = scenario_della_linea(nome);
  if (!scenario) {
    return {};
  }
  std::vector<std::string> treni =
      nomi_nella_cartella(cartella, aperti, disco, [&scenario](const std::string& altro) {
        return treno_dello_scenario(altro, *scenario).has_value();
      });
  for (std::string& t : treni) {
    t = nel_percorso(cartella, t);
  }
  return treni;
}

CoppiaCompilata compila_con_treno(const std::string& linea, const std::optional<std::string>& treno,
                                  const DocumentiAperti& aperti, piattaforma::Disco& disco) {
  CoppiaCompilata k;
  const auto [cartella, nome] = cartella_e_nome(linea);
  const std::optional<std::string> scenario = scenario_della_linea(nome);
  OpzioniCompilazione opzioni;
  k.linea = fonte(linea, aperti, disco).value_or(Fonte{linea, nullptr});
  if (!scenario) {
    // A file of neither name is compiled as a line source alone.
    opzioni.nome_scenario = "sorgente";
    opzioni.numero_treno = "0";
    k.treno = Fonte{linea + ".treno", nullptr};
  } else {
    const std::optional<NomeRiconosciuto> n =
        treno ? treno_dello_scenario(cartella_e_nome(*treno).second, *scenario) : std::nullopt;
    k.numero_treno = n ? n->identita.treno : "";
    opzioni.nome_scenario = TestoEditor(*scenario).byte_1252();
    opzioni.numero_treno = n ? TestoEditor(k.numero_treno).byte_1252() : "0";
    k.treno = !treno ? Fonte{nel_percorso(cartella, "-"), nullptr}
                     : fonte(*treno, aperti, disco).value_or(Fonte{*treno, nullptr});
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

CoppiaCompilata compila_coppia(const std::string& percorso, const DocumentiAperti& aperti,
                               piattaforma::Disco& disco) {
  const std::optional<std::string> linea = linea_del_file(percorso, aperti, disco);
  if (!linea) {
    return compila_con_treno(percorso, std::nullopt, aperti, disco);
  }
  if (*linea != percorso) {
    return compila_con_treno(*linea, percorso, aperti, disco);
  }
  const std::vector<std::string> treni = treni_della_linea(*linea, aperti, disco);
  return compila_con_treno(*linea, treni.empty() ? std::nullopt : std::optional(treni.front()),
                           aperti, disco);
}

GenereSorgente genere_del_file(const std::string& percorso) {
  const std::optional<NomeRiconosciuto> n = nome_sorgente(cartella_e_nome(percorso).second);
  return n && n->file == FileDellaCorsa::sorgente_treno ? GenereSorgente::treno
                                                        : GenereSorgente::linea;
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

ProblemiDellaCoppia problemi_della_coppia(const CoppiaCompilata& k) {
  return {k.linea, k.treno, k.numero_treno, diagnosi_del_file(k, k.linea),
          diagnosi_del_file(k, k.treno)};
}

std::vector<ProblemiDellaCoppia> problemi_della_linea(const std::string& linea,
                                                      const DocumentiAperti& aperti,
                                                      piattaforma::Disco& disco,
                                                      const ProblemiAggiunti& aggiunti) {
  std::vector<ProblemiDellaCoppia> coppie;
  const auto problemi = [&](const std::optional<std::string>& treno) {
    const CoppiaCompilata k = compila_con_treno(linea, treno, aperti, disco);
    coppie.push_back(problemi_della_coppia(k));
    if (aggiunti) {
      aggiunti(k, coppie.back());
    }
  };
  for (const std::string& treno : treni_della_linea(linea, aperti, disco)) {
    problemi(treno);
  }
  if (coppie.empty()) {
    problemi(std::nullopt);
  }
  return coppie;
}

std::vector<Diagnosi> diagnosi_della_linea(const std::vector<ProblemiDellaCoppia>& coppie) {
  struct Trovata {
    Diagnosi d;
    std::vector<size_t> coppie;  // the compiles that find it, in order
  };
  std::vector<Trovata> trovate;
  // Two problems are the same when they print the same: place, code, words and notes.
  std::unordered_map<std::string, size_t> per_testo;
  for (size_t i = 0; i < coppie.size(); ++i) {
    for (const Diagnosi& d : coppie[i].della_linea) {
      const auto [t, nuova] = per_testo.try_emplace(json_diagnosi(d), trovate.size());
      if (nuova) {
        trovate.push_back({d, {}});
      }
      std::vector<size_t>& di = trovate[t->second].coppie;
      if (di.empty() || di.back() != i) {
        di.push_back(i);
      }
    }
  }
  std::vector<Diagnosi> diagnosi;
  for (Trovata& t : trovate) {
    if (t.coppie.size() < coppie.size()) {
      std::string treni;
      for (const size_t i : t.coppie) {
        treni += (treni.empty() ? "" : ", ") + coppie[i].numero_treno;
      }
      t.d.messaggio += (t.coppie.size() == 1 ? " (treno " : " (treni ") + treni + ")";
    }
    diagnosi.push_back(std::move(t.d));
  }
  return diagnosi;
}
