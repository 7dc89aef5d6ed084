#include "UnitRacingWriter.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

std::string ContentOf(TFileSystem& fs, const std::string& path) {
  std::string bytes;
  return fs.ReadWholeFile(Utf8ToUtf16(path), bytes).ok() ? bytes : "(unreadable)";
}

void ExpectRacingWriterLosesNothing(TFileSystem& fs, const std::string& folder, int moves) {
  const auto path = [&](const char* kind, int i) {
    return folder + "/" + kind + std::to_string(i);
  };
  // The files moved are empty: a rename over an existing name makes ext4
  // flush the data of what is moved, which would slow every reserved move.
  for (int i = 0; i < moves; ++i) std::ofstream(path("src", i), std::ios::binary);
  std::atomic<int> due{-1};
  std::atomic<bool> done{false};
  std::vector<char> writerMade(static_cast<size_t>(moves), 0);
  // The writer tries each name from the moment its move is announced until
  // it has made it or the next move is announced: it lands before, inside
  // or after the move at random.
  std::thread writer([&] {
    while (!done.load()) {
      const int i = due.load();
      if (i < 0 || writerMade[static_cast<size_t>(i)] != 0) continue;
      const int fd = ::open(path("dst", i).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd < 0) continue;
      writerMade[static_cast<size_t>(i)] = 1;
      EXPECT_EQ(::write(fd, "theirs", 6), 6);
      ::close(fd);
    }
  });
  std::vector<int> codes(static_cast<size_t>(moves), 0);
  for (int i = 0; i < moves; ++i) {
    due.store(i);
    codes[static_cast<size_t>(i)] =
        fs.RenameNoReplace(Utf8ToUtf16(path("src", i)), Utf8ToUtf16(path("dst", i))).code();
  }
  done.store(true);
  writer.join();
  int replaced = 0;
  size_t raced = 0;
  for (int i = 0; i < moves; ++i) {
    const bool theirs = writerMade[static_cast<size_t>(i)] != 0;
    const int code = codes[static_cast<size_t>(i)];
    if (theirs) {
      ++raced;
      if (ContentOf(fs, path("dst", i)) != "theirs") ++replaced;
      EXPECT_EQ(code, EEXIST) << i;
      EXPECT_EQ(ContentOf(fs, path("src", i)), "") << i;
    } else {
      EXPECT_EQ(code, 0) << i;
      EXPECT_EQ(ContentOf(fs, path("dst", i)), "") << i;
    }
  }
  EXPECT_EQ(replaced, 0) << "moves replaced files the writer had made";
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, static_cast<size_t>(moves) + raced) << "an entry appeared or vanished";
}
