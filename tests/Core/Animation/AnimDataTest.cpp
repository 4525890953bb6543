#include "Core/Animation/AnimData.h"
#include "Core/Animation/LayerAnim.h"
#include "Core/Animation/Lightwave/MeshLibrary.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Layer/Layer.h"
#include "Core/Resource/ResourceManager.h"

#include "Core/Animation/AnimTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>

using animation::AnimData;
using animation::LayerRecord;

namespace
{

std::string TwoRecordFile()
{
    LayerRecord a = test::FadeRecord(test::Ramp(0, 1, 0.5f, 0));
    a.name = "first";
    a.hasParent = true;
    a.parentIndex = 1;
    a.flagA = true;
    LayerRecord b = test::FadeRecord(test::Constant(0.25f), "null", "null");
    b.name = "second";
    b.hasColor = true;
    b.color = {test::Constant(0.5f), test::Constant(-1.0f), test::Constant(2.0f), test::Ramp(0, 0, 1, 1)};
    b.channels[animation::ChannelPositionX] = test::Ramp(0, 0, 1, 100);
    b.channels[animation::ChannelRotationY] = test::Constant(0.5f);
    b.channels[animation::ChannelRotationX] = test::Constant(0.25f);
    return animation::WriteAnimData("show", 0.0f, 0.5f, {a, b});
}

VNResultEnum ReadBytes(AnimData& data, const std::string& bytes)
{
    base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
    return data.Read(stream);
}

void PutU32(std::string& bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

TEST(AnimData, ReadsHeaderRecordsAndEnvelopes)
{
    AnimData data;
    ASSERT_EQ(ReadBytes(data, TwoRecordFile()), VN_OK);
    EXPECT_EQ(data.GetAnimName(), "show");
    EXPECT_EQ(data.GetStartTime(), 0.0f);
    EXPECT_EQ(data.GetEndTime(), 0.5f);
    ASSERT_EQ(data.GetRecords().size(), 2u);
    const LayerRecord& a = *data.GetRecords()[0];
    const LayerRecord& b = *data.GetRecords()[1];
    EXPECT_EQ(a.owner, &data);
    EXPECT_EQ(a.name, "first");
    EXPECT_EQ(a.meshLibrary, "screen_res");
    EXPECT_TRUE(a.hasParent);
    EXPECT_EQ(a.parentIndex, 1u);
    EXPECT_TRUE(a.flagA);
    EXPECT_FALSE(a.flagB);
    EXPECT_FALSE(a.hasColor);
    ASSERT_EQ(a.channels[animation::ChannelDissolve].keys.size(), 2u);
    EXPECT_EQ(a.channels[animation::ChannelDissolve].keys[1].time, 0.5f);
    EXPECT_TRUE(b.hasColor);
    EXPECT_EQ(b.color[animation::ColorRed].keys[0].value, 0.5f);
}

TEST(AnimData, ReadStringRefusesShortAndOverlongText)
{
    struct Case
    {
        std::string bytes;
        VNResultEnum result;
        std::string text;
    };
    const std::string ok = std::string("\x03\0\0\0abc", 7);
    const std::vector<Case> cases = {
        {ok, VN_OK, "abc"},
        {std::string("\0\0\0\0", 4), VN_OK, ""},
        {std::string("\x03\0\0", 3), VN_FAIL, ""},
        {std::string("\x04\0\0\0abc", 7), VN_FAIL, ""},
        {std::string("\xff\xff\xff\xff", 4), VN_FAIL, ""},
    };
    for (const Case& c : cases)
    {
        base::MemoryStream stream(c.bytes.data(), static_cast<unsigned>(c.bytes.size()));
        std::string out;
        EXPECT_EQ(animation::ReadString(stream, out), c.result) << c.bytes.size();
        if (c.result == VN_OK)
        {
            EXPECT_EQ(out, c.text);
        }
    }
}

TEST(AnimData, EveryTruncationIsRefusedAndKeepsNothing)
{
    const std::string full = TwoRecordFile();
    for (size_t length = 0; length < full.size(); ++length)
    {
        AnimData data;
        EXPECT_EQ(ReadBytes(data, full.substr(0, length)), VN_FAIL) << length;
        EXPECT_TRUE(data.GetRecords().empty()) << length;
    }
}

TEST(AnimData, HugeCountsAreRefusedBeforeAllocating)
{
    const std::string full = TwoRecordFile();
    // Layer count right after the name (4 + 4 bytes) and the two times.
    const size_t layerCountAt = 4 + 4 + 8;
    // First envelope header of the first record: name, library, mesh strings, four u32.
    const size_t firstKeyCountAt = layerCountAt + 4 + (4 + 5) + (4 + 10) + (4 + 4) + 16;
    for (size_t at : {layerCountAt, firstKeyCountAt})
    {
        for (uint32_t count : {0xFFFFFFFFu, 0x10000000u, 1000u})
        {
            std::string bytes = full;
            PutU32(bytes, at, count);
            AnimData data;
            EXPECT_EQ(ReadBytes(data, bytes), VN_FAIL) << at << " " << count;
        }
    }
}

TEST(AnimData, LayerAnimPosesTheLayer)
{
    AnimData data;
    ASSERT_EQ(ReadBytes(data, TwoRecordFile()), VN_OK);
    layer::Layer target;
    target.SetColor(1, 1, 1, 0.5f);
    animation::LayerAnim anim(&target, data.GetRecords()[1].get());
    ASSERT_EQ(anim.Apply(0.5f), VN_OK);
    EXPECT_EQ(target.GetPosition().x, 50.0f);
    EXPECT_EQ(target.GetRotation().x, 0.25f);
    EXPECT_EQ(target.GetRotation().y, 0.5f);
    EXPECT_EQ(target.GetScale().x, 1.0f);
    EXPECT_TRUE(target.IsTransformChanged());
    EXPECT_FLOAT_EQ(target.GetAlpha(), 0.75f);
    // Colour clamped to [0, 1]; its fourth component untouched.
    EXPECT_EQ(target.GetColor()[0], 0.5f);
    EXPECT_EQ(target.GetColor()[1], 0.0f);
    EXPECT_EQ(target.GetColor()[2], 1.0f);
    EXPECT_EQ(target.GetColor()[3], 0.5f);
    EXPECT_FLOAT_EQ(target.GetTintAmount(), 0.5f);

    // Dissolve 1.5 gives alpha 0; the first record has no colour and leaves it alone.
    LayerRecord over = test::FadeRecord(test::Constant(1.5f));
    layer::Layer other;
    animation::LayerAnim overAnim(&other, &over);
    ASSERT_EQ(overAnim.Apply(0.0f), VN_OK);
    EXPECT_EQ(other.GetAlpha(), 0.0f);
    EXPECT_EQ(other.GetColor()[0], 1.0f);
    EXPECT_FALSE(other.IsTransformChanged()); // every component equal to the stored one
}

TEST(AnimData, LoadsThroughTheFileManagerWithoutMeshForScreenRes)
{
    test::ScratchRoot root;
    root.Write("td/data/anim/show.anim", TwoRecordFile());
    auto handle = resource::ResourceManager::Instance()->Get<AnimData>(L"td/data/anim/show.anim");
    ASSERT_TRUE(handle);
    ASSERT_EQ(handle->Load(), VN_OK);
    EXPECT_EQ(handle->GetRecords().size(), 2u);
    EXPECT_EQ(handle->GetRecords()[0]->mesh, nullptr);

    auto missing = resource::ResourceManager::Instance()->Get<AnimData>(L"td/data/anim/missing.anim");
    EXPECT_EQ(missing->Load(), VN_FAIL);
    EXPECT_FALSE(missing->IsLoaded());
}
