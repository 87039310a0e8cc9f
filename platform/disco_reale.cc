#include "platform/disco_reale.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace piattaforma {
namespace {

struct ChiudiFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, ChiudiFile>;

[[noreturn]] void fallisci(const char* operazione, const std::string& percorso) {
  const int codice = errno;
  throw ErroreFile(operazione, percorso,
                   codice != 0 ? std::strerror(codice) : "errore sconosciuto");
}

File apri(const std::string& percorso, const char* modo, const char* operazione) {
  errno = 0;
  File f(std::fopen(percorso.c_str(), modo));
  if (!f) {
    fallisci(operazione, percorso);
  }
  return f;
}

// Closes the file and reports a failure of the close itself, which is where buffered data
// that did not fit the disk shows up.
void chiudi(File f, const std::string& percorso) {
  errno = 0;
  if (std::fclose(f.release()) != 0) {
    fallisci("chiudere", percorso);
  }
}

}  // namespace

bool DiscoReale::esiste(const std::string& percorso) {
  std::error_code errore;
  return std::filesystem::exists(percorso, errore);
}

void DiscoReale::ricrea(const std::string& percorso, std::string_view contenuto) {
  chiudi(apri(percorso, "ab", "creare"), percorso);
  elimina(percorso);
  File f = apri(percorso, "wb", "creare");
  errno = 0;
  if (!contenuto.empty() &&
      std::fwrite(contenuto.data(), 1, contenuto.size(), f.get()) != contenuto.size()) {
    fallisci("scrivere", percorso);
  }
  errno = 0;
  if (std::fflush(f.get()) != 0) {
    fallisci("scrivere", percorso);
  }
  chiudi(std::move(f), percorso);
}

std::string DiscoReale::leggi(const std::string& percorso) {
  File f = apri(percorso, "rb", "aprire");
  std::string contenuto;
  char blocco[65536];
  size_t letti = 0;
  errno = 0;
  while ((letti = std::fread(blocco, 1, sizeof blocco, f.get())) > 0) {
    contenuto.append(blocco, letti);
  }
  if (std::ferror(f.get())) {
    fallisci("leggere", percorso);
  }
  return contenuto;
}

void DiscoReale::elimina(const std::string& percorso) {
  errno = 0;
  if (std::remove(percorso.c_str()) != 0) {
    fallisci("eliminare", percorso);
  }
}

std::vector<std::string> DiscoReale::elenca(const std::string& cartella) {
  std::error_code errore;
  std::vector<std::string> nomi;
  std::filesystem::directory_iterator it(cartella, errore);
  for (; !errore && it != std::filesystem::directory_iterator(); it.increment(errore)) {
    std::error_code tipo;
    if (it->is_regular_file(tipo)) {
      nomi.push_back(it->path().filename().string());
    }
  }
  if (errore) {
    throw ErroreFile("elencare", cartella, errore.message());
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

// Kept apart from the window layer, so that programs that only read and write files (the
// author tools) need no window library.
char DiscoReale::separatore() const {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

}  // namespace piattaforma
