#include "config/UnitDesktopIntegration.h"

#include <cerrno>
#include <sstream>
#include <utility>

#include <pugixml.hpp>

#include "config/UnitDesktopExec.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitShellScript.h"
#include "platform/UnitText.h"

namespace {

constexpr std::string_view kFolderComment = "Rename the entries of this folder with Tallowick";
constexpr std::string_view kThunarId = "tallowick-folder";

std::string FolderDesktopEntry(const std::string& exec) {
  return "[Desktop Entry]\nType=Application\nName=Tallowick\nGenericName=Batch Renamer\n"
         "Comment=" + std::string(kFolderComment) + "\nExec=" + exec +
         " %f\nIcon=io.github.tallowick.Tallowick\nTerminal=false\nNoDisplay=true\nMimeType=inode/directory;\n";
}

std::string FilesDesktopEntry(const std::string& exec) {
  return "[Desktop Entry]\nType=Application\nName=Tallowick\nGenericName=Batch Renamer\n"
         "Comment=Rename the selected files with Tallowick\nExec=" + exec +
         " %F\nIcon=io.github.tallowick.Tallowick\nTerminal=false\nNoDisplay=true\n"
         "MimeType=application/octet-stream;inode/directory;\n";
}

std::string DolphinServiceMenu(const std::string& exec) {
  return "[Desktop Entry]\nType=Service\nMimeType=inode/directory;\nActions=tallowick\n"
         "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n\n[Desktop Action tallowick]\n"
         "Name=Tallowick\nIcon=io.github.tallowick.Tallowick\nExec=" + exec + " %f\n";
}

std::string NemoAction(const std::u16string& program) {
  return "[Nemo Action]\nName=Tallowick\nComment=" + std::string(kFolderComment) +
         "\nExec=" + ShellQuote(program) + " %F\nIcon-Name=io.github.tallowick.Tallowick\nSelection=s\n"
         "Extensions=dir;\n";
}

std::string NautilusScript(const std::u16string& program) {
  return std::string(kShellScriptHeader) + "# Opens the selected folder or files in Tallowick.\n"
         "exec " + ShellQuote(program) + " \"$@\"\n";
}

// Drops every action of ours from a Thunar action list.
void RemoveThunarActions(pugi::xml_node actions) {
  for (pugi::xml_node action = actions.child("action"); action;) {
    const pugi::xml_node next = action.next_sibling("action");
    if (std::string_view(action.child_value("unique-id")) == kThunarId) {
      actions.remove_child(action);
    }
    action = next;
  }
}

void AddThunarAction(pugi::xml_node actions, const std::u16string& program) {
  pugi::xml_node action = actions.append_child("action");
  const auto add = [&](const char* name, const std::string& text) {
    action.append_child(name).text().set(text.c_str());
  };
  add("icon", "io.github.tallowick.Tallowick");
  add("name", "Tallowick");
  add("unique-id", std::string(kThunarId));
  add("command", ShellQuote(program) + " %f");
  add("description", std::string(kFolderComment));
  add("patterns", "*");
  action.append_child("directories");
}

}  // namespace

TDesktopIntegration::TDesktopIntegration(TFileSystem& fs, const TEnvironment& env,
                                         std::u16string program)
    : fs_(fs), env_(env), program_(std::move(program)) {}

TStatus TDesktopIntegration::Prepare(std::string& exec, std::u16string& report) {
  report.clear();
  TStatus status = FindPlaces();
  if (status.ok()) status = DesktopExecWord(program_, exec);
  if (!status.ok()) report = status.Message() + u"\n";
  return status;
}

std::u16string TDesktopIntegration::Place(std::u16string_view variable,
                                         std::u16string_view below) const {
  const auto value = env_.Get(variable);
  if (value && !value->empty() && value->front() == u'/') return *value;
  const auto home = env_.Get(u"HOME");
  if (home && !home->empty()) return *home + std::u16string(below);
  return {};
}

TStatus TDesktopIntegration::FindPlaces() {
  dataHome_ = Place(u"XDG_DATA_HOME", u"/.local/share");
  configHome_ = Place(u"XDG_CONFIG_HOME", u"/.config");
  if (dataHome_.empty() || configHome_.empty()) {
    return TStatus::Error(ENOENT, u"$HOME",
                          u"Neither HOME nor the XDG folders are set, so the desktop's folders "
                          u"are unknown");
  }
  if (program_.empty()) {
    return TStatus::Error(ENOENT, u"tallowick", u"The program's own path is unknown");
  }
  return TStatus::Ok();
}

