// How the parse reaches its two sources: it asks whether the line source exists, reads each
// source whole, and deletes each once it has been read, or, when a failure ends the parse,
// whichever still exists. The compile of two texts holds them in memory; the builder's run
// reaches them in its folder. A failure of any of these steps is the parse's own and ends it
// with code 25.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

enum class Sorgente { linea, treno };

// A step on a source that failed: the operation in the words of a message ("aprire",
// "eliminare"), with the reason.
class ErroreSorgente : public std::runtime_error {
 public:
  ErroreSorgente(std::string operazione, const std::string& motivo)
      : std::runtime_error(motivo), operazione_(std::move(operazione)) {}
  const std::string& operazione() const { return operazione_; }

 private:
  std::string operazione_;
};

class SorgentiDaLeggere {
 public:
  virtual ~SorgentiDaLeggere() = default;

  virtual bool esiste(Sorgente s) = 0;
  // The source's bytes; a missing or unreadable one throws ErroreSorgente.
  virtual std::string leggi(Sorgente s) = 0;
  // A missing one, or one that cannot be deleted, throws ErroreSorgente.
  virtual void elimina(Sorgente s) = 0;
  virtual void elimina_se_esiste(Sorgente s) = 0;
};

// The two sources as texts in memory; an absent one is a missing file. Deleting a source
// only marks it deleted: the texts are the caller's and stay as they are.
class SorgentiInMemoria : public SorgentiDaLeggere {
 public:
  SorgentiInMemoria(std::optional<std::string_view> linea, std::optional<std::string_view> treno)
      : linea_(linea), treno_(treno) {}

  bool esiste(Sorgente s) override;
  std::string leggi(Sorgente s) override;
  void elimina(Sorgente s) override;
  void elimina_se_esiste(Sorgente s) override;

  // Whether the parse deleted the source (it existed and is gone).
  bool eliminata(Sorgente s) const;

 private:
  std::optional<std::string_view>& testo(Sorgente s) {
    return s == Sorgente::linea ? linea_ : treno_;
  }

  std::optional<std::string_view> linea_;
  std::optional<std::string_view> treno_;
  bool linea_eliminata_ = false;
  bool treno_eliminato_ = false;
};
