#pragma once
// The game model in one include: constants and records, counting and card geometry, number
// classes and membership, text forms and parsing, draw dates.
#include "core/game/counting.h"
#include "core/game/dates.h"
#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/game/types.h"
