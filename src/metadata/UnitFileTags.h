// The metadata readers behind meta-variable expansion: reads the tags of MP3,
// JPEG and video files through the file system and answers each family's
// variables from the list a read filled.
#pragma once

#include <string>
#include <string_view>

#include "metadata/UnitTagReader.h"
#include "platform/UnitFileSystem.h"

// The reads on a file that is already open: what TFileTagReader does after
// opening, and what the fuzz targets feed bytes to. `list` is cleared first.
void ReadVideoFile(const TRandomAccessFile& file, std::u16string_view extension, TTagList& list);
void ReadMp3File(const TRandomAccessFile& file, bool withStream, TTagList& list);
void ReadJpegFile(const TRandomAccessFile& file, TTagList& list);

class TFileTagReader : public TTagReader {
 public:
  // `debugFolder` is the path of the folder "debug" in the current directory:
  // while it exists, every MP3 and JPEG read writes the file's list there as
  // file name + "-log.txt". Empty for no logs. `fs` must outlive the reader.
  explicit TFileTagReader(TFileSystem& fs, std::u16string debugFolder = {});

  TStatus ReadVideo(const std::u16string& path, TTagList& list) override;
  TStatus ReadMp3(const std::u16string& path, bool withStream, TTagList& list) override;
  TStatus ReadJpeg(const std::u16string& path, TTagList& list) override;

  // Video and XMP: the value stored under the variable itself ("?v_len?",
  // "?xmp_dc_title?"), empty when absent. MP3: the value of the MP3_Enum code
  // ("?i_tr?" gives the raw track, "7"). JFIF: "?j_w?", "?j_h?", "?j_b?".
  // EXIF: the value of the code's tag ("?x_dto?"). Unknown MP3, JFIF and
  // EXIF names give ":ERROR:".
  std::u16string Lookup(TTagFamily family, const TTagList& list,
                        std::u16string_view variable) const override;

 private:
  void WriteDebugLog(const std::u16string& path, const TTagList& list);

  TFileSystem& fs_;
  std::u16string debugFolder_;
};
