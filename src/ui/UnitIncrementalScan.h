// A refresh of the file list that keeps the window responsive however large
// the folder: rows are shown while the folder is read (the model is told of
// the appended rows at every turn of the event loop the scan lets through),
// and the final sort of a large list works out the order on a worker thread,
// over the unchanged list, while the event loop keeps turning; the order is
// then applied in one short step. The list holds the same entries in the
// same order as after TSession::Refresh.
#pragma once

class TFileListModel;
class TSession;
class TWindowProgress;

class TIncrementalScan {
 public:
  // Lists of fewer rows are sorted in place: it takes no longer than a turn.
  static constexpr int kSortInPlaceBelow = 20000;

  // All three must outlive the scan.
  TIncrementalScan(TSession& session, TFileListModel& model, TWindowProgress& progress);

  // As TSession::Refresh: false, changing nothing, while a refresh or a
  // preview runs. The model shows every row when it returns.
  bool Run(bool recursive);

 private:
  void Sort();
  void SortOffTheEventLoop();

  TSession& session_;
  TFileListModel& model_;
  TWindowProgress& progress_;
};
