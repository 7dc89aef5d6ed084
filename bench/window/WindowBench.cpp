// Opens the real main window offscreen on a folder, previews a script over
// it and prints, as one line of key=value pairs: the seconds to the first
// rows shown, the seconds to a complete preview, the longest stall of the
// event loop during each, the number of rows and the peak resident memory.
//   bench_window FOLDER SCRIPT   (QT_QPA_PLATFORM=offscreen)
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "cli/UnitCliServices.h"
#include "cli/UnitStdOutput.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitClock.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitFrmMain.h"

namespace {

constexpr int kTickMs = 5;

// A timer that measures its own lateness: the longest gap between two of its
// ticks beyond the interval is the longest time the event loop was blocked.
class TStallMeter : public QObject {
 public:
  explicit TStallMeter(std::function<void()> onTick) : onTick_(std::move(onTick)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
      Record();
      onTick_();
    });
  }
  void Start() {
    worst_ = 0;
    since_.start();
    timer_.start();
  }
  // Counts the time since the last tick too: a phase may end blocked.
  double Stop() {
    Record();
    timer_.stop();
    return static_cast<double>(worst_) / 1e9;
  }

 private:
  void Record() {
    worst_ = std::max<qint64>(worst_, since_.nsecsElapsed() - kTickMs * 1000000LL);
    since_.restart();
  }
  QTimer timer_;
  QElapsedTimer since_;
  qint64 worst_ = 0;
  std::function<void()> onTick_;
};

long PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_window FOLDER SCRIPT\n");
    return 2;
  }
  const std::u16string folder = Utf8ToUtf16(argv[1]);
  const std::u16string script = Utf8ToUtf16(argv[2]);
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  const std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TSystemClock clock;
  TProcessEnvironment env;
  TFileTagReader tags(*fs, u"");
  TStdOutput output;
  TFrmMain window({*fs, clock, env, tags, output, nullptr});
  int exitCode = 0;
  if (!window.Start({}, exitCode)) return exitCode == 0 ? 1 : exitCode;
  window.resize(1200, 800);
  window.show();
  QApplication::processEvents();
  const long baseKib = PeakKib();

  // The first rows are shown once the model hands the view rows of the new
  // folder: by a reset or by an insertion, whichever the window uses.
  TFileListModel& model = window.ListModel();
  QElapsedTimer clockSince;
  double firstRows = -1;
  bool opening = false;
  auto noteFirstRows = [&] {
    if (opening && firstRows < 0 && model.rowCount() > 0) {
      firstRows = static_cast<double>(clockSince.nsecsElapsed()) / 1e9;
    }
  };
  QObject::connect(&model, &QAbstractItemModel::modelReset, noteFirstRows);
  QObject::connect(&model, &QAbstractItemModel::rowsInserted, noteFirstRows);
  TStallMeter meter([] {});
  double scanStall = 0;
  double previewSeconds = 0;
  double previewStall = 0;
  bool previewDone = false;

  QTimer::singleShot(0, [&] {
    meter.Start();
    clockSince.start();
    opening = true;
    window.OpenFolder(folder);
    // The window may fill its list after OpenFolder returns: wait for it.
    while (firstRows < 0 && clockSince.elapsed() < 600000) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    scanStall = meter.Stop();
    window.LoadScript(script);
    meter.Start();
    clockSince.start();
    window.Preview();
    while (!previewDone && clockSince.elapsed() < 600000) {
      previewDone = !window.StatusPanel(2).text().startsWith(QStringLiteral("Generating"));
      if (!previewDone) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    previewSeconds = static_cast<double>(clockSince.nsecsElapsed()) / 1e9;
    previewStall = meter.Stop();
    QApplication::quit();
  });
  QApplication::exec();
  std::printf("rows=%d first_rows_s=%.3f scan_stall_ms=%.1f preview_s=%.3f preview_stall_ms=%.1f "
              "base_kib=%ld peak_kib=%ld\n",
              model.rowCount(), firstRows, scanStall * 1e3, previewSeconds,
              previewStall * 1e3, baseKib, PeakKib());
  return previewDone ? 0 : 1;
}
