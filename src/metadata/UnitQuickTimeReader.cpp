#include "metadata/UnitQuickTimeReader.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "metadata/UnitByteSource.h"
#include "metadata/UnitBytes.h"
#include "metadata/UnitTagText.h"
#include "metadata/UnitVideoProperties.h"
#include "platform/UnitText.h"

namespace {

constexpr int kMaxDepth = 16;
constexpr int kMaxAtoms = 4096;
constexpr uint64_t kMaxItemSize = 65536;  // text items larger than this are skipped

constexpr std::array<std::string_view, 16> kContainers = {
    "moov", "trak", "clip", "matt", "edts", "tref", "mdia", "minf",
    "dinf", "udta", "cmov", "rmra", "rmda", "gmhd", "stbl", "meta"};
constexpr std::array<std::string_view, 15> kTopLevel = {
    "ftyp", "pdin", "moov", "moof", "mfra", "free", "skip", "junk",
    "wide", "pnot", "pict", "meta", "meco", "uuid", "mdat"};

template <size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view type) {
  return std::find(names.begin(), names.end(), type) != names.end();
}

enum class TParent { Other, Udta, Ilst };

struct TAtom {
  std::string type;
  uint64_t payload = 0;  // file position of the payload
  uint64_t end = 0;      // file position after the atom
};

class TAtomWalk {
 public:
  TAtomWalk(TByteSource& source, TVideoProperties& video) : source_(source), video_(video) {}

  // Walks the atoms in [from, to). At the top level the walk ends at a type
  // that a QuickTime file does not hold there, so other files yield nothing.
  void Walk(uint64_t from, uint64_t to, int depth, TParent parent) {
    if (depth > kMaxDepth) return;
    for (uint64_t position = from; position + 8 <= to;) {
      TAtom atom;
      if (++atoms_ > kMaxAtoms || !ReadAtomHeader(position, to, atom)) return;
      if (depth == 0 && !OneOf(kTopLevel, atom.type)) return;
      Visit(atom, depth, parent);
      position = atom.end;
    }
  }

 private:
  // Size 1 means a 64-bit size follows the type; size 0 means "to the end of
  // the enclosing atom". An atom larger than its container is cut to it.
  bool ReadAtomHeader(uint64_t position, uint64_t to, TAtom& atom) {
    std::string_view head;
    if (!source_.View(position, 8, head)) return false;
    uint64_t size = BigEndian32(head, 0);
    atom.type = std::string(head.substr(4, 4));
    uint64_t headerSize = 8;
    if (size == 1) {
      std::string_view large;
      if (!source_.View(position + 8, 8, large)) return false;
      size = BigEndianAt(large, 0, 8);
      headerSize = 16;
    } else if (size == 0) {
      size = to - position;
    }
    if (size < headerSize) return false;
    atom.payload = position + headerSize;
    atom.end = size > to - position ? to : position + size;
    return atom.payload <= atom.end;
  }

  void Visit(const TAtom& atom, int depth, TParent parent) {
    if (atom.type == "meta") {
      Walk(MetaChildren(atom), atom.end, depth + 1, TParent::Other);
    } else if (atom.type == "ilst") {
      Walk(atom.payload, atom.end, depth + 1, TParent::Ilst);
    } else if (OneOf(kContainers, atom.type)) {
      Walk(atom.payload, atom.end, depth + 1,
           atom.type == "udta" ? TParent::Udta : TParent::Other);
    } else if (parent == TParent::Udta) {
      UserDataItem(atom);
    } else if (parent == TParent::Ilst) {
      ListItem(atom);
    } else if (atom.type == "mdhd") {
      MediaHeader(atom);
    } else if (atom.type == "tkhd") {
      TrackHeader(atom);
    }
  }

