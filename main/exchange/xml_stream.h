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
    virtual bool start(const char* name, const char** attributes) = 0;
    virtual bool end(const char* name) = 0;
    virtual bool text(std::string_view text) = 0;

    // Set by a reader that has what it came for before the end of the document (the first rows of a
    // sheet): its false then stops the parse as done, the rest of the document unread.
    bool finished = false;
};

// The part after the namespace or the prefix.
const char* XmlLocalName(const char* name);
// Whether the part after the namespace or the prefix is `local`.
bool XmlLocalNameIs(const char* name, std::string_view local);
// Whether `name` is `prefix` followed by `local` ("table:" and "table-cell").
bool XmlNameIs(const char* name, std::string_view prefix, std::string_view local);
// The value of the attribute of that full or local name, or null.
const char* XmlAttribute(const char** attributes, std::string_view name);

// Streams one member of the archive through `events`, unpacked straight into the parser's buffer.
// False when the member is missing, is not well-formed XML (in the part read, when `events` finished
// early), declares a document type, or `events` refused.
bool ParseXmlMember(ZipArchive& archive, int64_t member, XmlEvents& events, bool namespaces = true);
// The same over bytes in memory.
bool ParseXmlBytes(std::string_view bytes, XmlEvents& events, bool namespaces = true);

}  // namespace scorvane
