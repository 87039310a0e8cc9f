// The builder's two sources: the files of its folder under the names its identity gives,
// reached through the disk at the moments the parse asks for them. A failure of the disk is a
// failure of the source step.
#pragma once

#include <string>

#include "compiler/sorgenti_da_leggere.h"
#include "model/scenario.h"
#include "platform/disco.h"

class SorgentiSuDisco : public SorgentiDaLeggere {
 public:
  SorgentiSuDisco(piattaforma::Disco& disco, const std::string& cartella, const Scenario& s);

  bool esiste(Sorgente s) override;
  std::string leggi(Sorgente s) override;
  void elimina(Sorgente s) override;
  void elimina_se_esiste(Sorgente s) override;

 private:
  const std::string& percorso(Sorgente s) const { return s == Sorgente::linea ? linea_ : treno_; }

  piattaforma::Disco& disco_;
  std::string linea_;
  std::string treno_;
};
