#include "Core/Base/StringUtils.h"

namespace base
{

void RemoveChar(const std::string& source, char ch, std::string& destination)
{
    destination.reserve(destination.size() + source.size());
    for (char c : source)
    {
        if (c != ch)
            destination.push_back(c);
    }
}

} // namespace base
