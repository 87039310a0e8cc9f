// A folder that one run writes a set of files into. While the run lives it holds the folder,
// so that no other run writes the same files at the same time; on taking it, and again when
// it is done, it sweeps away the temporary files of those names that a killed run, or a
// removal that failed on the way, left behind. The files themselves are replaced together, as
// one set: every old file stays as it was unless all of them are written.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/disco.h"

namespace piattaforma {

struct FileDaScrivere {
  std::string nome;  // without the folder
  std::string_view contenuto;
};

class CartellaInUso {
 public:
  // Waits while another run holds `cartella`, then sweeps it for temporaries of `nomi`, the
  // names of every file the run may write there.
  CartellaInUso(Disco& disco, std::string cartella, std::vector<std::string> nomi);
  // A run that leaves by a failure sweeps once more, quietly: the failure that ends the run
  // is the one to report, and the next run sweeps again.
  ~CartellaInUso();
  CartellaInUso(const CartellaInUso&) = delete;
  CartellaInUso& operator=(const CartellaInUso&) = delete;

  const std::string& cartella() const { return cartella_; }
  std::string percorso(std::string_view nome) const { return disco_.percorso_in(cartella_, nome); }

  // Replaces the files as one set (see piattaforma::Sostituzione) and returns their full
  // paths, in order. A failure throws ErroreFile and leaves the files as they were.
  std::vector<std::string> sostituisci_insieme(std::span<const FileDaScrivere> file);

  // The run is done: the last sweep, whose own failure is reported.
  void concludi();

 private:
  Disco& disco_;
  std::string cartella_;
  std::vector<std::string> nomi_;
  std::unique_ptr<BloccoCartella> presa_;
  bool concluso_ = false;
};

// Replaces the files in `cartella` as one set, for a caller that holds the folder already.
std::vector<std::string> sostituisci_insieme(Disco& disco, const std::string& cartella,
                                             std::span<const FileDaScrivere> file);

// The whole of it for a run that writes one set and nothing else: holds the folder, sweeps,
// replaces the set, sweeps again. Returns the full paths written.
std::vector<std::string> scrivi_insieme(Disco& disco, const std::string& cartella,
                                        std::span<const FileDaScrivere> file);

}  // namespace piattaforma
