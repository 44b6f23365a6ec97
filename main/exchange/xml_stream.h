#pragma once

#include <string_view>

#include "main/exchange/zip_archive.h"

namespace scorvane {

// Reads a workbook's XML as a stream of events, never as a tree. With namespaces, element and
// attribute names come as "namespace|local" ("urn:oasis:names:tc:opendocument:xmlns:table:1.0|table-cell")
// or the bare local name without a namespace; without, as they stand ("x:row", "row"), which is quicker
// where a format has one namespace that matters. A document type declaration (and with it any entity declaration)
// makes the XML refused: workbooks have none, and entities are how hostile XML grows.
class XmlEvents {
  public:
    virtual ~XmlEvents() = default;
    // `attributes` are name, value pairs ending in a null name. Return false to stop as refused.
    virtual bool start(std::string_view name, const char** attributes) = 0;
    virtual bool end(std::string_view name) = 0;
    virtual bool text(std::string_view text) = 0;
};

// The part after the namespace or the prefix.
std::string_view XmlLocalName(std::string_view name);
// The value of the attribute of that full or local name, or null.
const char* XmlAttribute(const char** attributes, std::string_view name);

// Streams one member of the archive through `events`. False when the member is missing, is not
// well-formed XML, declares a document type, or `events` refused.
bool ParseXmlMember(ZipArchive& archive, int64_t member, XmlEvents& events, bool namespaces = true);
// The same over bytes in memory.
bool ParseXmlBytes(std::string_view bytes, XmlEvents& events, bool namespaces = true);

}  // namespace scorvane