  // An MP4 "meta" carries a 4-byte version field before its children; a
  // QuickTime one starts with a child ("hdlr") at once.
  uint64_t MetaChildren(const TAtom& atom) {
    std::string_view head;
    if (source_.View(atom.payload, 8, head) && head.substr(4, 4) == "hdlr") return atom.payload;
    return std::min(atom.payload + 4, atom.end);
  }

  bool Payload(const TAtom& atom, std::string_view& out) {
    const uint64_t size = atom.end - atom.payload;
    return size <= kMaxItemSize && source_.View(atom.payload, static_cast<size_t>(size), out);
  }

  // The first bytes of a header atom's payload: `version1Size` of them for
  // version 1, `version0Size` otherwise; false when the atom is shorter.
  bool Header(const TAtom& atom, size_t version0Size, size_t version1Size, std::string_view& out) {
    const uint64_t size = atom.end - atom.payload;
    if (size < 1 || !source_.View(atom.payload, 1, out)) return false;
    const size_t need = ByteAt(out, 0) == 1 ? version1Size : version0Size;
    return size >= need && source_.View(atom.payload, need, out);
  }

  // A text item of "udta": a 16-bit text length and a language code, then
  // the text.
  void UserDataItem(const TAtom& atom) {
    std::string_view payload;
    if (!Payload(atom, payload) || payload.size() < 4) return;
    std::string_view text = payload.substr(4);
    const size_t length = BigEndian16(payload, 0);
    if (static_cast<uint8_t>(atom.type[0]) == 0xA9 && length <= text.size()) {
      text = text.substr(0, length);
    }
    Store(atom.type, text);
  }

  // An item of "ilst": its "data" atom holds 8 bytes of type and locale, then
  // the value.
  void ListItem(const TAtom& atom) {
    std::string_view payload;
    if (!Payload(atom, payload)) return;
    for (size_t at = 0; at + 8 <= payload.size();) {
      const uint64_t size = BigEndian32(payload, at);
      if (size < 8 || size > payload.size() - at) return;
      if (payload.substr(at + 4, 4) == "data") {
        if (size >= 16) Store(atom.type, payload.substr(at + 16, static_cast<size_t>(size - 16)));
        return;
      }
      at += static_cast<size_t>(size);
    }
  }

  void Store(std::string type, std::string_view value) {
    if (static_cast<uint8_t>(type[0]) == 0xA9) type[0] = '_';
    video_.texts.Set(u"?v_qt_" + Windows1252ToUtf16(type) + u"?",
                     TagBytesToText(UpToZero(value)));
  }

  void MediaHeader(const TAtom& atom) {
    std::string_view p;
    if (!Header(atom, 20, 32, p)) return;
    const bool version1 = ByteAt(p, 0) == 1;
    const uint64_t timeScale = version1 ? BigEndian32(p, 20) : BigEndian32(p, 12);
    const uint64_t duration = version1 ? BigEndianAt(p, 24, 8) : BigEndian32(p, 16);
    if (timeScale != 0) video_.texts.Set(u"?v_len?", DurationText(duration / timeScale));
  }

  // Width and height of an enabled track, 16.16 fixed point; the last track
  // with both wins.
  void TrackHeader(const TAtom& atom) {
    std::string_view p;
    if (!Header(atom, 84, 96, p)) return;
    const bool version1 = ByteAt(p, 0) == 1;
    const uint32_t flags = static_cast<uint32_t>(BigEndianAt(p, 1, 3));
    if ((flags & 3) == 0) return;
    const size_t at = version1 ? 88 : 76;
    const uint32_t width = BigEndian32(p, at) >> 16, height = BigEndian32(p, at + 4) >> 16;
    if (width == 0 || height == 0) return;
    video_.width = width;
    video_.height = height;
    video_.recognised = true;
  }

  TByteSource& source_;
  TVideoProperties& video_;
  int atoms_ = 0;
};

}  // namespace

void ReadQuickTime(TByteSource& source, TVideoProperties& video) {
  TAtomWalk(source, video).Walk(0, source.Size(), 0, TParent::Other);
}
