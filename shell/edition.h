// The two programs built from this source tree differ only in what this
// struct holds; nothing else in the code asks which edition is running.
#pragma once

#include <string>

namespace pm {

enum class EditionId { Planimove, Rautenwerk };

struct Edition {
  EditionId id = EditionId::Planimove;
  std::string name;  // "Planimove" / "Rautenwerk"
  // Further differences (function keys, menus, help picture, …) are added here.
};

const Edition& planimoveEdition();
const Edition& rautenwerkEdition();

}  // namespace pm
