// The modifiers a tower's hit leaves, by the shooter's flags. The towers' side fills this in.
#include "Source/TD/TDUnit.h"

void addHitModifiers(TDMap&, TDUnit&, const TDShot&, bool) {}
