#pragma once

#include <string>

namespace base
{

// Appends to destination every character of source that is not ch (destination is not cleared first).
void RemoveChar(const std::string& source, char ch, std::string& destination);

} // namespace base
