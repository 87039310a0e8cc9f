#include "strumenti/lingua_scenario/descrizione_riga.h"

#include <optional>

#include "compiler/celle.h"
#include "sources/codifica_1252.h"
#include "strumenti/ispezione/riepilogo.h"

namespace {

// Curve radius in metres for the class digits "1" to "6".
constexpr int kRaggi[] = {10000, 5000, 2500, 1000, 500, 333};
constexpr int kPassoVelocita = 5;   // km/h per unit of a cell's speed
constexpr int kZeroPendenza = 100;  // a cell's gradient is per mille plus this

void in_vigore(std::vector<std::string>& t, const Scenario& s, const Riepilogo& r, int64_t p) {
  const int64_t k = cella_di(p);
  if (k < 0 || static_cast<size_t>(k) >= s.percorso.size()) {
    return;
  }
  const Cella& c = s.percorso[static_cast<size_t>(k)];
  t.push_back("velocita massima: " + std::to_string(c.velocita_massima * kPassoVelocita) + " km/h");
  const CartelloVelocita* cartello = nullptr;
  for (const CartelloVelocita& cv : r.cartelli_velocita) {
    if (cv.posizione <= p) {
      cartello = &cv;
    }
  }
  if (cartello != nullptr) {
    t.push_back("cartelli: A " + std::to_string(cartello->velocita[0]) + ", B " +
                std::to_string(cartello->velocita[1]) + ", C " +
                std::to_string(cartello->velocita[2]) + " km/h (da " +
                std::to_string(cartello->posizione) + " m)");
  }
  t.push_back("pendenza: " + std::to_string(int{c.pendenza_cella} - kZeroPendenza) + " per mille");
  t.push_back("aderenza: " + std::to_string(int{c.aderenza_cella}));
}

}  // namespace

bool nella_cella_dopo(const FormaRiga& t) {
  return t.codice == CodiceForma::segnale || t.codice == CodiceForma::rallentamento ||
         t.codice == CodiceForma::indicatori_v_max || t.codice == CodiceForma::cartello_indicatore;
}

int64_t cella_della_riga(const FormaRiga& t, int64_t posizione) {
  return nella_cella_dopo(t) ? cella_dopo(posizione) : cella_di(posizione);
}

std::optional<DescrizioneRiga> descrizione_riga(const RigaDelSorgente& letta, std::string_view riga,
                                                const Compilazione& c) {
  const FormaRiga* forma = forma_della_riga(letta.sezione, letta.parola, true);
  if (forma == nullptr || letta.commento) {
    return std::nullopt;
  }
  const FormaRiga& tipo = *forma;
  DescrizioneRiga d{std::string(tipo.parola), std::string(tipo.descrizione), {}};
  std::vector<std::string>& t = d.voci;
  const bool posizionata = !tipo.campi.empty() && tipo.campi.front().unita == "m" &&
                           tipo.sezione != Sezione::linea_generale;
  if (!posizionata || letta.valori.empty()) {
    return d;
  }
  const std::optional<int64_t> p = numero_del_valore(riga, letta.valori.front());
  if (!p || *p < 0 || *p > INT32_MAX) {
    return d;
  }
  const Scenario& s = c.scenario;
  const Riepilogo r = riepiloga(TracciatoLetto{}, s.voci, s.percorso);
  t.push_back("cella " + std::to_string(cella_della_riga(tipo, *p)));
  t.push_back("chilometrica: km " +
              chilometri(chilometrica(r.riferimenti, static_cast<int32_t>(*p))));
  in_vigore(t, s, r, *p);
  if (tipo.simbolo == Simbolo::stazione) {
    for (const StazioneLetta& st : r.stazioni) {
      if (st.posizione == *p) {
        t.push_back("stazione " + st.nome + ": area da " + std::to_string(st.inizio_area) + " a " +
                    std::to_string(st.fine_area) + " m");
        t.push_back("sosta: " + std::to_string(st.sosta) + " s");
        t.push_back("orario: " +
                    (st.orario != 0 ? ora_del_giorno(st.orario) : std::string("nessuno")));
      }
    }
  }
  if (tipo.campi.size() == 2 && tipo.solo_con_tracciato && letta.valori.size() >= 2) {
    const std::string& parola = letta.parola;
    size_t classe = 0;
    while (classe < std::size(kRaggi) &&
           parola.find(static_cast<char>('1' + classe)) == std::string::npos) {
      ++classe;
    }
    if (classe < std::size(kRaggi)) {
      t.push_back("raggio: " + std::to_string(kRaggi[classe]) + " m");
    }
    if (const std::optional<int64_t> l = numero_del_valore(riga, letta.valori[1])) {
      t.push_back("fine della curva: " + std::to_string(*p + *l) + " m");
    }
  }
  return d;
}
