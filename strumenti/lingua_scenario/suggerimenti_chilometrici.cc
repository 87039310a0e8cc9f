#include "strumenti/lingua_scenario/suggerimenti_chilometrici.h"

#include <algorithm>
#include <limits>

#include "strumenti/ispezione/riepilogo.h"
#include "strumenti/lingua_scenario/descrizione_riga.h"

std::vector<SuggerimentoCampo> suggerimenti_chilometrici(const SorgenteLetta& s, int da, int a,
                                                         const Compilazione& c) {
  std::vector<SuggerimentoCampo> suggerimenti;
  const std::vector<RiferimentoChilometrico> riferimenti =
      riferimenti_chilometrici(c.scenario.voci);
  for (int r = std::max(da, 0); r <= std::min(a, s.righe() - 1); ++r) {
    const RigaDelSorgente& l = s.letta(r);
    const FormaRiga* forma = forma_della_riga(l.sezione, l.parola, true);
    if (forma == nullptr || l.commento || l.intestazione) {
      continue;
    }
    const size_t n = std::min(forma->campi.size(), l.valori.size());
    for (size_t k = 0; k < n; ++k) {
      if (!forma->campi[k].progressiva) {
        continue;
      }
      const std::optional<int64_t> p = numero_del_valore(s.riga(r), l.valori[k]);
      if (!p || *p < 0 || *p > std::numeric_limits<int32_t>::max()) {
        continue;
      }
      const std::optional<int32_t> lettura = chilometrica(riferimenti, static_cast<int32_t>(*p));
      if (!lettura) {
        continue;
      }
      std::string testo = "km " + chilometri(lettura);
      if (k == 0 && nella_cella_dopo(*forma)) {
        testo += ", cella " + std::to_string(cella_della_riga(*forma, *p));
      }
      suggerimenti.push_back({{r, l.valori[k].fine}, std::move(testo)});
    }
  }
  return suggerimenti;
}
