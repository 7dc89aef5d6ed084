#include "ui/UnitQtWindowLauncher.h"

#include <QApplication>
#include <QSocketNotifier>

#include "cli/UnitCommandLineSplit.h"
#include "platform/UnitSingleInstance.h"
#include "platform/UnitText.h"
#include "ui/UnitFrmMain.h"

int TQtWindowLauncher::Run(const TCliServices& services, const std::vector<std::u16string>& args,
                           TInstanceChannel& channel) {
  static int argc = 1;
  static char name[] = "tallowick";
  static char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tallowick"));
  TFrmMain window(services);
  int exitCode = 0;
  if (!window.Start(args, exitCode)) return exitCode;
  window.show();
  // A later copy hands its command line over; the window takes it up.
  std::unique_ptr<QSocketNotifier> handOver;
  if (channel.ListeningDescriptor() >= 0) {
    handOver = std::make_unique<QSocketNotifier>(channel.ListeningDescriptor(),
                                                 QSocketNotifier::Read);
    QObject::connect(handOver.get(), &QSocketNotifier::activated, &window, [&] {
      std::string message;
      if (channel.Receive(message).ok()) window.TakeCommandLine(Utf8ToUtf16(message));
    });
  }
  return QApplication::exec();
}
