#include "Core/File/ImageFolder.h"

#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/Extensions.h"
#include "Core/File/FileContainer.h"
#include "Core/File/FileManager.h"
#include "Core/File/PsdFile.h"
#include "Core/File/ReadFile.h"

#include <tinyxml2.h>

#include <cwctype>
#include <memory>

namespace file
{
namespace
{

ImageContainer* MakeImageContainer(int kind, const std::wstring& path, FileContainer* parent)
{
    if (kind == 0)
        return new PsdFolder(path, parent);
    if (kind == 1)
        return new PsdFile(path, parent);
    return nullptr;
}

std::wstring Lower(const std::wstring& text)
{
    std::wstring out = text;
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

void RegisterImageContainers()
{
    SetImageContainerMaker(&MakeImageContainer);
}

float FileImageScale()
{
    return base::Singletone<FileManager>::Exists() ? FileManager::Instance()->mImageScale : 1.0f;
}

// The application fixes its image scale at 1 when it is made and never changes it. Asking the application
// object would tie every user of image containers (tools, tests) to the executable that defines the
// application.
float ApplicationImageScale()
{
    return 1.0f;
}

std::wstring ImageContainer::GetPath()
{
    return (mParent ? mParent->GetPath() : std::wstring()) + mPath + L"/";
}

std::wstring ImagePrefix(const std::wstring& prefix)
{
    return Lower(base::NormalizeDirPath(prefix));
}

PsdFolder::PsdFolder(const std::wstring& path, FileContainer* parent) : ImageContainer(path, parent)
{
    if (!mParent)
        return;
    std::unique_ptr<FileInfo> found(mParent->FindFile(mPath + L"/layers.xml"));
    if (!found)
        return;
    std::string text;
    if (!ReadWholeFile(*found, text))
        return;
    Parse(text.c_str(), text.size());
}

void PsdFolder::Parse(const char* text, size_t length)
{
    tinyxml2::XMLDocument doc;
    if (doc.Parse(text, length) != tinyxml2::XML_SUCCESS)
        return;
    const tinyxml2::XMLElement* root = doc.FirstChildElement("Layers");
    if (!root)
        return;
    const float fileScale = FileImageScale();
    const float appScale = ApplicationImageScale();
    for (const tinyxml2::XMLElement* layer = root->FirstChildElement("Layer"); layer;
         layer = layer->NextSiblingElement("Layer"))
    {
        const char* nameText = layer->Attribute("name");
        if (!nameText)
            break;
        const std::wstring name = base::ToWide(nameText, base::kEncodingUtf8);
        int rect[4] = {0, 0, 0, 0};
        const char* keys[4] = {"x", "y", "width", "height"};
        for (int i = 0; i < 4; ++i)
        {
            layer->QueryIntAttribute(keys[i], &rect[i]);
            rect[i] = static_cast<int>(static_cast<float>(rect[i]) * fileScale);
        }
        // Without the attributes a layer is opaque and indexed by its place in the file.
        int opacity = 255;
        int index = static_cast<int>(mList.size());
        layer->QueryIntAttribute("opacity", &opacity);
        layer->QueryIntAttribute("ind", &index);

        auto inserted = mImages.try_emplace(name, nullptr);
        if (inserted.second)
            inserted.first->second = std::make_unique<base::ImageInfo>(
                name, rect[0], rect[1], rect[2], rect[3], opacity, index, true, false, appScale);
        base::ImageInfo* info = inserted.first->second.get();
        if (const char* atlas = layer->Attribute("atlas"))
        {
            double tu1 = 0.0, tv1 = 0.0, tu2 = 1.0, tv2 = 1.0;
            layer->QueryDoubleAttribute("tu1", &tu1);
            layer->QueryDoubleAttribute("tv1", &tv1);
            layer->QueryDoubleAttribute("tu2", &tu2);
            layer->QueryDoubleAttribute("tv2", &tv2);
            info->mInAtlas = true;
            info->mAtlasPath = GetPath() + base::ToWide(atlas, base::kEncodingUtf8);
            // v counts from the bottom of the atlas in the file, from the top in the texture.
            info->mAtlasRect[0] = static_cast<float>(tu1);
            info->mAtlasRect[1] = static_cast<float>(1.0 - tv2);
            info->mAtlasRect[2] = static_cast<float>(tu2 - tu1);
            info->mAtlasRect[3] = static_cast<float>(tv2 - tv1);
        }
        mList.push_back(info);
    }
}

base::Stream* PsdFolder::OpenStream(const std::wstring& name)
{
    return mParent ? mParent->OpenStream(mPath + L"/" + name) : nullptr;
}

base::StreamCreator* PsdFolder::OpenStreamCreator(const std::wstring& name)
{
    return mParent ? mParent->OpenStreamCreator(mPath + L"/" + name) : nullptr;
}

ImageFileInfo* PsdFolder::FindImage(const std::wstring& name, const wchar_t* const* extensions,
                                    unsigned count, unsigned* foundIndex)
{
    auto it = mImages.find(name);
    if (it == mImages.end())
        return nullptr;
    const base::ImageInfo& info = *it->second;
    const std::uint8_t packed = mParent ? mParent->mPacked : 0;
    std::wstring path = name;
    if (!info.mInAtlas && extensions && count > 0)
    {
        unsigned index = 0;
        if (!mParent || !mParent->Exists(mPath + L"/" + name, extensions, count, &index))
            return nullptr;
        if (foundIndex)
            *foundIndex = index;
        path += extensions[index];
    }
    return new ImageFileInfo(base::GetFileName(name), path, this, packed, info);
}

const base::ImageInfo* PsdFolder::FindImageInfo(const std::wstring& name) const
{
    auto it = mImages.find(name);
    return it == mImages.end() ? nullptr : it->second.get();
}

const base::ImageInfo* PsdFolder::GetImageInfo(unsigned index) const
{
    return index < mList.size() ? mList[index] : nullptr;
}

VNResultEnum PsdFolder::ListImages(const std::wstring& prefix, bool allLevels, std::vector<std::wstring>* out,
                                   bool strip)
{
    if (!out)
        return VN_OK;
    const std::wstring p = ImagePrefix(prefix);
    for (const base::ImageInfo* info : mList)
    {
        const std::wstring& name = info->mName;
        if (!StartsWith(name, p))
            continue;
        if (!allLevels && name.find(L'/', p.size()) != std::wstring::npos)
            continue;
        out->push_back(strip ? name.substr(p.size()) : name);
    }
    return VN_OK;
}

VNResultEnum PsdFolder::ListGroups(const std::wstring& prefix, std::vector<std::wstring>* out, bool)
{
    if (!out)
        return VN_OK;
    const std::wstring p = ImagePrefix(prefix);
    std::wstring last;
    bool any = false;
    for (const auto& entry : mImages)
    {
        const std::wstring& name = entry.first;
        if (!StartsWith(name, p))
            continue;
        const size_t slash = name.find(L'/', p.size());
        if (slash == std::wstring::npos)
            continue;
        std::wstring segment = name.substr(p.size(), slash - p.size());
        if (any && segment == last)
            continue;
        out->push_back(segment);
        last = std::move(segment);
        any = true;
    }
    return VN_OK;
}

bool PsdFolder::HasImage(const std::wstring& name) const
{
    return mImages.count(Lower(name)) != 0;
}

bool PsdFolder::FileExists(const std::wstring& name)
{
    return mParent && mParent->Exists(mPath + L"/" + name, kImageExtensions, kImageExtensionCount);
}

bool PsdFolder::HasGroup(const std::wstring& name) const
{
    const std::wstring p = ImagePrefix(name);
    for (const auto& entry : mImages)
        if (StartsWith(entry.first, p) && entry.first.find(L'/', p.size()) != std::wstring::npos)
            return true;
    return false;
}

} // namespace file
