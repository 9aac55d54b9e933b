// Placeholder so that the tree links while this file is being written.
#include "shell/edition.h"
namespace pm {
const Edition& planimoveEdition() { static const Edition e{EditionId::Planimove, "Planimove"}; return e; }
const Edition& rautenwerkEdition() { static const Edition e{EditionId::Rautenwerk, "Rautenwerk"}; return e; }
}  // namespace pm
