#include "ui/UnitIncrementalScan.h"

#include <QEventLoop>
#include <cstdint>
#include <thread>
#include <vector>

#include "session/UnitSession.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitWindowProgress.h"

TIncrementalScan::TIncrementalScan(TSession& session, TFileListModel& model,
                                   TWindowProgress& progress)
    : session_(session), model_(model), progress_(progress) {}

bool TIncrementalScan::Run(bool recursive) {
  TFrmDummyShowPreview& list = session_.list;
  model_.BeginGrowing();
  progress_.SetBeforeEvents([this] { model_.ShowGrownRows(); });
  list.SetSortAfterScan(false);
  const bool ran = session_.Refresh(progress_, recursive);
  list.SetSortAfterScan(true);
  progress_.SetBeforeEvents({});
  model_.EndGrowing();
  if (!ran) return false;
  Sort();
  model_.Refreshed();  // the rows may have moved
  return true;
}

void TIncrementalScan::Sort() {
  TFrmDummyShowPreview& list = session_.list;
  progress_.Started(u"Sorting ...", -1);
  if (list.Count() < kSortInPlaceBelow) {
    list.SortData();
  } else {
    SortOffTheEventLoop();
  }
  progress_.Finished();
}

void TIncrementalScan::SortOffTheEventLoop() {
  TFrmDummyShowPreview& list = session_.list;
  // The guard keeps the refresh, the preview and a header click off the list
  // while the worker reads it; check marks and the selection may change, the
  // sort reads neither.
  list.SetIgnoreInterface(true);
  std::vector<uint32_t> positions;
  QEventLoop loop;
  std::thread worker([&] {
    positions = list.SortedPositions();
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();  // also when the loop was ended early (the application quits)
  (void)list.ApplyOrder(positions);
  list.SetIgnoreInterface(false);
}
