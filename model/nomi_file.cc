#include "model/nomi_file.h"

namespace {

std::string del_treno(const Scenario& s, const char* coda) {
  return s.nome_scenario + "_" + s.numero_treno + coda;
}

}  // namespace

std::string nome_sorgente_linea(const Scenario& s) {
  return s.nome_scenario + "_linea.txt";
}
std::string nome_sorgente_treno(const Scenario& s) {
  return del_treno(s, "-.txt");
}
std::string nome_note(const Scenario& s) {
  return del_treno(s, "_note.txt");
}
std::string nome_rallentamenti(const Scenario& s) {
  return del_treno(s, "_rallentamenti.txt");
}
std::string nome_scheda(const Scenario& s) {
  return del_treno(s, "_scheda_treno.txt");
}
std::string nome_file_tracciato(const Scenario& s) {
  return s.nome_scenario + "_linea.dat";
}
std::string nome_file_voci(const Scenario& s) {
  return del_treno(s, ".sim");
}
std::string nome_file_percorso(const Scenario& s) {
  return del_treno(s, ".dat");
}
