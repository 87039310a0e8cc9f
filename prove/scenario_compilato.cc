#include "prove/scenario_compilato.h"

#include "app/form_load.h"
#include "compiler/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "platform/disco_in_memoria.h"

namespace {

constexpr const char* kCartella = "/compilato";

std::string se_esiste(piattaforma::DiscoInMemoria& disco, const std::string& nome) {
  const std::string percorso = disco.percorso_in(kCartella, nome);
  return disco.esiste(percorso) ? disco.leggi(percorso) : std::string();
}

void raccogli(ScenarioCompilato& c, piattaforma::DiscoInMemoria& disco) {
  c.tracciato = se_esiste(disco, nome_file_tracciato(c.s));
  c.voci = se_esiste(disco, nome_file_voci(c.s));
  c.percorso = se_esiste(disco, nome_file_percorso(c.s));
}

}  // namespace

const ScenarioCompilato& scenario_incorporato() {
  static const ScenarioCompilato compilato = [] {
    ScenarioCompilato c;
    piattaforma::DiscoInMemoria disco;
    Form_Load(c.s, disco, kCartella);
    raccogli(c, disco);
    return c;
  }();
  return compilato;
}

ScenarioCompilato compila_sorgenti(std::string_view linea, std::optional<std::string_view> treno) {
  ScenarioCompilato c;
  c.s.nome_scenario = "Prova";
  c.s.numero_treno = "1";
  piattaforma::DiscoInMemoria disco;
  disco.ricrea(disco.percorso_in(kCartella, nome_sorgente_linea(c.s)), linea);
  if (treno) {
    disco.ricrea(disco.percorso_in(kCartella, nome_sorgente_treno(c.s)), *treno);
  }
  memorizza_percorso(c.s, disco, kCartella, 1);
  raccogli(c, disco);
  return c;
}
