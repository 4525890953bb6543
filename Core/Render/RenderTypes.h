#pragma once

#include <cstdint>

namespace render
{

// How a draw is combined with what is already in the target.
enum BlendMode : int32_t
{
    BlendNone = 0,
    // src × alpha + dst × (1 − alpha); destination alpha adds up.
    BlendAlpha = 1,
    // src × alpha + dst; destination alpha adds up.
    BlendAdditive = 2,
};

enum PrimitiveType : int32_t
{
    PointList = 0,
    LineList = 1,
    LineStrip = 2,
    TriangleList = 3,
    TriangleStrip = 4,
    TriangleFan = 5,
    // Marks that no draw is pending; never recorded.
    PrimitiveNone = 6,
};

// Bits of the Clear flags.
enum ClearFlags : uint32_t
{
    ClearColor = 1u << 0,
    ClearDepth = 1u << 1,
    ClearStencil = 1u << 2,
};

// The opcode of each command record, a little-endian u32 at the start of the record.
enum CommandOpcode : uint32_t
{
    CmdClear = 0,
    CmdBeginScene = 1,
    CmdEndScene = 2,
    CmdPresent = 3,
    CmdSetRenderTarget = 4,
    CmdResetRenderTarget = 5,
    CmdSetShader = 6,
    CmdShaderVariables = 7,
    CmdSetVertexFormat = 8,
    CmdSetVertexBuffer = 9,
    CmdSetIndexBuffer = 10,
    CmdSetBlendMode = 11,
    CmdSetScissorEnabled = 12,
    CmdSetScissorRect = 13,
    CmdSetDepth = 14,
    CmdUnused15 = 15,
    CmdDrawPrimitive = 16,
    CmdDrawIndexedPrimitive = 17,
    CmdEnd = 18,
};

} // namespace render
