#include "Source/TD/Towers/TDSpellList.h"

#include "Core/Base/Containers.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/TDUtil.h"

#include <cstdlib>

namespace
{
std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true)
    {
        const std::size_t end = line.find(';', start);
        fields.push_back(trimBlanks(line.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return fields;
}

render::Image* loadIcon(const std::string& path)
{
    framework::GameApplication* application = framework::GetGameApplication();
    if (!application || path.empty())
        return nullptr;
    return application->LoadTexture(base::ToWide(path, base::kEncodingUtf8), nullptr);
}
} // namespace

TDSpellProto::~TDSpellProto()
{
    delete mIcon;
    delete mShade;
}

TDSpellList::TDSpellList(const std::wstring& path)
{
    parse(readGameTextFile(path, true), true);
}

TDSpellList::~TDSpellList()
{
    base::DeleteAll(mSpells);
}

void TDSpellList::parse(const std::string& text, bool loadIcons)
{
    std::size_t start = 0;
    while (start <= text.size())
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trimBlanks(line).empty())
            continue;
        const std::vector<std::string> fields = splitFields(line);
        if (fields[0] == "#")
            continue;
        // A row without its prototype or spell id is outside the format: it names no spell.
        if (fields.size() < 5 || fields[1].empty() || fields[4].empty())
            continue;
        auto* row = new TDSpellProto;
        row->mProtoId = std::atoi(fields[1].c_str());
        row->mIconPath = fields[2];
        row->mShadePath = fields[3];
        row->mSpellId = std::atoi(fields[4].c_str());
        if (loadIcons)
        {
            row->mIcon = loadIcon(row->mIconPath);
            row->mShade = loadIcon(row->mShadePath);
        }
        mSpells.push_back(row);
    }
}

TDSpellProto* TDSpellList::findById(int spellId) const
{
    for (TDSpellProto* row : mSpells)
        if (row->mSpellId == spellId)
            return row;
    return nullptr;
}
