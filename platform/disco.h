// What the job does with files, as one small interface: read a whole file, tell whether one
// exists, delete one, write a new one, rename one over another, give a file a second name,
// list a folder, and hold a folder for one run alone. The real disk and a disk in memory both
// implement it, and the compile cannot tell them apart. A failure throws ErroreFile, which
// carries what was being done, to which file and why.
//
// No file is ever written in place: a file is written whole under a temporary name beside
// its final one and then renamed over it, so that its name holds either its old content or
// its new content, never a part of either.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace piattaforma {

class ErroreFile : public std::runtime_error {
 public:
  ErroreFile(std::string operazione, std::string percorso, std::string motivo);

  const std::string& operazione() const { return operazione_; }
  const std::string& percorso() const { return percorso_; }
  const std::string& motivo() const { return motivo_; }

 private:
  std::string operazione_;
  std::string percorso_;
  std::string motivo_;
};

// One run's hold on its folder: while it lives, no other run can take the same folder.
class BloccoCartella {
 public:
  virtual ~BloccoCartella() = default;
};

class Disco {
 public:
  virtual ~Disco() = default;

  // The whole content of the file, byte for byte.
  virtual std::string leggi(const std::string& percorso) = 0;

  virtual bool esiste(const std::string& percorso) = 0;

  // Deletes the file; a file that is not there is a failure.
  virtual void elimina(const std::string& percorso) = 0;

  // Creates the file, which must not exist yet, and writes `contenuto` into it whole. A
  // failure may leave the file behind, cut short: whoever asked for it removes it.
  virtual void scrivi_nuovo(const std::string& percorso, std::string_view contenuto) = 0;

  // Gives file `da` the name `a` in one step, replacing what stands at `a`: at no moment is
  // `a` missing or holding a part of either file. Both names are in the same folder.
  virtual void rinomina(const std::string& da, const std::string& a) = 0;

  // Gives the content of the existing file `esistente` the second name `nuovo`, where nothing
  // stands yet: a second link to the same data where the system allows it, else a copy.
  virtual void collega(const std::string& esistente, const std::string& nuovo) = 0;

  // Takes `cartella` for this run alone, waiting as long as another run holds it. The folder
  // is free again when the returned hold is destroyed or the process ends, however it ends;
  // holding it leaves no file behind.
  virtual std::unique_ptr<BloccoCartella> blocca(const std::string& cartella) = 0;

  // The names (without folder) of the files in `cartella`, sorted; folders inside it are left
  // out. A folder that cannot be read is a failure.
  virtual std::vector<std::string> elenca(const std::string& cartella) = 0;

  // The separator between a folder and a file name.
  virtual char separatore() const = 0;

  // Replaces the file whole with `contenuto`: written under a temporary name beside it, then
  // renamed over it. A failure leaves the old file, or no file, as it was, and no temporary.
  void ricrea(const std::string& percorso, std::string_view contenuto);

  // Full name of file `nome` inside `cartella`: the folder, the separator, the name.
  std::string percorso_in(const std::string& cartella, std::string_view nome) const;

  // Deletes the file when it is there; for clean-up after a failure, so it never fails itself.
  void elimina_se_esiste(const std::string& percorso) noexcept;

  // A temporary name beside `percorso`: its name, ".tmp-", the number of this process, "-"
  // and a counter. No two calls on one disk give the same name, and no other live process
  // makes names with the same number.
  std::string nome_temporaneo(const std::string& percorso);

  // Whether `nome` is a temporary name made for a file named `nome_finale`, by any process.
  static bool e_temporaneo_di(std::string_view nome, std::string_view nome_finale);

  // Deletes every temporary file in `cartella` made for one of the files `nomi`: those a run
  // that was killed could not remove. Only for a folder that this run holds, so that no live
  // run's files are touched.
  void elimina_temporanei(const std::string& cartella, std::span<const std::string> nomi);

 protected:
  // The number that sets this process's temporary names apart from those of any other.
  virtual uint64_t numero_processo() const = 0;

 private:
  uint64_t temporanei_ = 0;
};

}  // namespace piattaforma
