// A disk held in memory: a map from full path to content, with the same failures as the real
// disk (reading or deleting a file that is not there, creating one that is) and one more,
// injected on purpose: the n-th operation from a chosen moment fails as a full or broken disk
// would. Serves the tests, the fuzz target, the compute figures of the benchmark and the
// author tools.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/disco.h"

namespace piattaforma {

class DiscoInMemoria : public Disco {
 public:
  std::string leggi(const std::string& percorso) override;
  bool esiste(const std::string& percorso) override;
  void elimina(const std::string& percorso) override;
  void scrivi_nuovo(const std::string& percorso, std::string_view contenuto) override;
  void rinomina(const std::string& da, const std::string& a) override;
  void collega(const std::string& esistente, const std::string& nuovo) override;
  std::vector<std::string> elenca(const std::string& cartella) override;
  // A folder held is only marked: taking it again before it is freed is a fault of the
  // caller (std::logic_error), since nothing else could free it while this one waits.
  std::unique_ptr<BloccoCartella> blocca(const std::string& cartella) override;
  char separatore() const override { return '/'; }

  // Every file, by full path.
  std::map<std::string, std::string> file;

  // The folders held now.
  std::set<std::string> cartelle_bloccate;

  // The number that this disk puts into its temporary names.
  uint64_t processo = 1;

  // How many operations that can fail (every one but esiste) were made.
  int64_t operazioni = 0;

  // When set, each of those operations in order, as the operation and the path
  // ("creare /c/a.txt").
  bool registra = false;
  std::vector<std::string> registro;

  // Makes the operation with this index (0 = the first ever made) fail, and ErroreFile says
  // "guasto simulato". The failed operation changes nothing, except that a new file whose
  // writing fails is left holding the first half of its content, as on a full disk. -1 = never.
  int64_t guasto_all_operazione = -1;

 protected:
  uint64_t numero_processo() const override { return processo; }

 private:
  // Records the operation, and says whether it is the one chosen to fail.
  bool conta(const char* operazione, const std::string& percorso);
  // The content of a new file, in the storage of a large file dropped before when one is big
  // enough: a compile that replaces the same large files again and again (the fuzz target,
  // the benchmark) then copies their bytes without first touching fresh memory, which costs
  // more than the copy.
  std::string nuovo_contenuto(std::string_view byte);
  // Keeps the storage of a dropped content for nuovo_contenuto.
  void conserva(std::string&& contenuto);

  std::vector<std::string> riserva_;
};

}  // namespace piattaforma
