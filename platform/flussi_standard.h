// Standard input and output as byte streams: a protocol that counts bytes must not have its
// line ends rewritten on the way (Windows' text mode turns "\n" into "\r\n").
#pragma once

namespace piattaforma {

void flussi_standard_binari();

}  // namespace piattaforma
