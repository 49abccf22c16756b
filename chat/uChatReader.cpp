#include "chat/uChatReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "Lib/uFileUtils.h"
#include "Lib/uStrUtils.h"
#include "chat/uChatFilter.h"
#include "chat/uNameLists.h"
#include "chat/uSecondLife.h"
#include "platform/Locale.h"
#include "platform/Platform.h"
#include "speech/uSpeech.h"

namespace {

[[noreturn]] void Fail(const std::u16string &fileName, int err) {
  throw std::runtime_error("Cannot read chat file \"" + Utf16ToUtf8(fileName) +
                           "\": " + std::strerror(err));
}

// The bytes [position, end) of the file, end -1 meaning its current end.
std::string ReadRange(const std::u16string &fileName, std::int64_t position, std::int64_t end) {
  const int fd = open(ToPath(fileName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    Fail(fileName, errno);
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    const int err = errno;
    close(fd);
    Fail(fileName, err);
  }
  std::int64_t stop = st.st_size;
  if (end >= 0)
    stop = std::min<std::int64_t>(stop, end);
  std::string bytes;
  if (position < 0)
    position = 0;
  if (stop > position)
    bytes.resize(static_cast<size_t>(stop - position));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pread(fd, bytes.data() + done, bytes.size() - done,
                            static_cast<off_t>(position + static_cast<std::int64_t>(done)));
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      const int err = errno;
      close(fd);
      Fail(fileName, err);
    }
    if (n == 0) // the file became shorter while we read
      break;
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  close(fd);
  return bytes;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// A byte-order mark counts only at the read position: text appended later to
// a UTF-16 file is read in the ANSI code page, as the viewer never writes one.
std::u16string Decode(std::string_view bytes, std::int32_t encodingIndex) {
  constexpr std::string_view utf8Bom = "\xEF\xBB\xBF", utf16Le = "\xFF\xFE", utf16Be = "\xFE\xFF";
  if (encodingIndex == 0)
    return Utf8ToUtf16(StartsWith(bytes, utf8Bom) ? bytes.substr(3) : bytes);
  if (encodingIndex != 1)
    return {};
  if (StartsWith(bytes, utf8Bom))
    return Utf8ToUtf16(bytes.substr(3));
  if (StartsWith(bytes, utf16Le))
    return DecodeUtf16(bytes.substr(2), false);
  if (StartsWith(bytes, utf16Be))
    return DecodeUtf16(bytes.substr(2), true);
  return platform::Locale().FromAnsi(bytes);
}

} // namespace

std::u16string ReadAppendedText(const std::u16string &fileName, std::int64_t position,
                                std::int32_t encodingIndex, std::int32_t filterMode,
                                const std::u16string &pattern, std::int64_t end) {
  if (IsFileBlocked(LowerAscii(Trim(FromPath(ToPath(fileName).stem())))))
    return {};
  const auto lines = SplitLines(Decode(ReadRange(fileName, position, end), encodingIndex));
  if (lines.empty())
    return {};
  switch (filterMode) {
  case 0:
    return FilterTimeStampLines(lines);
  case 1:
    return FilterSecondLifeLog(lines, SecondLifeLogOptions);
  default:
    return FilterCustomRegEx(lines, pattern);
  }
}

std::u16string PrepareChatReading(std::int32_t device, std::int32_t volume, std::int32_t rate,
                                  std::int32_t viewer, const std::u16string &avatar) {
  LoadUserLists();
  LoadFileList();
  const auto folder = ViewerFolders[static_cast<size_t>(std::clamp(viewer, 0, 2))];
  SecondLifeLogOptions.UseDisplayNames = ReadUseDisplayNames(folder);
  auto text = CheckListsMessage(avatar);
  if (!text.empty())
    text = SpeakText(device, volume, rate, text);
  return text;
}
