#include "metadata/UnitXmpReader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <vector>

#include "metadata/UnitTagList.h"
#include "platform/UnitText.h"

namespace {

constexpr size_t kMaxPrefixes = 64;        // namespaces read per packet
constexpr long kMaxTextVisits = 1000000;  // nodes visited for texts per packet

// Prefixes are pasted into XPath queries, so only plain names are used.
bool IsPlainName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
    if (!ok) return false;
  }
  return true;
}

// The prefixes declared by xmlns: attributes of the rdf:Description elements
// (pugixml's XPath leaves namespace declarations out of the attribute axis).
std::vector<std::string> DeclaredPrefixes(const pugi::xml_document& document) {
  std::vector<std::string> prefixes;
  for (const pugi::xpath_node& found : document.select_nodes("//rdf:Description")) {
    for (const pugi::xml_attribute& attribute : found.node().attributes()) {
      const std::string_view name = attribute.name();
      if (name.substr(0, 6) != "xmlns:") continue;
      std::string prefix(name.substr(6));
      if (prefixes.size() < kMaxPrefixes && IsPlainName(prefix) &&
          std::find(prefixes.begin(), prefixes.end(), prefix) == prefixes.end()) {
        prefixes.push_back(std::move(prefix));
      }
    }
  }
  return prefixes;
}

// The text of an element and its descendants: each text piece trimmed, the
// pieces joined by one blank (so the items of a list stay apart). Walks
// without recursion and spends at most `budget` node visits.
std::string NodeText(const pugi::xml_node& node, long& budget) {
  std::string text;
  pugi::xml_node at = node.first_child();
  while (at && budget-- > 0) {
    if (at.type() == pugi::node_pcdata || at.type() == pugi::node_cdata) {
      const std::string piece = Utf16ToUtf8(Trim(Utf8ToUtf16(at.value())));
      if (!piece.empty() && !text.empty()) text += ' ';
      text += piece;
    }
    if (at.first_child()) {
      at = at.first_child();
      continue;
    }
    while (at != node && !at.next_sibling()) at = at.parent();
    if (at == node) break;
    at = at.next_sibling();
  }
  return text;
}

std::u16string Key(std::string_view qualifiedName) {
  std::u16string name = LowerCase(Utf8ToUtf16(qualifiedName));
  for (char16_t& c : name) {
    if (c == u':') c = u'_';
  }
  return u"?xmp_" + name + u"?";
}

void StoreNamespace(const pugi::xml_document& document, const std::string& prefix,
                    long& budget, TTagList& list) {
  const std::string query = "//" + prefix + ":* | //@" + prefix + ":*";
  pugi::xpath_node_set nodes;
  try {
    nodes = document.select_nodes(query.c_str());
  } catch (const pugi::xpath_exception&) {
    return;
  }
  for (const pugi::xpath_node& found : nodes) {
    if (found.attribute()) {
      list.Set(Key(found.attribute().name()), Utf8ToUtf16(found.attribute().value()));
    } else if (found.node()) {
      list.Set(Key(found.node().name()), Utf8ToUtf16(NodeText(found.node(), budget)));
    }
  }
}

}  // namespace

void ReadXmp(std::string_view packet, TTagList& list) {
  pugi::xml_document document;
  if (!document.load_buffer(packet.data(), packet.size())) return;
  long budget = kMaxTextVisits;
  for (const std::string& prefix : DeclaredPrefixes(document)) {
    StoreNamespace(document, prefix, budget, list);
  }
}
