#include "compiler/provenienze.h"

void Provenienze::segna(int64_t k, const Luogo& riga) {
  if (k < 0) {
    return;
  }
  const auto i = static_cast<size_t>(k);
  if (i >= righe_.size()) {
    righe_.resize(i + 1);
  }
  righe_[i] = riga;
}

std::optional<Luogo> Provenienze::di(int64_t k) const {
  if (k < 0 || static_cast<size_t>(k) >= righe_.size() ||
      righe_[static_cast<size_t>(k)].file.empty()) {
    return std::nullopt;
  }
  return righe_[static_cast<size_t>(k)];
}

std::optional<Luogo> Registrazione::nota() const {
  return cella_occupata ? provenienze.di(*cella_occupata) : std::nullopt;
}
