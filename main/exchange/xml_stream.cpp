#include "main/exchange/xml_stream.h"

#include <expat.h>

#include <cstring>

namespace scorvane {
namespace {

struct Session {
    XML_Parser parser;
    XmlEvents& events;
    bool refused = false;

    void stop() {
        refused = true;
        XML_StopParser(parser, XML_FALSE);
    }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* s = static_cast<Session*>(data);
    if (!s->refused && !s->events.start(name, attributes)) {
        s->stop();
    }
}

void XMLCALL onEnd(void* data, const XML_Char* name) {
    auto* s = static_cast<Session*>(data);
    if (!s->refused && !s->events.end(name)) {
        s->stop();
    }
}

void XMLCALL onText(void* data, const XML_Char* text, int length) {
    auto* s = static_cast<Session*>(data);
    if (!s->refused && !s->events.text(std::string_view(text, static_cast<size_t>(length)))) {
        s->stop();
    }
}

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    static_cast<Session*>(data)->stop();
}

void XMLCALL onEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
                      const XML_Char*, const XML_Char*) {
    static_cast<Session*>(data)->stop();
}

class Parser {
  public:
    Parser(XmlEvents& events, bool namespaces)
        : session_{namespaces ? XML_ParserCreateNS("UTF-8", '|') : XML_ParserCreate("UTF-8"), events} {
        XML_SetUserData(session_.parser, &session_);
        XML_SetElementHandler(session_.parser, onStart, onEnd);
        XML_SetCharacterDataHandler(session_.parser, onText);
        XML_SetStartDoctypeDeclHandler(session_.parser, onDoctype);
        XML_SetEntityDeclHandler(session_.parser, onEntity);
        XML_SetParamEntityParsing(session_.parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    ~Parser() { XML_ParserFree(session_.parser); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    bool feed(std::string_view bytes, bool last) {
        if (session_.refused) {
            return false;
        }
        // Large buffers go in pieces that fit expat's int length.
        while (bytes.size() > (1u << 30)) {
            if (!feed(bytes.substr(0, 1u << 30), false)) {
                return false;
            }
            bytes.remove_prefix(1u << 30);
        }
        const XML_Status status =
            XML_Parse(session_.parser, bytes.data(), static_cast<int>(bytes.size()), last ? XML_TRUE : XML_FALSE);
        return status == XML_STATUS_OK && !session_.refused;
    }

  private:
    Session session_;
};

}  // namespace

std::string_view XmlLocalName(std::string_view name) {
    const size_t bar = name.find_last_of("|:");
    return bar == std::string_view::npos ? name : name.substr(bar + 1);
}

const char* XmlAttribute(const char** attributes, std::string_view name) {
    const bool local = name.find_first_of("|:") == std::string_view::npos;
    for (size_t i = 0; attributes[i]; i += 2) {
        const std::string_view n(attributes[i]);
        if (n == name || (local && XmlLocalName(n) == name)) {
            return attributes[i + 1];
        }
    }
    return nullptr;
}

bool ParseXmlMember(ZipArchive& archive, int64_t member, XmlEvents& events, bool namespaces) {
    Parser parser(events, namespaces);
    return archive.read(member, [&parser](std::string_view bytes) { return parser.feed(bytes, false); }) &&
           parser.feed({}, true);
}

bool ParseXmlBytes(std::string_view bytes, XmlEvents& events, bool namespaces) {
    Parser parser(events, namespaces);
    return parser.feed(bytes, true);
}

}  // namespace scorvane
