#include "metadata/UnitXmpReader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
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

// The namespaces that shape the packet rather than name properties: RDF
// itself and the "x:xmpmeta" wrapper.
constexpr std::string_view kSyntaxNamespaces[] = {"http://www.w3.org/1999/02/22-rdf-syntax-ns#",
                                                  "adobe:ns:meta/"};

bool IsSyntaxNamespace(std::string_view uri) {
  return std::find(std::begin(kSyntaxNamespaces), std::end(kSyntaxNamespaces), uri) !=
         std::end(kSyntaxNamespaces);
}

void AddPrefix(std::string_view attributeName, std::vector<std::string>& prefixes) {
  if (attributeName.substr(0, 6) != "xmlns:") return;
  std::string prefix(attributeName.substr(6));
  if (prefixes.size() < kMaxPrefixes && IsPlainName(prefix) &&
      std::find(prefixes.begin(), prefixes.end(), prefix) == prefixes.end()) {
    prefixes.push_back(std::move(prefix));
  }
}

// The prefixes in scope at the rdf:Description elements: every xmlns:
// attribute of a description itself, and those of its enclosing elements
// (rdf:RDF, x:xmpmeta), where writers also declare the property namespaces,
// except the namespaces of RDF and of the wrapper. pugixml's XPath leaves
// namespace declarations out of the attribute axis, so they are read here.
// Each enclosing element is read once, however many descriptions it holds.
std::vector<std::string> DeclaredPrefixes(const pugi::xml_document& document) {
  std::vector<std::string> prefixes;
  std::set<pugi::xml_node> walked;
  for (const pugi::xpath_node& found : document.select_nodes("//rdf:Description")) {
    for (const pugi::xml_attribute& attribute : found.node().attributes()) {
      AddPrefix(attribute.name(), prefixes);
    }
    for (pugi::xml_node above = found.node().parent(); above; above = above.parent()) {
      if (!walked.insert(above).second) break;  // and so were the elements above it
      for (const pugi::xml_attribute& attribute : above.attributes()) {
        if (!IsSyntaxNamespace(attribute.value())) AddPrefix(attribute.name(), prefixes);
      }
    }
  }
  return prefixes;
}

// The text of an element and its descendants: each text piece trimmed, the
// pieces joined by one blank (so the items of a list stay apart). A property
// whose value is a URI holds it in an rdf:resource attribute instead of text,
// so that attribute counts as a piece too. Walks without recursion and spends
// at most `budget` node visits.
std::string NodeText(const pugi::xml_node& node, long& budget) {
  std::string text;
  const auto add = [&text](const char* raw) {
    const std::string piece = Utf16ToUtf8(Trim(Utf8ToUtf16(raw)));
    if (!piece.empty() && !text.empty()) text += ' ';
    text += piece;
  };
  add(node.attribute("rdf:resource").value());
  pugi::xml_node at = node.first_child();
  while (at && budget-- > 0) {
    if (at.type() == pugi::node_pcdata || at.type() == pugi::node_cdata) {
      add(at.value());
    } else if (at.type() == pugi::node_element) {
      add(at.attribute("rdf:resource").value());
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
