#pragma once

#include <string>

namespace tinyxml2
{
class XMLElement;
}

// The prototype sheets are semicolon-separated UTF-8 text: the first non-blank line names the columns and
// every further non-blank line is one row. Each row becomes a `unit` element whose attributes are its fields
// under their column names (decimal commas already turned into points). A row whose "parent" names the "id"
// of an earlier top-level row of the same sheet goes inside that row's element; every other row goes
// directly into the section.

// Reads the sheet at path (UTF-8) through the file manager and appends its rows to section. A missing file
// adds nothing.
void readCsvSheet(const std::string& path, tinyxml2::XMLElement* section);

// The same for a sheet already read into text; name only labels the log lines about damaged rows.
void parseCsvSheet(const std::string& text, tinyxml2::XMLElement* section, const std::wstring& name);

// The first element directly inside section whose integer "id" equals id (an element without a readable
// "id" counts as 0), or null.
tinyxml2::XMLElement* findElementById(int id, tinyxml2::XMLElement* section);
