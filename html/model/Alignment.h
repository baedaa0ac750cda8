#pragma once
// The placement codes the builder hands to the model: paragraph and cell alignment, where an
// inline object stands on its line (or which side it floats to), and the script position of a
// font run.
#include <cstdint>

enum TParaAlign : int { paNone = 0, paLeft = 1, paCenter = 2, paRight = 3 };
enum TPlacement : int { plTop = 0, plMiddle = 1, plBottom = 2, plLeft = 3, plRight = 4 };
enum TScriptShift : uint8_t { ssNormal = 0, ssSubscript = 1, ssSuperscript = 2 };
