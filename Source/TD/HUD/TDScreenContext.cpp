#include "Source/TD/HUD/TDScreenContext.h"

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/TDUtil.h"

namespace
{

TDScreenContext* gContext = nullptr;

} // namespace

const wchar_t* boardFontPath(TDBoardFont font)
{
    static const wchar_t* const kPaths[kBoardFontCount] = {
        L"td/data/fonts/main_32_1", L"td/data/fonts/main_32_2", L"td/data/fonts/main_42_1",
        L"td/data/fonts/main_42_2", L"td/data/fonts/main_80",   L"td/data/fonts/main_42_3",
    };
    const int index = static_cast<int>(font);
    return index >= 0 && index < kBoardFontCount ? kPaths[index] : nullptr;
}

TDScreenContext* TDScreenContext::current()
{
    return gContext;
}

void TDScreenContext::setCurrent(TDScreenContext* context)
{
    gContext = context;
}

CountedHandle<render::Font> boardFont(TDBoardFont font)
{
    return gContext != nullptr ? gContext->getFont(font) : CountedHandle<render::Font>();
}

layer::Layer* boardRootLayer()
{
    return gContext != nullptr ? gContext->getRootLayer() : nullptr;
}

CountedHandle<render::Font> loadBoardFont(const std::wstring& path)
{
    CountedHandle<render::BMFont> font = resource::ResourceManager::Instance()->Get<render::BMFont>(path);
    if (!font)
        return {};
    if (!font->IsLoaded())
    {
        if (font->mRender == nullptr)
        {
            if (framework::GameApplication* application = framework::GetGameApplication())
                font->mRender = application->GetRender();
        }
        if (font->Load() != VN_OK)
        {
            logDataProblem(path + L".fnt", L"the font cannot be loaded; its texts are not shown");
            return {};
        }
    }
    return CountedHandle<render::Font>(font);
}
