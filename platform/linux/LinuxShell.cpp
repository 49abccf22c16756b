#include "platform/linux/LinuxShell.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "Lib/uFileUtils.h"
#include "Lib/uStrUtils.h"

extern char **environ;

namespace platform::linux_impl {

namespace {

// Starts a program without a shell, in a session of its own so that it
// outlives a terminal we were started from. The child is waited for by a
// detached thread that reaps that one pid, so no SIGCHLD handler is needed.
// Returns false when the program could not be started.
bool Spawn(const std::vector<std::string> &arguments, const std::string &workingFolder,
           bool searchPath) {
  if (arguments.empty())
    return false;
  std::vector<char *> argv;
  for (const auto &argument : arguments)
    argv.push_back(const_cast<char *>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  // The child gets standard output and error only: none of our sockets or
  // files (a library's socket may lack close-on-exec).
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  if (!workingFolder.empty())
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = 0;
  const int rc = searchPath
                     ? posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ)
                     : posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (rc != 0)
    return false;
  try {
    std::thread([pid] {
      int status = 0;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error &) {
    // No thread to spare: the child is reaped when we exit.
  }
  return true;
}

void XdgOpen(const std::u16string &target) {
  std::string argument = Utf16ToUtf8(target);
  // xdg-open would read a leading "-" as one of its options.
  if (!argument.empty() && argument[0] == '-')
    argument = "./" + argument;
  Spawn({"xdg-open", argument}, std::string(), true);
}

[[noreturn]] void Fail(const std::string &what, const std::u16string &path) {
  throw std::runtime_error(what + " \"" + Utf16ToUtf8(path) + "\"");
}

// The escapes every string value of a desktop entry may carry.
std::string UnescapeValue(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (value[++i]) {
    case 's':
      out += ' ';
      break;
    case 'n':
      out += '\n';
      break;
    case 't':
      out += '\t';
      break;
    case 'r':
      out += '\r';
      break;
    case '\\':
      out += '\\';
      break;
    default:
      out += '\\';
      out += value[i];
    }
  }
  return out;
}

// One argument of Exec with its field codes removed; nullopt when the
// argument was nothing but a field code (it then vanishes).
std::optional<std::string> ExpandFieldCodes(const std::string &argument) {
  std::string out;
  bool hadCode = false;
  for (size_t i = 0; i < argument.size(); ++i) {
    if (argument[i] != '%' || i + 1 == argument.size()) {
      out += argument[i];
    } else if (argument[++i] == '%') {
      out += '%';
    } else {
      hadCode = true;
    }
  }
  if (hadCode && out.empty())
    return std::nullopt;
  return out;
}

// Splits Exec into arguments: blanks separate, double quotes group, and
// inside quotes a backslash escapes " ` $ and itself.
std::optional<std::vector<std::string>> SplitExec(const std::string &exec) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false, quoted = false;
  for (size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < exec.size() &&
                 std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
        current += exec[++i];
      } else {
        current += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      if (inArgument)
        arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else if (c == '"') {
      quoted = inArgument = true;
    } else if (c == '\\' && i + 1 < exec.size()) {
      current += exec[++i];
      inArgument = true;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (quoted)
    return std::nullopt;
  if (inArgument)
    arguments.push_back(std::move(current));
  std::vector<std::string> expanded;
  for (const auto &argument : arguments)
    if (auto value = ExpandFieldCodes(argument))
      expanded.push_back(std::move(*value));
  return expanded;
}

} // namespace

TDesktopCommand ReadDesktopEntry(const std::u16string &path) {
  std::string bytes;
  try {
    bytes = ReadFileBytes(path);
  } catch (const std::exception &) {
    Fail("Cannot read the launcher", path);
  }
  std::string exec, workingFolder;
  bool inEntry = false, hasExec = false;
  for (const auto &line16 : SplitLines(DecodeText(bytes))) {
    const std::string line = Utf16ToUtf8(Trim(line16));
    if (line.empty() || line[0] == '#')
      continue;
    if (line[0] == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    const size_t eq = line.find('=');
    if (!inEntry || eq == std::string::npos)
      continue;
    const std::string key = Utf16ToUtf8(Trim(Utf8ToUtf16(line.substr(0, eq))));
    const std::string value = Utf16ToUtf8(Trim(Utf8ToUtf16(line.substr(eq + 1))));
    if (key == "Exec" && !hasExec) {
      exec = UnescapeValue(value);
      hasExec = true;
    } else if (key == "Path" && workingFolder.empty()) {
      workingFolder = UnescapeValue(value);
    }
  }
  const auto arguments = SplitExec(exec);
  if (!arguments || arguments->empty())
    Fail("The launcher names no program to start:", path);
  return TDesktopCommand{*arguments, workingFolder};
}

void TLinuxShell::OpenURL(const std::u16string &address) { XdgOpen(address); }

void TLinuxShell::RunFile(const std::u16string &path) {
  const std::string file = Utf16ToUtf8(path);
  struct stat st {};
  if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(file.c_str(), X_OK) == 0)
    Spawn({file}, std::string(), false);
  else
    XdgOpen(path);
}

void TLinuxShell::RunShortcut(const std::u16string &path) {
  const auto command = ReadDesktopEntry(path);
  Spawn(command.Arguments, command.WorkingFolder, true);
}

} // namespace platform::linux_impl
