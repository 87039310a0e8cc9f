#include "prove/sorgenti_di_prova.h"

namespace {

std::string con_crlf(std::initializer_list<std::string_view> righe) {
  std::string testo;
  for (std::string_view r : righe) {
    testo += r;
    testo += "\r\n";
  }
  return testo;
}

}  // namespace

SorgentiDiProva::SorgentiDiProva() {
  s.nome_scenario = "Prova";
  s.numero_treno = "1";
  s.con_tracciato = 1;
}

void SorgentiDiProva::linea(std::initializer_list<std::string_view> righe) {
  cartella.scrivi(kLineaDiProva, con_crlf(righe));
}

void SorgentiDiProva::treno(std::initializer_list<std::string_view> righe) {
  cartella.scrivi(kTrenoDiProva, con_crlf(righe));
}

void SorgentiDiProva::linea_semplice(int lunghezza, std::initializer_list<std::string_view> righe) {
  std::string testo = "[generale]\r\nlunghezza percorso, " + std::to_string(lunghezza) +
                      "\r\n[curve]\r\n" + con_crlf(righe) + "[fine]\r\n";
  cartella.scrivi(kLineaDiProva, testo);
}

void SorgentiDiProva::treno_semplice(std::initializer_list<std::string_view> righe) {
  cartella.scrivi(kTrenoDiProva, "[generale]\r\n" + con_crlf(righe) + "[fine]\r\n");
}
