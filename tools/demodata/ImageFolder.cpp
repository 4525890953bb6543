#include "tools/demodata/ImageFolder.h"

#include <cstdio>

namespace demodata
{
namespace
{

std::string XmlEscape(const std::string& s)
{
    std::string out;
    for (char c : s)
    {
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string LayersXml(const std::vector<FolderLayer>& layers)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Layers>\n";
    char buf[512];
    for (std::size_t i = 0; i < layers.size(); ++i)
    {
        const FolderLayer& l = layers[i];
        xml += "  <Layer name=\"" + XmlEscape(l.name) + "\"";
        std::snprintf(buf, sizeof buf,
                      " x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" opacity=\"%d\" ind=\"%zu\"", l.x, l.y,
                      l.width, l.height, l.opacity, i);
        xml += buf;
        if (!l.atlas.empty())
        {
            std::snprintf(buf, sizeof buf, " tu1=\"%.6f\" tv1=\"%.6f\" tu2=\"%.6f\" tv2=\"%.6f\"", l.tu1,
                          l.tv1, l.tu2, l.tv2);
            xml += " atlas=\"" + XmlEscape(l.atlas) + "\"" + buf;
        }
        if (l.textPlace)
            xml += " place=\"1\"";
        xml += "/>\n";
    }
    xml += "</Layers>\n";
    return xml;
}

} // namespace demodata
