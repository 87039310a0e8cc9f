// The identity of a scenario: the scenario name and the train number, which name its files.
#pragma once

#include <string>

struct Identita {
  std::string scenario;
  std::string treno;

  bool operator==(const Identita&) const = default;
};
