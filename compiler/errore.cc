#include "compiler/errore.h"

#include <string_view>

namespace {

struct Condizione {
  int32_t codice;
  std::string_view testo;
};

constexpr Condizione kCondizioni[] = {
    {1, "la lunghezza della linea supera 1000000 m"},
    {2, "valore di progressiva chilometrica non multiplo di 50"},
    {3, "primo valore di ripetizione segnali non multiplo di 50"},
    {4, "secondo valore di ripetizione segnali non multiplo di 50"},
    {5, "la riga di ripetizione segnali non indica ne 4 ne 9 codici"},
    {6, "un cartello cade su una cella occupata"},
    {7, "un punto di abbattimento cade su una cella occupata"},
    {8, "progressiva di stazione non multipla di 50"},
    {9, "lunghezza di stazione non multipla di 100"},
    {10, "le stazioni raggiungono le voci dei cartelli"},
    {11, "nessuna cella libera per il punto prima di un segnale che precede un avviso"},
    {12, "nessuna cella libera per un punto prima dell'inizio di un rallentamento"},
    {13, "nessuna cella libera per un punto dentro un rallentamento o prima del segnale dopo"},
    {15, "un elemento sta oltre la fine del percorso"},
    {16, "un segnale cade su una cella occupata"},
    {17, "cella dell'avviso di un rallentamento occupata"},
    {18, "cella d'inizio di un rallentamento occupata"},
    {19, "cella di fine di un rallentamento occupata"},
    {20, "una delle quattro celle prima di un avviso occupata"},
    {21, "un indicatore di velocita cade su una cella occupata"},
    {22, "una stazione inizia a meno di 350 m dalla fine della precedente"},
    {24, "la cella di fermata di una stazione avrebbe indice 1 o minore"},
    {25, "errore durante la lettura delle sorgenti"},
    {101, "la sorgente della linea non esiste"},
    {102, "la sorgente della linea non ha la sezione [generale]"},
    {103, "una curva senza classe da 1 a 6, o un tracciato oltre 1000000 punti"},
};

}  // namespace

void errore(const std::string& a) {
  throw ErroreTerminale(" Errore n. " + a);
}

std::string descrizione_codice(int32_t codice) {
  for (const Condizione& c : kCondizioni) {
    if (c.codice == codice) {
      return std::string(c.testo);
    }
  }
  return "codice sconosciuto";
}
