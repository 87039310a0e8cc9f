#include "model/codici_errore.h"

namespace {

struct Significato {
  CodiceErrore codice;
  std::string_view testo;
};

constexpr Significato kSignificati[] = {
    {kLineaTroppoLunga, "la lunghezza della linea supera 1000000 m"},
    {kProgressivaNonMultipla, "valore di progressiva chilometrica non multiplo di 50"},
    {kPrimaRipetizioneNonMultipla, "primo valore di ripetizione segnali non multiplo di 50"},
    {kSecondaRipetizioneNonMultipla, "secondo valore di ripetizione segnali non multiplo di 50"},
    {kRipetizioneSenzaCodici, "la riga di ripetizione segnali non indica ne 4 ne 9 codici"},
    {kCartelloSuCellaOccupata, "un cartello cade su una cella occupata"},
    {kAbbattimentoSuCellaOccupata, "un punto di abbattimento cade su una cella occupata"},
    {kStazioneNonMultipla, "progressiva di stazione non multipla di 50"},
    {kLunghezzaStazioneNonMultipla, "lunghezza di stazione non multipla di 100"},
    {kStazioniSuiCartelli, "le stazioni raggiungono le voci dei cartelli"},
    {kNessunPostoPrimaDelSegnale,
     "nessuna cella libera per il punto prima di un segnale che precede un avviso"},
    {kNessunPostoPrimaDelRallentamento,
     "nessuna cella libera per un punto prima dell'inizio di un rallentamento"},
    {kNessunPostoNelRallentamento,
     "nessuna cella libera per un punto dentro un rallentamento o prima del segnale dopo"},
    {kOltreIlPercorso, "un elemento sta oltre la fine del percorso"},
    {kSegnaleSuCellaOccupata, "un segnale cade su una cella occupata"},
    {kAvvisoSuCellaOccupata, "cella dell'avviso di un rallentamento occupata"},
    {kInizioSuCellaOccupata, "cella d'inizio di un rallentamento occupata"},
    {kFineSuCellaOccupata, "cella di fine di un rallentamento occupata"},
    {kPrimaDellAvvisoOccupata, "una delle quattro celle prima di un avviso occupata"},
    {kIndicatoreSuCellaOccupata, "un indicatore di velocita cade su una cella occupata"},
    {kStazioneTroppoVicina, "una stazione inizia a meno di 350 m dalla fine della precedente"},
    {kFermataAllInizio, "la cella di fermata di una stazione avrebbe indice 1 o minore"},
    {kErroreEsecuzione, "errore durante la lettura delle sorgenti"},
    {kLineaMancante, "la sorgente della linea non esiste"},
    {kSenzaGenerale, "la sorgente della linea non ha la sezione [generale]"},
    {kCurvaNonValida, "una curva senza classe da 1 a 6, o un tracciato oltre 1000000 punti"},
};

}  // namespace

std::string_view significato(int32_t codice) {
  for (const Significato& s : kSignificati) {
    if (s.codice == codice) {
      return s.testo;
    }
  }
  return "codice sconosciuto";
}
