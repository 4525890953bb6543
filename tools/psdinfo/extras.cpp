// Per-layer extras of psdinfo's JSON line.

#include "Core/Psd/Psd.h"

#include <string>

std::string psdinfoLayerExtras(const psdr_layer& layer)
{
    (void)layer;
    return std::string();
}
