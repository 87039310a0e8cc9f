// A disk held in memory: a map from full path to content, with the same failures as the real
// disk (reading or deleting a file that is not there, listing a folder that holds nothing) and one
// more, injected on purpose: the n-th operation from a chosen moment fails as a full or broken disk
// would. Serves the tests, the fuzz target, the compute figures of the benchmark and the author
// tools.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/disco.h"

namespace piattaforma {

class DiscoInMemoria : public Disco {
 public:
  std::string leggi(const std::string& percorso) override;
  bool esiste(const std::string& percorso) override;
  void elimina(const std::string& percorso) override;
  void ricrea(const std::string& percorso, std::string_view contenuto) override;
  std::vector<std::string> elenca(const std::string& cartella) override;
  char separatore() const override { return '/'; }

  // Every file, by full path.
  std::map<std::string, std::string> file;

  // How many operations that can fail (read, delete, recreate, list) were made.
  int64_t operazioni = 0;

  // When set, each of those operations in order, as the operation and the path
  // ("creare /c/a.txt").
  bool registra = false;
  std::vector<std::string> registro;

  // Makes the operation with this index (0 = the first ever made) fail: nothing is read,
  // deleted or changed, and ErroreFile says "guasto simulato". -1 = never.
  int64_t guasto_all_operazione = -1;

 private:
  // Records the operation, and throws when it is the one chosen to fail.
  void conta(const char* operazione, const std::string& percorso);
};

}  // namespace piattaforma
