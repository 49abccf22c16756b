#pragma once

#include "platform/ChangeNotification.h"

namespace platform::linux_impl {

// Change notification on inotify: one inotify instance per watched folder.
class TLinuxChangeNotifier final : public IChangeNotifier {
public:
  std::unique_ptr<IChangeNotification> Watch(const std::u16string &folder,
                                             std::u16string &error) override;
};

} // namespace platform::linux_impl
