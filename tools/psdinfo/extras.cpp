// Per-layer extras of psdinfo's JSON line: the adjustment or fill kind and the effects present.

#include "Core/Psd/PsdBlocks.h"

#include <string>

namespace
{

const char* kindName(int32_t kind)
{
    switch (kind)
    {
    case PSDR_BLOCK_LEVELS:
        return "levels";
    case PSDR_BLOCK_CURVES:
        return "curves";
    case PSDR_BLOCK_BRIGHTNESS_CONTRAST:
        return "brightnessContrast";
    case PSDR_BLOCK_COLOUR_BALANCE:
        return "colourBalance";
    case PSDR_BLOCK_HUE_SATURATION:
        return "hueSaturation";
    case PSDR_BLOCK_SELECTIVE_COLOUR:
        return "selectiveColour";
    case PSDR_BLOCK_THRESHOLD:
        return "threshold";
    case PSDR_BLOCK_INVERT:
        return "invert";
    case PSDR_BLOCK_POSTERIZE:
        return "posterize";
    case PSDR_BLOCK_CHANNEL_MIXER:
        return "channelMixer";
    case PSDR_BLOCK_GRADIENT_MAP:
        return "gradientMap";
    case PSDR_BLOCK_PHOTO_FILTER:
        return "photoFilter";
    case PSDR_BLOCK_SOLID_COLOUR:
        return "solidColour";
    case PSDR_BLOCK_GRADIENT_FILL:
        return "gradientFill";
    case PSDR_BLOCK_PATTERN_FILL:
        return "patternFill";
    default:
        return nullptr;
    }
}

const char* const kEffectNames[PSDR_FX_COUNT] = {
    "dropShadow", "innerShadow",     "outerGlow",      "innerGlow", "satin",
    "colourFill", "gradientOverlay", "patternOverlay", "stroke",    "bevelEmboss"};

} // namespace

std::string psdinfoLayerExtras(const psdr_layer& layer)
{
    const char* adjustment = nullptr;
    bool present[PSDR_FX_COUNT] = {};
    bool enabled[PSDR_FX_COUNT] = {};
    for (int32_t i = 0; i < layer.block_count && i < PSDR_MAX_BLOCKS; ++i)
    {
        const int32_t kind = layer.block_kinds[i];
        if (const char* name = kindName(kind))
            adjustment = name;
        if ((kind == PSDR_BLOCK_EFFECTS || kind == PSDR_BLOCK_OLD_EFFECTS) && layer.blocks[i])
        {
            const auto* fx = static_cast<const psdr_effects*>(layer.blocks[i]);
            const uint8_t on[PSDR_FX_COUNT] = {fx->drop_shadow.enabled,
                                               fx->inner_shadow.enabled,
                                               fx->outer_glow.enabled,
                                               fx->inner_glow.enabled,
                                               fx->satin.enabled,
                                               fx->colour_fill.enabled,
                                               fx->gradient_overlay.enabled,
                                               fx->pattern_overlay.enabled,
                                               fx->stroke.enabled,
                                               fx->bevel.enabled};
            for (int e = 0; e < PSDR_FX_COUNT; ++e)
                if (fx->present[e])
                {
                    present[e] = true;
                    enabled[e] = enabled[e] || on[e];
                }
        }
    }
    std::string out = ",\"adjustment\":";
    out += adjustment ? "\"" + std::string(adjustment) + "\"" : "null";
    out += ",\"effects\":[";
    bool first = true;
    for (int e = 0; e < PSDR_FX_COUNT; ++e)
    {
        if (!present[e])
            continue;
        out += first ? "" : ",";
        out += "{\"kind\":\"" + std::string(kEffectNames[e]) +
               "\",\"enabled\":" + (enabled[e] ? "true" : "false") + "}";
        first = false;
    }
    return out + "]";
}
