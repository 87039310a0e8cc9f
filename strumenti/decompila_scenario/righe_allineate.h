// Rows of one kind written as the built-in sources write them: the keyword, a comma, then each
// value right-aligned in a column of its own after its comma, so that the rows line up. A column
// is as wide as its widest value and at least its given width (spaces included); a row may end
// with a free text after a fixed run of spaces, which is not aligned.
#pragma once

#include <string>
#include <vector>

class RigheAllineate {
 public:
  RigheAllineate(std::string parola_chiave, std::vector<size_t> larghezze,
                 std::string prima_del_testo = "");

  // One row: a text per column (an empty one for an empty field), and the free text when the
  // kind has one.
  void aggiungi(std::vector<std::string> valori, std::string testo = "");
  // A row whose keyword is its own (a curve's keyword carries its side and class).
  void aggiungi_con_parola(std::string parola_chiave, std::vector<std::string> valori);
  bool vuota() const { return righe_.empty(); }

  // Appends the rows to `testo`, each ended by CR LF.
  void scrivi(std::string& testo) const;
  // The rows one by one, aligned as `scrivi` aligns them, without their line ends: for rows
  // of one kind that go among rows of other kinds.
  std::vector<std::string> linee() const;

 private:
  struct Riga {
    std::string parola_chiave;
    std::vector<std::string> valori;
    std::string testo;
  };
  std::string parola_chiave_;
  std::vector<size_t> larghezze_;
  std::string prima_del_testo_;
  std::vector<Riga> righe_;
};

// A line of its own (a header), ended by CR LF.
void scrivi_linea(std::string& testo, std::string_view linea);
