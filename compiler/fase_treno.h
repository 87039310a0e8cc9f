// The train phase of the parser: reads the train source (train data, clock, adhesion and
// speed profiles, signals, slow-downs, "abbattimento" points and stations), deletes it, fills
// the tails of the profiles and checks the kilometre references.
#pragma once

#include "compiler/stato_lettura.h"

void fase_treno(StatoLettura& l);
