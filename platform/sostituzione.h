// Files replaced together, as one set: each is first written whole under a temporary name
// beside its final one, and only once all of them are written are they renamed over their
// final names, one right after the other. A failure while writing leaves every old file as it
// was; a failure while renaming puts back the files already renamed. Either way no temporary
// file stays. Only a process that dies between two renames leaves the set mixed, each file
// still whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/disco.h"

namespace piattaforma {

class Sostituzione {
 public:
  explicit Sostituzione(Disco& disco) : disco_(disco) {}
  // A set that was not completed leaves nothing behind: its temporary files are removed.
  ~Sostituzione();
  Sostituzione(const Sostituzione&) = delete;
  Sostituzione& operator=(const Sostituzione&) = delete;

  // Writes `contenuto` under a temporary name for the file `percorso`; the file itself is not
  // touched yet. On a failure the temporary file is removed and ErroreFile goes on.
  void prepara(const std::string& percorso, std::string_view contenuto);

  // Renames every prepared file over its final name. When a rename fails, the files renamed
  // before it get their old content back (or are removed again when there was none), and
  // ErroreFile goes on.
  void completa();

 private:
  struct File {
    std::string finale;
    std::string temporaneo;  // empty once renamed
    std::string copia;       // the old content under a second name, while it may be needed
  };

  // Puts back the old content of the first `rinominati` files, last first.
  void ripristina(size_t rinominati) noexcept;

  Disco& disco_;
  std::vector<File> file_;
};

}  // namespace piattaforma
