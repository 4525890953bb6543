#pragma once

#include "Core/Animation/Lightwave/Envelope.h"
#include "Core/Base/Result.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Resource/Resource.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace base
{
class Stream;
}
namespace render
{
class Render;
}
namespace lightwave
{
class MeshLibrary;
struct Mesh;
} // namespace lightwave

namespace animation
{

class AnimData;

// Channel envelopes of a layer record, in file order.
enum Channel : int
{
    ChannelPositionX = 0,
    ChannelPositionY = 1,
    ChannelPositionZ = 2,
    ChannelRotationY = 3,
    ChannelRotationX = 4,
    ChannelRotationZ = 5,
    ChannelScaleX = 6,
    ChannelScaleY = 7,
    ChannelScaleZ = 8,
    ChannelDissolve = 9,
    ChannelCount = 10,
};

// Colour envelopes, present only when a record has colour.
enum ColorChannel : int
{
    ColorRed = 0,
    ColorGreen = 1,
    ColorBlue = 2,
    ColorTint = 3,
    ColorChannelCount = 4,
};

// One animated layer of an animation file.
struct LayerRecord
{
    AnimData* owner = nullptr;
    std::string name;
    // Library file name without folder and extension; "null" or "screen_res" for none.
    std::string meshLibrary;
    std::string meshName;
    bool hasParent = false;
    uint32_t parentIndex = 0;
    bool flagA = false;
    bool flagB = false;
    bool hasColor = false;
    std::array<lightwave::Envelope, ColorChannelCount> color;
    std::array<lightwave::Envelope, ChannelCount> channels;
    // Resolved while loading; null without a mesh.
    const lightwave::Mesh* mesh = nullptr;
};

// The u32 length and bytes of a string; 1 on a short read (a length past the end of the stream is refused
// before anything is allocated).
VNResultEnum ReadString(base::Stream& stream, std::string& out);

// A key-framed animation of layers, read from a little-endian animation file; the mesh libraries its records
// name are loaded with it.
class AnimData : public resource::Resource
{
public:
    AnimData();
    ~AnimData() override;

    VNResultEnum Release() override;

    // The renderer handed to the mesh libraries; set before loading.
    void SetRender(render::Render* render) { mRender = render; }
    render::Render* GetRender() const { return mRender; }

    // Reads the file's header and records (no meshes); on failure nothing read is kept.
    VNResultEnum Read(base::Stream& stream);
    // Loads the mesh libraries the records name and finds each record's mesh.
    VNResultEnum ResolveMeshes();

    const std::string& GetAnimName() const { return mAnimName; }
    float GetStartTime() const { return mStartTime; }
    float GetEndTime() const { return mEndTime; }
    const std::vector<std::unique_ptr<LayerRecord>>& GetRecords() const { return mRecords; }

protected:
    VNResultEnum DoLoad() override;
    VNResultEnum DoUnload() override;

private:
    VNResultEnum Parse(base::Stream& stream);
    void Clear();

    std::string mAnimName;
    float mStartTime = 0.0f;
    float mEndTime = 0.0f;
    std::vector<std::unique_ptr<LayerRecord>> mRecords;
    render::Render* mRender = nullptr;
    std::map<std::string, CountedHandle<lightwave::MeshLibrary>> mLibraries;
};

// The bytes of an animation file holding these records (the records' owner and mesh are not written).
std::string WriteAnimData(const std::string& name, float startTime, float endTime,
                          const std::vector<LayerRecord>& records);

} // namespace animation
