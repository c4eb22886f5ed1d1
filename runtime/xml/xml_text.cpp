#include "runtime/xml/xml_text.h"

#include <algorithm>

namespace qh {
namespace {

struct Entity {
    char character;
    std::string_view written;
};

constexpr Entity kEntities[] = {
    {'"', "&quote;"}, {'&', "&amp;"}, {'\'', "&apos;"}, {'<', "&lt;"}, {'>', "&gt;"},
};

}  // namespace

bool EndsInHalfCharacter(std::string_view s) {
    std::size_t i = 0;
    std::size_t last = 0;
    while (i < s.size()) {
        last = i;
        i += XmlCharLength(s, i);
    }
    return !s.empty() && i - last == 1 && static_cast<unsigned char>(s[last]) > 0x80;
}

std::size_t FindXml(std::string_view s, std::size_t from, std::string_view what) {
    if (what.empty()) return from <= s.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i < s.size(); i += XmlCharLength(s, i)) {
        if (s[i] == what[0] && s.compare(i, what.size(), what) == 0) return i;
    }
    return std::string_view::npos;
}

Text EscapeXml(std::string_view s) {
    // A text without any of the five characters, the usual case, is its own
    // escaped form.
    const bool plain = std::none_of(s.begin(), s.end(), [](char c) {
        return c == '"' || c == '&' || c == '\'' || c == '<' || c == '>';
    });
    if (plain) return Text(s);
    Text out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = XmlCharLength(s, i);
        const Entity* entity = nullptr;
        if (length == 1) {
            for (const Entity& e : kEntities) {
                if (e.character == s[i]) entity = &e;
            }
        }
        if (entity != nullptr) {
            out.append(entity->written);
        } else {
            out.append(s.substr(i, length));
        }
        i += length;
    }
    return out;
}

Text UnescapeXml(std::string_view s) {
    if (s.find('&') == std::string_view::npos) return Text(s);
    Text out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = XmlCharLength(s, i);
        const Entity* entity = nullptr;
        if (s[i] == '&') {
            for (const Entity& e : kEntities) {
                if (s.compare(i, e.written.size(), e.written) == 0) entity = &e;
            }
        }
        if (entity != nullptr) {
            out.push_back(entity->character);
            i += entity->written.size();
        } else {
            out.append(s.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string_view TrimXml(std::string_view s) {
    std::size_t begin = 0;
    while (begin < s.size() && IsXmlSpace(s[begin])) ++begin;
    std::size_t end = begin;
    for (std::size_t i = begin; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c > 0x80 && i + 1 < s.size()) {
            i += 2;
            end = i;
        } else {
            ++i;
            if (!IsXmlSpace(static_cast<char>(c))) end = i;
        }
    }
    return s.substr(begin, end - begin);
}

}  // namespace qh
