#include "strumenti/ispeziona_scenario/uscita_json.h"

#include <cmath>

#include "sources/codifica_1252.h"

using nlohmann::ordered_json;

namespace {

ordered_json intervalli(const std::vector<Intervallo>& v) {
  ordered_json a = ordered_json::array();
  for (const Intervallo& i : v) {
    a.push_back({{"da", i.da}, {"a", i.a}, {"valore", i.valore}});
  }
  return a;
}

ordered_json colonna(const TracciatoLetto& t, int c) {
  ordered_json a = ordered_json::array();
  if (!t.esiste()) {
    return a;
  }
  for (int32_t i = 0; i <= t.ultimo_punto(); ++i) {
    switch (t.etichetta(i, c)) {
      case Etichetta::vuoto:
        a.push_back(nullptr);
        break;
      case Etichetta::intero_16:
        a.push_back(t.intero(i, c));
        break;
      case Etichetta::reale_64:
        a.push_back(t.valore(i, c));
        break;
    }
  }
  return a;
}

}  // namespace

ordered_json json_riepilogo(const Riepilogo& r) {
  ordered_json j;
  j["lunghezza"] = r.lunghezza;
  j["celle"] = r.celle;
  j["punti"] = r.punti;
  if (r.estensione.esiste) {
    j["estensione"] = {{"min_x", r.estensione.min_x},
                       {"max_x", r.estensione.max_x},
                       {"min_y", r.estensione.min_y},
                       {"max_y", r.estensione.max_y}};
  } else {
    j["estensione"] = nullptr;
  }
  j["numero_vetture"] = r.numero_vetture;
  j["massa_frenata"] = r.massa_frenata;
  j["sabbia"] = r.sabbia;
  j["orologio"] = r.orologio;
  j["sfondo"] = r.sfondo;
  j["ripetizione_segnali"] = r.ripetizione;
  for (const RiferimentoChilometrico& p : r.riferimenti) {
    j["progressive"].push_back(
        {{"voce", p.voce}, {"posizione", p.posizione}, {"valore", p.valore}, {"verso", p.verso}});
  }
  j["stazioni"] = ordered_json::array();
  for (const StazioneLetta& s : r.stazioni) {
    j["stazioni"].push_back(
        {{"voce", s.voce},
         {"nome", s.nome},
         {"posizione", s.posizione},
         {"inizio_area", s.inizio_area},
         {"fine_area", s.fine_area},
         {"categoria", s.categoria},
         {"sosta", s.sosta},
         {"orario", s.orario},
         {"cella_fermata", s.cella_fermata},
         {"chilometrica", s.chilometrica ? ordered_json(*s.chilometrica) : ordered_json(nullptr)}});
  }
  j["segnali"] = ordered_json::array();
  for (const SegnaleLetto& s : r.segnali) {
    j["segnali"].push_back(
        {{"cella", s.cella}, {"posizione", s.posizione}, {"valori", s.valori}, {"tempo", s.tempo}});
  }
  j["cartelli_velocita"] = ordered_json::array();
  for (const CartelloVelocita& b : r.cartelli_velocita) {
    j["cartelli_velocita"].push_back({{"cella", b.cella},
                                      {"posizione", b.posizione},
                                      {"velocita", b.velocita},
                                      {"aggiunta", b.aggiunta},
                                      {"strisce", b.strisce}});
  }
  j["cartelli_testo"] = ordered_json::array();
  for (const CartelloTesto& c : r.cartelli_testo) {
    j["cartelli_testo"].push_back(
        {{"cella", c.cella}, {"posizione", c.posizione}, {"voce", c.voce}, {"testo", c.testo}});
  }
  j["rallentamenti"] = ordered_json::array();
  for (const RallentamentoLetto& s : r.rallentamenti) {
    j["rallentamenti"].push_back(
        {{"inizio", s.inizio},
         {"fine", s.fine},
         {"velocita", s.velocita},
         {"avviso", s.avviso ? ordered_json(*s.avviso) : ordered_json(nullptr)}});
  }
  j["abbattimenti"] = ordered_json::array();
  for (const Abbattimento& a : r.abbattimenti) {
    j["abbattimenti"].push_back(
        {{"cella", a.cella}, {"posizione", a.posizione}, {"velocita", a.velocita}});
  }
  j["gallerie"] = intervalli(r.gallerie);
  j["velocita_massima"] = intervalli(r.velocita_massima);
  j["pendenza"] = intervalli(r.pendenza);
  j["aderenza"] = intervalli(r.aderenza);
  return j;
}

ordered_json json_ispezione(const Ispezione& i, const Riepilogo& r) {
  ordered_json j;
  j["scenario"] = i.identita.scenario;
  j["treno"] = i.identita.treno;
  const auto nomi = nomi_binari(i.identita);
  for (int f = 0; f < kNumeroFileBinari; ++f) {
    j["file"].push_back(
        {{"nome", nomi[static_cast<size_t>(f)]}, {"byte", i.dimensioni[static_cast<size_t>(f)]}});
  }
  j["difetti"] = ordered_json::array();
  for (const Difetto& d : i.difetti) {
    j["difetti"].push_back({{"file", nomi[d.file]},
                            {"byte", d.byte},
                            {"dove", d.dove},
                            {"descrizione", d.descrizione}});
  }
  j["riepilogo"] = json_riepilogo(r);
  for (size_t k = 0; k < i.voci.size(); ++k) {
    const Voce& v = i.voci[k];
    j["voci"].push_back({{"voce", k},
                         {"byte", i.inizio_voce[k]},
                         {"categoria", v.categoria},
                         {"inizio_area", v.inizio_area},
                         {"fine_area", v.fine_area},
                         {"progressiva_voce", v.progressiva_voce},
                         {"marca_1", v.marca_1},
                         {"testo", da_1252(v.testo)},
                         {"dato_1", v.dato_1},
                         {"dato_2", v.dato_2},
                         {"dato_3", v.dato_3},
                         {"dato_4", v.dato_4},
                         {"dato_5", v.dato_5},
                         {"marca_2", v.marca_2},
                         {"marca_3", v.marca_3},
                         {"marca_4", v.marca_4},
                         {"marca_5", v.marca_5},
                         {"orario", v.orario}});
  }
  j["percorso"] = ordered_json::array();
  for (const Cella& c : i.percorso) {
    j["percorso"].push_back({{"genere", c.genere},
                             {"valore_1", c.valore_1},
                             {"valore_2", c.valore_2},
                             {"valore_3", c.valore_3},
                             {"valore_4", c.valore_4},
                             {"tempo_segnale", c.tempo_segnale},
                             {"avvicinamento", c.avvicinamento},
                             {"galleria", c.galleria},
                             {"velocita_massima", c.velocita_massima},
                             {"pendenza_cella", c.pendenza_cella},
                             {"aderenza_cella", c.aderenza_cella}});
  }
  j["tracciato"] = {{"x", colonna(i.tracciato, 0)}, {"y", colonna(i.tracciato, 1)}};
  return j;
}