std::vector<TDesktopIntegration::TActionFile> TDesktopIntegration::FolderMenuFiles(
    const std::string& exec) const {
  std::vector<TActionFile> files;
  files.push_back({dataHome_ + u"/applications/tallowick-folder.desktop",
                   FolderDesktopEntry(exec), false});
  const bool dolphin =
      fs_.DirectoryExists(dataHome_ + u"/kio") || fs_.DirectoryExists(dataHome_ + u"/dolphin");
  if (dolphin) {
    files.push_back({dataHome_ + u"/kio/servicemenus/tallowick-folder.desktop",
                     DolphinServiceMenu(exec), true});
  }
  if (fs_.DirectoryExists(dataHome_ + u"/nautilus")) {
    files.push_back({dataHome_ + u"/nautilus/scripts/Tallowick", NautilusScript(program_), true});
  }
  if (fs_.DirectoryExists(dataHome_ + u"/nemo")) {
    files.push_back({dataHome_ + u"/nemo/actions/tallowick-folder.nemo_action",
                     NemoAction(program_), false});
  }
  return files;
}

void TDesktopIntegration::Write(const TActionFile& file, std::u16string& report,
                                TStatus& first) {
  const size_t slash = file.path.rfind(u'/');
  TStatus status = fs_.CreateFolderPath(file.path.substr(0, slash));
  if (status.ok()) status = fs_.ReplaceFileAtomically(file.path, file.content);
  if (status.ok() && file.executable) status = fs_.MakeExecutable(file.path);
  if (status.ok()) {
    report += u"Wrote " + file.path + u"\n";
    return;
  }
  report += u"Could not write " + file.path + u": " + status.reason() + u"\n";
  if (first.ok()) first = status;
}

void TDesktopIntegration::Remove(const std::u16string& path, std::u16string& report,
                                 TStatus& first) {
  if (!fs_.Exists(path)) return;
  const TStatus status = fs_.DeleteFile(path);
  if (status.ok()) {
    report += u"Removed " + path + u"\n";
    return;
  }
  report += u"Could not remove " + path + u": " + status.reason() + u"\n";
  if (first.ok()) first = status;
}

void TDesktopIntegration::SetThunarAction(bool shown, std::u16string& report, TStatus& first) {
  const std::u16string folder = configHome_ + u"/Thunar";
  const std::u16string path = folder + u"/uca.xml";
  if (!fs_.DirectoryExists(folder) || (!shown && !fs_.Exists(path))) return;
  pugi::xml_document doc;
  if (fs_.Exists(path)) {
    std::string bytes;
    TStatus status = fs_.ReadWholeFile(path, bytes);
    const pugi::xml_parse_result parsed =
        status.ok() ? doc.load_buffer(bytes.data(), bytes.size(),
                                      pugi::parse_default | pugi::parse_declaration)
                    : pugi::xml_parse_result();
    if (status.ok() && (!parsed || !doc.child("actions"))) {
      status = TStatus::Error(EINVAL, path, u"It is not a list of actions");
    }
    if (!status.ok()) {
      report += u"Left " + path + u" as it is: " + status.reason() + u"\n";
      if (first.ok()) first = status;
      return;
    }
  } else {
    doc.append_child(pugi::node_declaration).append_attribute("version").set_value("1.0");
    doc.append_child("actions");
  }
  pugi::xml_node actions = doc.child("actions");
  RemoveThunarActions(actions);
  if (shown) AddThunarAction(actions, program_);
  std::ostringstream out;
  doc.save(out, "  ");
  const TStatus status = fs_.ReplaceFileAtomically(path, out.str());
  if (status.ok()) {
    report += (shown ? u"Wrote " : u"Removed the Tallowick action from ") + path + u"\n";
    return;
  }
  report += u"Could not write " + path + u": " + status.reason() + u"\n";
  if (first.ok()) first = status;
}

TStatus TDesktopIntegration::SetFolderMenu(bool shown, std::u16string& report) {
  std::string exec;
  if (const TStatus status = Prepare(exec, report); !status.ok()) return status;
  TStatus first;
  if (shown) {
    for (const TActionFile& file : FolderMenuFiles(exec)) Write(file, report, first);
  } else {
    for (const std::u16string& path :
         {dataHome_ + u"/applications/tallowick-folder.desktop",
          dataHome_ + u"/kio/servicemenus/tallowick-folder.desktop",
          dataHome_ + u"/nautilus/scripts/Tallowick",
          dataHome_ + u"/nemo/actions/tallowick-folder.nemo_action"}) {
      Remove(path, report, first);
    }
  }
  SetThunarAction(shown, report, first);
  if (report.empty()) report = u"Nothing was there to remove.\n";
  return first;
}

bool TDesktopIntegration::IsFolderMenuShown() const {
  const std::u16string dataHome = Place(u"XDG_DATA_HOME", u"/.local/share");
  return !dataHome.empty() && fs_.Exists(dataHome + u"/applications/tallowick-folder.desktop");
}

TStatus TDesktopIntegration::CreateSendTo(std::u16string& report) {
  std::string exec;
  if (const TStatus status = Prepare(exec, report); !status.ok()) return status;
  TStatus first;
  Write({dataHome_ + u"/applications/tallowick-files.desktop", FilesDesktopEntry(exec), false},
        report, first);
  return first;
}
