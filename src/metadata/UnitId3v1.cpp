#include "metadata/UnitId3v1.h"

#include <array>
#include <string>

#include "metadata/UnitByteSource.h"
#include "metadata/UnitTagList.h"
#include "metadata/UnitTagText.h"
#include "platform/UnitText.h"

namespace {

constexpr std::array<std::u16string_view, 148> kGenres = {
    u"Blues", u"Classic Rock", u"Country", u"Dance", u"Disco", u"Funk", u"Grunge", u"Hip-Hop",
    u"Jazz", u"Metal", u"New Age", u"Oldies", u"Other", u"Pop", u"R&B", u"Rap", u"Reggae",
    u"Rock", u"Techno", u"Industrial", u"Alternative", u"Ska", u"Death Metal", u"Pranks",
    u"Soundtrack", u"Euro-Techno", u"Ambient", u"Trip-Hop", u"Vocal", u"Jazz+Funk", u"Fusion",
    u"Trance", u"Classical", u"Instrumental", u"Acid", u"House", u"Game", u"Sound Clip",
    u"Gospel", u"Noise", u"AlternRock", u"Bass", u"Soul", u"Punk", u"Space", u"Meditative",
    u"Instrumental Pop", u"Instrumental Rock", u"Ethnic", u"Gothic", u"Darkwave",
    u"Techno-Industrial", u"Electronic", u"Pop-Folk", u"Eurodance", u"Dream", u"Southern Rock",
    u"Comedy", u"Cult", u"Gangsta", u"Top 40", u"Christian Rap", u"Pop/Funk", u"Jungle",
    u"Native American", u"Cabaret", u"New Wave", u"Psychadelic", u"Rave", u"Showtunes",
    u"Trailer", u"Lo-Fi", u"Tribal", u"Acid Punk", u"Acid Jazz", u"Polka", u"Retro", u"Musical",
    u"Rock & Roll", u"Hard Rock",
    // 80 onwards: the common extensions of the list.
    u"Folk", u"Folk-Rock", u"National Folk", u"Swing", u"Fast Fusion", u"Bebob", u"Latin",
    u"Revival", u"Celtic", u"Bluegrass", u"Avantgarde", u"Gothic Rock", u"Progressive Rock",
    u"Psychedelic Rock", u"Symphonic Rock", u"Slow Rock", u"Big Band", u"Chorus",
    u"Easy Listening", u"Acoustic", u"Humour", u"Speech", u"Chanson", u"Opera", u"Chamber Music",
    u"Sonata", u"Symphony", u"Booty Bass", u"Primus", u"Porn Groove", u"Satire", u"Slow Jam",
    u"Club", u"Tango", u"Samba", u"Folklore", u"Ballad", u"Power Ballad", u"Rhythmic Soul",
    u"Freestyle", u"Duet", u"Punk Rock", u"Drum Solo", u"A capella", u"Euro-House",
    u"Dance Hall", u"Goa", u"Drum & Bass", u"Club-House", u"Hardcore", u"Terror", u"Indie",
    u"BritPop", u"Afro-Punk", u"Polsk Punk", u"Beat", u"Christian Gangsta Rap", u"Heavy Metal",
    u"Black Metal", u"Crossover", u"Contemporary Christian", u"Christian Rock", u"Merengue",
    u"Salsa", u"Trash Metal", u"Anime", u"Jpop", u"Synthpop"};

// A text field: up to its first zero byte, trailing blanks and zeros removed.
std::u16string Field(std::string_view tag, size_t from, size_t length) {
  return TrimTrailingBlanksAndZeros(TagBytesToText(UpToZero(tag.substr(from, length))));
}

}  // namespace

std::u16string_view GenreName(int number) {
  if (number < 0 || number >= static_cast<int>(kGenres.size())) return u"Unknown";
  return kGenres[static_cast<size_t>(number)];
}

void ReadId3v1Tag(TByteSource& source, TTagList& list) {
  std::string_view tag;
  if (source.Size() < 128 || !source.View(source.Size() - 128, 128, tag)) return;
  if (tag.substr(0, 3) != "TAG") return;
  list.Set(u"Title", Field(tag, 3, 30));
  list.Set(u"Artist", Field(tag, 33, 30));
  list.Set(u"Album", Field(tag, 63, 30));
  list.Set(u"Year", Field(tag, 93, 4));
  list.Set(u"Comment", Field(tag, 97, 30));
  // ID3v1.1 keeps the track in the comment's last byte after a zero byte; in
  // a version 1.0 tag that byte is part of the comment, not a track.
  const uint8_t track = static_cast<uint8_t>(tag[126]);
  if (tag[125] == '\0' && track != 0 && track != 32) list.Set(u"Track", IntToStr(track));
  list.Set(u"Genre", GenreName(static_cast<uint8_t>(tag[127])));
}
